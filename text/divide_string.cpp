#include "text/tab_text.h"

int DivideString(WCHAR* text) {
    int tabs = 0;
    if (text == nullptr) return 1;
    for (WCHAR* p = text; *p != 0; ++p) {
        if (*p == u'\t') {
            ++tabs;
            *p = 0;
        } else if (*p == u'\r' || *p == u'\n') {
            *p = 0;
        }
    }
    return tabs + 1;
}
