// A host program using only the installed package.
#include <tq3view/tq3view.h>

#include <cstdio>
#include <string>

// With --no-language-libraries the language libraries have been taken away: the
// library's strings are empty and its message boxes answer -1 without a box.
int main(int argc, char** argv) {
    const bool withoutLanguages = argc > 1 && std::string(argv[1]) == "--no-language-libraries";
    for (int i = 0; i < 2; ++i) {
        CString find;
        GetVALMExDLLString(30004, find);
        if (find.IsEmpty() != withoutLanguages) {
            std::printf("library string 30004 is %s\n", find.IsEmpty() ? "empty" : "there");
            return 1;
        }
    }
    if (withoutLanguages && VALMExMessageBox(30004, MB_OK, nullptr) != -1) {
        std::printf("a message box without its language library did not answer -1\n");
        return 1;
    }

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
