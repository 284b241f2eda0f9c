// The framework's own texts in its five user-interface languages (see
// dialogs_internal.h). The mnemonic follows the label in parentheses where the
// language writes its labels without Latin letters, as its programs do.
#include "framework/core/locale.h"
#include "framework/dialogs/dialogs_internal.h"

namespace tq3::fw::dialogs {
namespace {

constexpr SystemTexts kEnglish = {
    u"OK", u"Cancel", u"&Yes", u"&No", u"&Retry", u"&Abort", u"&Ignore", u"&Try Again", u"&Continue", u"Error",
    u"Font", u"&Font:", u"Font st&yle:", u"&Size:", u"Sample", u"AaBbYyZz", u"Sc&ript:",
    {u"Regular", u"Italic", u"Bold", u"Bold Italic"},
    u"There is no font with that name.\nChoose a font from the list of fonts.", u"Size must be a number.",
    u"Size must be between %1 and %2 points."};

constexpr SystemTexts kJapanese = {
    u"OK", u"キャンセル", u"はい(&Y)", u"いいえ(&N)", u"再試行(&R)", u"中止(&A)", u"無視(&I)", u"再実行(&T)",
    u"続行(&C)", u"エラー",
    u"フォント", u"フォント名(&F):", u"スタイル(&Y):", u"サイズ(&S):", u"サンプル", u"Aa あア亜", u"文字セット(&R):",
    {u"標準", u"斜体", u"太字", u"太字 斜体"},
    u"その名前のフォントはありません。\nフォントの一覧から選んでください。", u"サイズは数値で指定してください。",
    u"サイズは %1 から %2 ポイントの間で指定してください。"};

constexpr SystemTexts kSimplifiedChinese = {
    u"确定", u"取消", u"是(&Y)", u"否(&N)", u"重试(&R)", u"中止(&A)", u"忽略(&I)", u"再试一次(&T)", u"继续(&C)",
    u"错误",
    u"字体", u"字体(&F):", u"字形(&Y):", u"大小(&S):", u"示例", u"AaBb 中文", u"字符集(&R):",
    {u"常规", u"倾斜", u"粗体", u"粗偏斜体"},
    u"没有该名称的字体。\n请从字体列表中选择一种字体。", u"大小必须是数字。", u"大小必须介于 %1 和 %2 磅之间。"};

constexpr SystemTexts kTraditionalChinese = {
    u"確定", u"取消", u"是(&Y)", u"否(&N)", u"重試(&R)", u"中止(&A)", u"略過(&I)", u"再試一次(&T)", u"繼續(&C)",
    u"錯誤",
    u"字型", u"字型(&F):", u"字型樣式(&Y):", u"大小(&S):", u"範例", u"AaBb 中文", u"字集(&R):",
    {u"標準", u"斜體", u"粗體", u"粗斜體"},
    u"沒有這個名稱的字型。\n請從字型清單中選擇一種字型。", u"大小必須是數字。", u"大小必須介於 %1 到 %2 點之間。"};

constexpr SystemTexts kKorean = {
    u"확인", u"취소", u"예(&Y)", u"아니요(&N)", u"다시 시도(&R)", u"중단(&A)", u"무시(&I)", u"다시 시도(&T)",
    u"계속(&C)", u"오류",
    u"글꼴", u"글꼴(&F):", u"글꼴 스타일(&Y):", u"크기(&S):", u"보기", u"AaBb 가나다", u"스크립트(&R):",
    {u"보통", u"기울임꼴", u"굵게", u"굵은 기울임꼴"},
    u"이 이름의 글꼴이 없습니다.\n글꼴 목록에서 글꼴을 선택하십시오.", u"크기는 숫자여야 합니다.",
    u"크기는 %1에서 %2 포인트 사이여야 합니다."};

}  // namespace

const SystemTexts& TextsForThread() {
    switch (GetThreadUILanguage()) {
        case 0x0411: return kJapanese;
        case 0x0804: return kSimplifiedChinese;
        case 0x0404: return kTraditionalChinese;
        case 0x0412: return kKorean;
        default: return kEnglish;
    }
}

}  // namespace tq3::fw::dialogs
