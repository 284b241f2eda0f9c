#include "model/column_prop.h"

#include <new>
#include <utility>

#include "framework/core/locale.h"

IMPLEMENT_DYNAMIC(CColumnProp, CObject)

CColumnProp::~CColumnProp() = default;

CColumnProp& CColumnProp::operator=(const CColumnProp& other) {
    if (this == &other) return *this;
    // Everything that allocates is copied aside first, so that running out of
    // memory leaves this record untouched; the rest cannot fail.
    std::vector<CString> strings(other.listStrings);
    CString newDefault(other.defaultString);
    CString newTitle(other.title);
    listStrings.swap(strings);
    swap(defaultString, newDefault);
    swap(title, newTitle);
    data = other.data;
    maxLength = other.maxLength;
    numeric = other.numeric;
    digits = other.digits;
    decimals = other.decimals;
    defaultWidth = other.defaultWidth;
    index = other.index;
    extent = other.extent;
    return *this;
}

namespace {

WCHAR Upper(WCHAR c) {
    return static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(CharUpperW(MAKEINTRESOURCEW(c))));
}

}  // namespace

CString CColumnProp::FindListStringByInitial(WCHAR c) const {
    // The mapping is one code unit for one, so upper-casing the first character
    // alone gives the first character of the upper-cased string.
    const WCHAR wanted = Upper(c);
    for (const CString& s : listStrings) {
        if (!s.IsEmpty() && Upper(s[0]) == wanted) {
            try {
                return s;
            } catch (const std::bad_alloc&) {
                return CString();
            }
        }
    }
    return CString();
}
