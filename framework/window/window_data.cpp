// What a window holds: its text, its longs (GetWindowLongPtr and the window's
// extra bytes) and its properties.
//
// Sections: text; longs; properties.
//
// GetWindowTextW and SetWindowTextW go through the window's procedure
// (WM_GETTEXT, WM_SETTEXT), which ends in DefaultText unless the window answers
// itself; InternalGetWindowText reads the text directly. Changing GWL_STYLE or
// GWL_EXSTYLE sends WM_STYLECHANGING and WM_STYLECHANGED around the change.
#include <algorithm>
#include <cstring>

#include "framework/window/wm_internal.h"

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// Text
// ============================================================================

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    return Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    return static_cast<int>(Send(w, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int InternalGetWindowText(HWND hwnd, LPWSTR buffer, int maxCount) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    return static_cast<int>(DefaultText(w, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    return static_cast<int>(Send(w, WM_GETTEXTLENGTH, 0, 0));
}

namespace tq3::fw::wm {

// The default handling of the text messages, used by DefWindowProcW.
LRESULT DefaultText(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETTEXT:
            try {
                w->text = CopyString(reinterpret_cast<LPCWSTR>(lp));
            } catch (const std::bad_alloc&) {
                return FALSE;
            }
            if ((w->style & WS_CAPTION) == WS_CAPTION) {
                w->ncPaint = true;
            }
            // A top-level window's text is its system window's title.
            if (w->parent == S().desktopWindow) MarkNative(w);
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPWSTR>(lp);
            int max = static_cast<int>(wp);
            if (buffer == nullptr || max <= 0) return 0;
            int n = std::min<int>(static_cast<int>(w->text.size()), max - 1);
            std::copy_n(w->text.data(), n, buffer);
            buffer[n] = 0;
            return n;
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        default:
            return 0;
    }
}

}  // namespace tq3::fw::wm

// ============================================================================
// Longs
// ============================================================================

namespace {

bool ExtraInRange(const Window* w, int index, size_t size) {
    return index >= 0 && static_cast<size_t>(index) + size <= w->extra.size();
}

LONG_PTR ReadLong(Window* w, int index, size_t size, bool* ok) {
    *ok = true;
    switch (index) {
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            if (IsChildStyle(w)) return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle : nullptr);
            return reinterpret_cast<LONG_PTR>(w->owner ? w->owner->handle : nullptr);
        case GWLP_ID: return static_cast<LONG_PTR>(w->id);
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        case GWLP_USERDATA: return w->userData;
        default: break;
    }
    if (ExtraInRange(w, index, size)) {
        if (size == sizeof(LONG)) {
            LONG v;
            std::memcpy(&v, w->extra.data() + index, sizeof(v));
            return v;
        }
        LONG_PTR v;
        std::memcpy(&v, w->extra.data() + index, sizeof(v));
        return v;
    }
    *ok = false;
    return 0;
}

void ChangeStyle(Window* w, int index, DWORD value) {
    STYLESTRUCT ss{index == GWL_STYLE ? w->style : w->exStyle, value};
    Send(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    if (w->dead) return;
    DWORD old = index == GWL_STYLE ? w->style : w->exStyle;
    if (index == GWL_STYLE)
        w->style = ss.styleNew;
    else
        w->exStyle = ss.styleNew;
    ss.styleOld = old;
    Send(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
}

LONG_PTR WriteLong(Window* w, int index, LONG_PTR value, size_t size) {
    bool ok;
    LONG_PTR old = ReadLong(w, index, size, &ok);
    if (!ok) return 0;
    switch (index) {
        case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return old;
        case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return old;
        case GWLP_HWNDPARENT:
            if (IsChildStyle(w)) return old;  // the parent is changed with SetParent
            w->owner = value ? FromHandle(reinterpret_cast<HWND>(value)) : nullptr;
            return old;
        case GWLP_ID: w->id = static_cast<UINT_PTR>(value); return old;
        case GWL_STYLE:
        case GWL_EXSTYLE: ChangeStyle(w, index, static_cast<DWORD>(value)); return old;
        case GWLP_USERDATA: w->userData = value; return old;
        default: break;
    }
    if (size == sizeof(LONG)) {
        auto v = static_cast<LONG>(value);
        std::memcpy(w->extra.data() + index, &v, sizeof(v));
    } else {
        std::memcpy(w->extra.data() + index, &value, sizeof(value));
    }
    return old;
}

}  // namespace

LONG GetWindowLongW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    bool ok;
    return static_cast<LONG>(ReadLong(w, index, sizeof(LONG), &ok));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    CallScope scope;
    return static_cast<LONG>(WriteLong(w, index, value, sizeof(LONG)));
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    bool ok;
    return ReadLong(w, index, sizeof(LONG_PTR), &ok);
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    CallScope scope;
    return WriteLong(w, index, value, sizeof(LONG_PTR));
}

// ============================================================================
// Properties
// ============================================================================

namespace {

std::u16string PropKey(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        auto atom = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        return std::u16string(u"#") + static_cast<char16_t>(atom);
    }
    std::u16string key = CopyString(name);
    for (auto& c : key) c = FoldAscii(c);
    return key;
}

}  // namespace

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || name == nullptr) return FALSE;
    try {
        w->props[PropKey(name)] = data;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || name == nullptr) return nullptr;
    auto it = w->props.find(PropKey(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || name == nullptr) return nullptr;
    auto it = w->props.find(PropKey(name));
    if (it == w->props.end()) return nullptr;
    HANDLE h = it->second;
    w->props.erase(it);
    return h;
}
