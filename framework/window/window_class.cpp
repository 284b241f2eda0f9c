// Window classes: registration, lookup by name or atom, and the class's
// settings (GetClassInfo, GetClassLongPtr, SetClassLongPtr).
//
// Sections: names; registration and lookup; class functions.
//
// Names compare without regard to ASCII case, as on the platform. Classes outlive
// window-manager resets: a host registers them once per process.
#include <algorithm>
#include <cstring>

#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

// ============================================================================
// Names
// ============================================================================

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

std::u16string CopyString(LPCWSTR text) {
    std::u16string out;
    if (text != nullptr) {
        for (size_t i = 0; text[i] != 0; ++i) out.push_back(text[i]);
    }
    return out;
}

namespace {

bool SameName(const std::u16string& a, LPCWSTR b) {
    size_t i = 0;
    for (; b[i] != 0; ++i) {
        if (i >= a.size() || FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return i == a.size();
}

}  // namespace

// ============================================================================
// Registration and lookup
// ============================================================================

WindowClass* FindClass(LPCWSTR name) {
    if (name == nullptr) return nullptr;
    for (auto& c : S().classes) {
        if (IS_INTRESOURCE(name)) {
            if (c->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))) return c.get();
        } else if (SameName(c->name, name)) {
            return c.get();
        }
    }
    return nullptr;
}

namespace {

ATOM Register(const WNDCLASSEXW& wc) {
    State& s = S();
    if (wc.lpszClassName == nullptr || IS_INTRESOURCE(wc.lpszClassName) || wc.lpszClassName[0] == 0) return 0;
    if (FindClass(wc.lpszClassName) != nullptr) return 0;
    if (wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000) return 0;
    if (s.nextAtom == 0xFFFF) return 0;
    try {
        auto c = std::make_unique<WindowClass>();
        c->name = CopyString(wc.lpszClassName);
        c->atom = s.nextAtom++;
        c->style = wc.style;
        c->proc = wc.lpfnWndProc;
        c->wndExtra = wc.cbWndExtra;
        c->instance = wc.hInstance;
        c->icon = wc.hIcon;
        c->iconSmall = wc.hIconSm;
        c->cursor = wc.hCursor;
        c->background = wc.hbrBackground;
        if (wc.lpszMenuName != nullptr && IS_INTRESOURCE(wc.lpszMenuName))
            c->menuId = reinterpret_cast<ULONG_PTR>(wc.lpszMenuName);
        else
            c->menuName = CopyString(wc.lpszMenuName);
        c->classExtra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
        ATOM atom = c->atom;
        s.classes.push_back(std::move(c));
        return atom;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void FillClassInfo(const WindowClass& c, WNDCLASSEXW* wc) {
    wc->style = c.style;
    wc->lpfnWndProc = c.proc;
    wc->cbClsExtra = static_cast<int>(c.classExtra.size());
    wc->cbWndExtra = c.wndExtra;
    wc->hInstance = c.instance;
    wc->hIcon = c.icon;
    wc->hCursor = c.cursor;
    wc->hbrBackground = c.background;
    wc->lpszMenuName = c.menuId != 0 ? reinterpret_cast<LPCWSTR>(c.menuId)
                                     : (c.menuName.empty() ? nullptr : c.menuName.c_str());
    wc->lpszClassName = c.name.c_str();
    wc->hIconSm = c.iconSmall;
}

}  // namespace

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// Class functions
// ============================================================================

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (wc == nullptr) return 0;
    WNDCLASSEXW ex{};
    ex.cbSize = sizeof(ex);
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return Register(ex);
}

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXW)) return 0;
    return Register(*wc);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    State& s = S();
    WindowClass* c = FindClass(className);
    if (c == nullptr || c->windows > 0) return FALSE;
    s.classes.erase(std::remove_if(s.classes.begin(), s.classes.end(), [c](auto& p) { return p.get() == c; }),
                    s.classes.end());
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wc) {
    WindowClass* c = FindClass(className);
    if (c == nullptr || wc == nullptr) return FALSE;
    FillClassInfo(*c, wc);
    return c->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc) {
    if (wc == nullptr) return FALSE;
    WNDCLASSEXW ex{};
    BOOL ok = GetClassInfoExW(instance, className, &ex);
    if (!ok) return FALSE;
    wc->style = ex.style;
    wc->lpfnWndProc = ex.lpfnWndProc;
    wc->cbClsExtra = ex.cbClsExtra;
    wc->cbWndExtra = ex.cbWndExtra;
    wc->hInstance = ex.hInstance;
    wc->hIcon = ex.hIcon;
    wc->hCursor = ex.hCursor;
    wc->hbrBackground = ex.hbrBackground;
    wc->lpszMenuName = ex.lpszMenuName;
    wc->lpszClassName = ex.lpszClassName;
    return ok;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    int n = std::min<int>(static_cast<int>(w->cls->name.size()), maxCount - 1);
    std::copy_n(w->cls->name.data(), n, buffer);
    buffer[n] = 0;
    return n;
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    WindowClass* c = w->cls;
    switch (index) {
        case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->background);
        case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->cursor);
        case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c->icon);
        case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c->iconSmall);
        case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(c->instance);
        case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->proc);
        case GCLP_MENUNAME: return c->menuId != 0 ? c->menuId : reinterpret_cast<ULONG_PTR>(c->menuName.c_str());
        case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c->wndExtra);
        case GCL_CBCLSEXTRA: return c->classExtra.size();
        case GCL_STYLE: return c->style;
        case GCW_ATOM: return c->atom;
        default: break;
    }
    if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c->classExtra.size()) {
        ULONG_PTR v;
        std::memcpy(&v, c->classExtra.data() + index, sizeof(v));
        return v;
    }
    return 0;
}

DWORD GetClassLongW(HWND hwnd, int index) { return static_cast<DWORD>(GetClassLongPtrW(hwnd, index)); }

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    WindowClass* c = w->cls;
    ULONG_PTR old = GetClassLongPtrW(hwnd, index);
    switch (index) {
        case GCLP_HBRBACKGROUND: c->background = reinterpret_cast<HBRUSH>(value); return old;
        case GCLP_HCURSOR: c->cursor = reinterpret_cast<HCURSOR>(value); return old;
        case GCLP_HICON: c->icon = reinterpret_cast<HICON>(value); return old;
        case GCLP_HICONSM: c->iconSmall = reinterpret_cast<HICON>(value); return old;
        case GCLP_WNDPROC: c->proc = reinterpret_cast<WNDPROC>(value); return old;
        case GCL_STYLE: c->style = static_cast<UINT>(value); return old;
        default: break;
    }
    if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c->classExtra.size()) {
        std::memcpy(c->classExtra.data() + index, &value, sizeof(value));
        return old;
    }
    return 0;
}
