// A host program using only the installed package.
#include <tq3view/tq3view.h>

#include <cstdio>
#include <string>

int main() {
    WCHAR record[] = u"alpha\tbeta\tgamma\r\n";
    int fields = DivideString(record);
    if (fields != 3) {
        std::printf("expected 3 fields, got %d\n", fields);
        return 1;
    }
    // The records are exported classes with their run-time class names.
    CSheetObj sheet;
    if (sheet.InsertLine(0, CLineProp()) != 1 ||
        std::string(sheet.GetLine(0)->GetRuntimeClass()->m_lpszClassName) != "CLineProp") {
        std::printf("sheet records not usable\n");
        return 1;
    }
    std::printf("consumer: %d fields\n", fields);
    return 0;
}
