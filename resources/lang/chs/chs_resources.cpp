// The simplified Chinese language library.
constexpr char16_t kFindTitle[] = u"查找";
constexpr char16_t kReplaceTitle[] = u"替换";
constexpr char16_t kAllColumns[] = u"所有列";
constexpr char16_t kNoMoreMatches[] = u"在指定的单元格中找不到更多要查找的内容。";
constexpr char16_t kCannotPaste[] = u"无法粘贴。";
constexpr char16_t kPasteShapeDiffers[] =
    u"剪贴板中的数据与指定区域的大小和形状不同。\r\n"
    u"确实要粘贴吗?";
constexpr char16_t kPasteFormatDiffers[] =
    u"复制区域与粘贴区域的格式不同，无法粘贴数据。\r\n"
    u"请检查数据格式，选择适当的区域后再粘贴。";
constexpr char16_t kPasteInvalidCharacters[] =
    u"剪贴板字符串中含有无效字符。\r\n\r\n"
    u"即使粘贴，单元格文本也不会更改。\r\n"
    u"确实要粘贴吗?";
constexpr char16_t kReplaceNeedsOneColumn[] =
    u"由于在列选择组合框中选择了一列，\r\n"
    u"无法替换多列中的单元格文本。\r\n"
    u"是否选择一列后继续?";
constexpr char16_t kFindNeedsOneColumn[] =
    u"由于在列选择组合框中选择了一列，\r\n"
    u"无法查找多列中的单元格文本。\r\n"
    u"是否选择一列后继续?";

constexpr char16_t kMenuUndo[] = u"撤消(&U)\tCtrl+Z";
constexpr char16_t kMenuCut[] = u"剪切(&T)\tCtrl+X";
constexpr char16_t kMenuCopy[] = u"复制(&C)\tCtrl+C";
constexpr char16_t kMenuPaste[] = u"粘贴(&P)\tCtrl+V";
constexpr char16_t kMenuFind[] = u"查找(&F)...\tCtrl+F";
constexpr char16_t kMenuReplace[] = u"替换(&E)...\tCtrl+H";

constexpr char16_t kFindWhatLabel[] = u"查找内容(&N):";
constexpr char16_t kReplaceWithLabel[] = u"替换为(&E):";
constexpr char16_t kColumnLabel[] = u"列(&L):";
constexpr char16_t kMatchCaseCheck[] = u"区分大小写(&C)";
constexpr char16_t kEntireCellsCheck[] = u"单元格完全匹配(&O)";
constexpr char16_t kFindNextButton[] = u"查找下一个(&F)";
constexpr char16_t kCloseButton[] = u"关闭";
constexpr char16_t kReplaceButton[] = u"替换(&R)";
constexpr char16_t kReplaceAllButton[] = u"全部替换(&A)";

// The tips of a control bar's system buttons: close, and float (undock).
constexpr char16_t kBarFloatTip[] = u"浮动";

#include "resources/resource_set.inc"

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = kResourceTable;
