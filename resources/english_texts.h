// The English texts of the view's resources: the built-in resources and the
// English language library use the same words.
#pragma once

constexpr char16_t kFindTitle[] = u"Find";
constexpr char16_t kReplaceTitle[] = u"Replace";
constexpr char16_t kAllColumns[] = u"All columns";
constexpr char16_t kNoMoreMatches[] = u"Can't find you're searching for, anymore in specified cells.";
constexpr char16_t kCannotPaste[] = u"Can't be pasted.";
constexpr char16_t kPasteShapeDiffers[] =
    u"The clipboard's data and specified area aren't same size and shape.\r\n"
    u"Are you sure that you want to paste it?";
constexpr char16_t kPasteFormatDiffers[] =
    u"The data can't be pasted because the copy area and the paste area aren't the same format.\r\n"
    u"To paste data, please check data format and paste them after selecting proper area.";
constexpr char16_t kPasteInvalidCharacters[] =
    u"There are some invalid characters in clipboard string.\r\n\r\n"
    u"If you paste it, cell text won't be changed.\r\n"
    u"Are you sure that you want to paste it?";
constexpr char16_t kReplaceNeedsOneColumn[] =
    u"Can't replace cell text on multi-columns\r\n"
    u"because one column is selected in Column-Selecting-ComboBox.\r\n"
    u"Do you want to continue after selecting one column?";
constexpr char16_t kFindNeedsOneColumn[] =
    u"Can't find cell text on multi-columns\r\n"
    u"because one column is selected in Column-Selecting-ComboBox.\r\n"
    u"Do you want to contiue after selecting one column?";

constexpr char16_t kMenuUndo[] = u"&Undo\tCtrl+Z";
constexpr char16_t kMenuCut[] = u"Cu&t\tCtrl+X";
constexpr char16_t kMenuCopy[] = u"&Copy\tCtrl+C";
constexpr char16_t kMenuPaste[] = u"&Paste\tCtrl+V";
constexpr char16_t kMenuFind[] = u"&Find...\tCtrl+F";
constexpr char16_t kMenuReplace[] = u"R&eplace...\tCtrl+H";

constexpr char16_t kFindWhatLabel[] = u"Fi&nd what :";
constexpr char16_t kReplaceWithLabel[] = u"R&eplace with :";
constexpr char16_t kColumnLabel[] = u"Co&lumn : ";
constexpr char16_t kMatchCaseCheck[] = u"Match &Case";
constexpr char16_t kEntireCellsCheck[] = u"Find entire cells &only";
constexpr char16_t kFindNextButton[] = u"&Find Next";
constexpr char16_t kCloseButton[] = u"Close";
constexpr char16_t kReplaceButton[] = u"&Replace";
constexpr char16_t kReplaceAllButton[] = u"Replace &All";

// The tips of a control bar's system buttons: close, and float (undock).
constexpr char16_t kBarFloatTip[] = u"Float";
