// The traditional Chinese language library.
constexpr char16_t kFindTitle[] = u"尋找";
constexpr char16_t kReplaceTitle[] = u"取代";
constexpr char16_t kAllColumns[] = u"所有欄";
constexpr char16_t kNoMoreMatches[] = u"在指定的儲存格中找不到更多要尋找的內容。";
constexpr char16_t kCannotPaste[] = u"無法貼上。";
constexpr char16_t kPasteShapeDiffers[] =
    u"剪貼簿中的資料與指定範圍的大小和形狀不同。\r\n"
    u"確定要貼上嗎?";
constexpr char16_t kPasteFormatDiffers[] =
    u"複製範圍與貼上範圍的格式不同，無法貼上資料。\r\n"
    u"請檢查資料格式，選取適當的範圍後再貼上。";
constexpr char16_t kPasteInvalidCharacters[] =
    u"剪貼簿字串中含有無效的字元。\r\n\r\n"
    u"即使貼上，儲存格文字也不會變更。\r\n"
    u"確定要貼上嗎?";
constexpr char16_t kReplaceNeedsOneColumn[] =
    u"由於在欄選擇下拉式方塊中選取了一欄，\r\n"
    u"無法取代多欄中的儲存格文字。\r\n"
    u"是否選取一欄後繼續?";
constexpr char16_t kFindNeedsOneColumn[] =
    u"由於在欄選擇下拉式方塊中選取了一欄，\r\n"
    u"無法尋找多欄中的儲存格文字。\r\n"
    u"是否選取一欄後繼續?";

constexpr char16_t kMenuUndo[] = u"復原(&U)\tCtrl+Z";
constexpr char16_t kMenuCut[] = u"剪下(&T)\tCtrl+X";
constexpr char16_t kMenuCopy[] = u"複製(&C)\tCtrl+C";
constexpr char16_t kMenuPaste[] = u"貼上(&P)\tCtrl+V";
constexpr char16_t kMenuFind[] = u"尋找(&F)...\tCtrl+F";
constexpr char16_t kMenuReplace[] = u"取代(&E)...\tCtrl+H";

constexpr char16_t kFindWhatLabel[] = u"尋找目標(&N):";
constexpr char16_t kReplaceWithLabel[] = u"取代為(&E):";
constexpr char16_t kColumnLabel[] = u"欄(&L):";
constexpr char16_t kMatchCaseCheck[] = u"大小寫須相符(&C)";
constexpr char16_t kEntireCellsCheck[] = u"儲存格內容須完全相符(&O)";
constexpr char16_t kFindNextButton[] = u"找下一個(&F)";
constexpr char16_t kCloseButton[] = u"關閉";
constexpr char16_t kReplaceButton[] = u"取代(&R)";
constexpr char16_t kReplaceAllButton[] = u"全部取代(&A)";

// The tips of a control bar's system buttons: close, and float (undock).
constexpr char16_t kBarFloatTip[] = u"浮動";

#include "resources/resource_set.inc"

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = kResourceTable;
