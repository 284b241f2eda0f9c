// The Korean language library.
constexpr char16_t kFindTitle[] = u"찾기";
constexpr char16_t kReplaceTitle[] = u"바꾸기";
constexpr char16_t kAllColumns[] = u"모든 열";
constexpr char16_t kNoMoreMatches[] = u"지정한 셀에서 찾는 내용을 더 이상 찾을 수 없습니다.";
constexpr char16_t kCannotPaste[] = u"붙여 넣을 수 없습니다.";
constexpr char16_t kPasteShapeDiffers[] =
    u"클립보드의 데이터와 지정한 영역의 크기 및 모양이 같지 않습니다.\r\n"
    u"붙여 넣으시겠습니까?";
constexpr char16_t kPasteFormatDiffers[] =
    u"복사 영역과 붙여 넣을 영역의 형식이 같지 않아 데이터를 붙여 넣을 수 없습니다.\r\n"
    u"데이터 형식을 확인하고 알맞은 영역을 선택한 후 붙여 넣으십시오.";
constexpr char16_t kPasteInvalidCharacters[] =
    u"클립보드 문자열에 잘못된 문자가 있습니다.\r\n\r\n"
    u"붙여 넣어도 셀 텍스트는 바뀌지 않습니다.\r\n"
    u"붙여 넣으시겠습니까?";
constexpr char16_t kReplaceNeedsOneColumn[] =
    u"열 선택 콤보 상자에서 열 하나가 선택되어 있으므로\r\n"
    u"여러 열의 셀 텍스트를 바꿀 수 없습니다.\r\n"
    u"열 하나를 선택한 후 계속하시겠습니까?";
constexpr char16_t kFindNeedsOneColumn[] =
    u"열 선택 콤보 상자에서 열 하나가 선택되어 있으므로\r\n"
    u"여러 열의 셀 텍스트를 찾을 수 없습니다.\r\n"
    u"열 하나를 선택한 후 계속하시겠습니까?";

constexpr char16_t kMenuUndo[] = u"실행 취소(&U)\tCtrl+Z";
constexpr char16_t kMenuCut[] = u"잘라내기(&T)\tCtrl+X";
constexpr char16_t kMenuCopy[] = u"복사(&C)\tCtrl+C";
constexpr char16_t kMenuPaste[] = u"붙여넣기(&P)\tCtrl+V";
constexpr char16_t kMenuFind[] = u"찾기(&F)...\tCtrl+F";
constexpr char16_t kMenuReplace[] = u"바꾸기(&E)...\tCtrl+H";

constexpr char16_t kFindWhatLabel[] = u"찾을 내용(&N):";
constexpr char16_t kReplaceWithLabel[] = u"바꿀 내용(&E):";
constexpr char16_t kColumnLabel[] = u"열(&L):";
constexpr char16_t kMatchCaseCheck[] = u"대/소문자 구분(&C)";
constexpr char16_t kEntireCellsCheck[] = u"셀 내용 전체 일치(&O)";
constexpr char16_t kFindNextButton[] = u"다음 찾기(&F)";
constexpr char16_t kCloseButton[] = u"닫기";
constexpr char16_t kReplaceButton[] = u"바꾸기(&R)";
constexpr char16_t kReplaceAllButton[] = u"모두 바꾸기(&A)";

// The tips of a control bar's system buttons: close, and float (undock).
constexpr char16_t kBarFloatTip[] = u"플로팅";

#include "resources/resource_set.inc"

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = kResourceTable;
