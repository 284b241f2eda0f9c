#include "demo/demo_texts.h"

#include <cctype>
#include <string>

namespace tq3::demo {

namespace {

const DemoTexts kTexts[5] = {
    {u"TQ3View demo", u"Sheet", u"Cursor", u"Changed", u"-", u"Time zones", u"Countries", u"I/O points",
     u"latitude", u"longitude", u"time zones", u"problem",
     u"&Edit", u"&Undo", u"Cu&t", u"&Copy", u"&Paste", u"&Find...", u"&Replace...", u"&View", u"&Font...",
     u"&Table", u"Table"},
    {u"TQ3View デモ", u"シート", u"カーソル", u"変更", u"-", u"タイムゾーン", u"国と地域", u"I/O 点",
     u"緯度", u"経度", u"タイムゾーン数", u"問題",
     u"編集(&E)", u"元に戻す(&U)", u"切り取り(&T)", u"コピー(&C)", u"貼り付け(&P)", u"検索(&F)...", u"置換(&R)...",
     u"表示(&V)", u"フォント(&F)...", u"テーブル(&T)", u"テーブル"},
    {u"TQ3View 演示", u"工作表", u"光标", u"已更改", u"-", u"时区", u"国家和地区", u"I/O 点",
     u"纬度", u"经度", u"时区数", u"问题",
     u"编辑(&E)", u"撤消(&U)", u"剪切(&T)", u"复制(&C)", u"粘贴(&P)", u"查找(&F)...", u"替换(&R)...", u"视图(&V)",
     u"字体(&F)...", u"表格(&T)", u"表格"},
    {u"TQ3View 示範", u"工作表", u"游標", u"已變更", u"-", u"時區", u"國家和地區", u"I/O 點",
     u"緯度", u"經度", u"時區數", u"問題",
     u"編輯(&E)", u"復原(&U)", u"剪下(&T)", u"複製(&C)", u"貼上(&P)", u"尋找(&F)...", u"取代(&R)...", u"檢視(&V)",
     u"字型(&F)...", u"表格(&T)", u"表格"},
    {u"TQ3View 데모", u"시트", u"커서", u"변경", u"-", u"표준 시간대", u"국가 및 지역", u"I/O 포인트",
     u"위도", u"경도", u"시간대 수", u"문제",
     u"편집(&E)", u"실행 취소(&U)", u"잘라내기(&T)", u"복사(&C)", u"붙여넣기(&P)", u"찾기(&F)...", u"바꾸기(&R)...",
     u"보기(&V)", u"글꼴(&F)...", u"표(&T)", u"표"},
};

constexpr const char* kCodes[5] = {"enu", "jpn", "chs", "cht", "kor"};

}  // namespace

const DemoTexts& TextsFor(int language) { return kTexts[language >= 0 && language < 5 ? language : 0]; }

int LanguageFromCode(std::string_view code) {
    std::string lower;
    for (char c : code) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int i = 0; i < 5; ++i) {
        if (lower == kCodes[i]) return i;
    }
    return -1;
}

const char* LanguageCode(int language) { return language >= 0 && language < 5 ? kCodes[language] : "enu"; }

}  // namespace tq3::demo
