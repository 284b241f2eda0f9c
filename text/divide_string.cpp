#include "text/tab_text.h"

#include <climits>
#include <cstddef>

int DivideString(WCHAR* text) {
    if (text == nullptr) return 1;
    // Counted wide so that a record of more than INT_MAX tabs saturates instead
    // of overflowing; no real line comes near that.
    std::size_t tabs = 0;
    for (WCHAR* p = text; *p != 0; ++p) {
        if (*p == u'\t') {
            ++tabs;
            *p = 0;
        } else if (*p == u'\r' || *p == u'\n') {
            *p = 0;
        }
    }
    return tabs >= static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(tabs) + 1;
}
