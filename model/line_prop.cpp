#include "model/line_prop.h"

#include <new>

IMPLEMENT_DYNAMIC(CLineProp, CObject)

CLineProp& CLineProp::operator=(const CLineProp& other) {
    if (this != &other) {
        text = other.text;  // the only step that can fail; it changes nothing then
        data = other.data;
    }
    return *this;
}

BOOL CLineProp::SetText(LPCWSTR newText) noexcept {
    try {
        text = newText;
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}
