// The Japanese language library.
constexpr char16_t kFindTitle[] = u"検索";
constexpr char16_t kReplaceTitle[] = u"置換";
constexpr char16_t kAllColumns[] = u"すべての列";
constexpr char16_t kNoMoreMatches[] = u"指定されたセル内に、検索する文字列はこれ以上見つかりません。";
constexpr char16_t kCannotPaste[] = u"貼り付けできません。";
constexpr char16_t kPasteShapeDiffers[] =
    u"クリップボードのデータと指定された範囲のサイズおよび形が一致しません。\r\n"
    u"貼り付けてもよろしいですか?";
constexpr char16_t kPasteFormatDiffers[] =
    u"コピー範囲と貼り付け範囲の形式が異なるため、データを貼り付けできません。\r\n"
    u"データの形式を確認し、適切な範囲を選択してから貼り付けてください。";
constexpr char16_t kPasteInvalidCharacters[] =
    u"クリップボードの文字列に無効な文字が含まれています。\r\n\r\n"
    u"貼り付けても、セルの文字列は変更されません。\r\n"
    u"貼り付けてもよろしいですか?";
constexpr char16_t kReplaceNeedsOneColumn[] =
    u"列選択コンボボックスで 1 つの列が選択されているため、\r\n"
    u"複数の列にわたってセルの文字列を置換できません。\r\n"
    u"1 つの列を選択して続行しますか?";
constexpr char16_t kFindNeedsOneColumn[] =
    u"列選択コンボボックスで 1 つの列が選択されているため、\r\n"
    u"複数の列にわたってセルの文字列を検索できません。\r\n"
    u"1 つの列を選択して続行しますか?";

constexpr char16_t kMenuUndo[] = u"元に戻す(&U)\tCtrl+Z";
constexpr char16_t kMenuCut[] = u"切り取り(&T)\tCtrl+X";
constexpr char16_t kMenuCopy[] = u"コピー(&C)\tCtrl+C";
constexpr char16_t kMenuPaste[] = u"貼り付け(&P)\tCtrl+V";
constexpr char16_t kMenuFind[] = u"検索(&F)...\tCtrl+F";
constexpr char16_t kMenuReplace[] = u"置換(&E)...\tCtrl+H";

constexpr char16_t kFindWhatLabel[] = u"検索する文字列(&N):";
constexpr char16_t kReplaceWithLabel[] = u"置換後の文字列(&E):";
constexpr char16_t kColumnLabel[] = u"列(&L):";
constexpr char16_t kMatchCaseCheck[] = u"大文字と小文字を区別する(&C)";
constexpr char16_t kEntireCellsCheck[] = u"セル全体が一致するものだけを検索する(&O)";
constexpr char16_t kFindNextButton[] = u"次を検索(&F)";
constexpr char16_t kCloseButton[] = u"閉じる";
constexpr char16_t kReplaceButton[] = u"置換(&R)";
constexpr char16_t kReplaceAllButton[] = u"すべて置換(&A)";

// The tips of a control bar's system buttons: close, and float (undock).
constexpr char16_t kBarFloatTip[] = u"フローティング";

#include "resources/resource_set.inc"

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = kResourceTable;
