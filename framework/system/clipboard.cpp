// The process's clipboard: opened by one window at a time, owned by the window
// that last emptied it, holding one handle per format. CF_UNICODETEXT is mirrored
// to the backend's system clipboard when the clipboard is closed after a change,
// and read back from it when another program changed it since.
//
// The window manager tells the clipboard when its opener or owner is destroyed
// and when every window goes (a reset), through the WindowWatcher the clipboard
// registers when it is first used.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/unit_scan.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/system/clipboard.h"
#include "framework/window/backend.h"
#include "framework/window/window_watch.h"
#include "framework/window/winuser.h"

namespace {

// What a reset of the window manager clears.
struct Contents {
    bool open = false;
    HWND openedBy = nullptr;
    HWND owner = nullptr;
    bool emptiedByOpener = false;
    bool changed = false;           // contents set since opening: mirror on close
    std::vector<std::pair<UINT, HANDLE>> data;  // in the order they were set
    ULONGLONG systemSequence = 0;
    UINT rendering = 0;             // format being rendered on request
};

struct Clipboard final : Contents, tq3::fw::WindowWatcher {
    std::vector<std::u16string> names;  // registered formats from 0xC000; they outlive resets
    bool watching = false;              // registered with the window manager

    ~Clipboard() {
        if (watching) tq3::fw::RemoveWindowWatcher(this);
    }
    void WindowDestroyed(HWND hwnd) override;
    void WindowManagerReset() override;
};

Clipboard& C() {
    static Clipboard c;
    // Tried again on each use until it succeeds: without memory to register,
    // the clipboard still works and only misses its windows' ends meanwhile.
    if (!c.watching) c.watching = tq3::fw::AddWindowWatcher(&c);
    return c;
}

bool IsGdiFormat(UINT format) {
    return format == CF_BITMAP || format == CF_PALETTE || format == CF_DSPBITMAP ||
           (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

void FreeData(UINT format, HANDLE h) {
    if (h == nullptr) return;
    if (IsGdiFormat(format))
        DeleteObject(h);
    else if (format != CF_ENHMETAFILE && format != CF_METAFILEPICT)
        GlobalFree(h);
}

void FreeAll() {
    Clipboard& c = C();
    for (auto& [f, h] : c.data) FreeData(f, h);
    c.data.clear();
}

std::pair<UINT, HANDLE>* Entry(UINT format) {
    for (auto& e : C().data) {
        if (e.first == format) return &e;
    }
    return nullptr;
}

// Takes the system clipboard's text when another program changed it.
void SyncFromSystem() {
    Clipboard& c = C();
    tq3::fw::Backend& backend = tq3::fw::CurrentBackend();
    ULONGLONG seq = backend.SystemClipboardSequence();
    if (seq == c.systemSequence) return;
    c.systemSequence = seq;
    std::u16string text;
    if (!backend.ReadSystemClipboardText(&text)) return;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(WCHAR));
    if (h == nullptr) return;
    auto* p = static_cast<WCHAR*>(GlobalLock(h));
    std::copy(text.begin(), text.end(), p);
    GlobalUnlock(h);
    FreeAll();
    c.owner = nullptr;
    try {
        c.data.emplace_back(CF_UNICODETEXT, h);
    } catch (const std::bad_alloc&) {
        GlobalFree(h);
    }
}

void MirrorToSystem() {
    Clipboard& c = C();
    auto* e = Entry(CF_UNICODETEXT);
    if (e == nullptr || e->second == nullptr) return;
    const auto* units = static_cast<const WCHAR*>(GlobalLock(e->second));
    if (units == nullptr) return;
    // The backend reads the text where it lies: a block of many megabytes is not
    // copied once more on its way out, nor at all for a backend that keeps none.
    try {
        tq3::fw::Backend& backend = tq3::fw::CurrentBackend();
        if (backend.WriteSystemClipboardText(tq3::fw::UnicodeBlockText(e->second, units))) {
            c.systemSequence = backend.SystemClipboardSequence();
        }
    } catch (const std::bad_alloc&) {
    }
    GlobalUnlock(e->second);
}

void Clipboard::WindowDestroyed(HWND hwnd) {
    if (owner == hwnd) owner = nullptr;
    if (open && openedBy == hwnd) CloseClipboard();
}

void Clipboard::WindowManagerReset() {
    FreeAll();
    static_cast<Contents&>(*this) = Contents{};
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
    Clipboard& c = C();
    if (owner != nullptr && !IsWindow(owner)) return FALSE;
    if (c.open) return c.openedBy == owner ? TRUE : FALSE;
    c.open = true;
    c.openedBy = owner;
    c.emptiedByOpener = false;
    c.changed = false;
    SyncFromSystem();
    return TRUE;
}

BOOL CloseClipboard() {
    Clipboard& c = C();
    if (!c.open) return FALSE;
    if (c.changed) MirrorToSystem();
    c.open = false;
    c.openedBy = nullptr;
    c.emptiedByOpener = false;
    c.changed = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    Clipboard& c = C();
    if (!c.open) return FALSE;
    if (c.owner != nullptr && IsWindow(c.owner)) SendMessageW(c.owner, WM_DESTROYCLIPBOARD, 0, 0);
    FreeAll();
    c.owner = c.openedBy;
    c.emptiedByOpener = true;
    c.changed = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Clipboard& c = C();
    bool rendering = c.rendering != 0 && c.rendering == format;
    if (format == 0 || (!c.open && !rendering)) return nullptr;
    if (!rendering && !c.emptiedByOpener && c.owner != c.openedBy) return nullptr;
    // Memory formats must be real blocks: a bad handle is refused and stays the caller's.
    if (data != nullptr && !IsGdiFormat(format) && format != CF_ENHMETAFILE && format != CF_METAFILEPICT &&
        (GlobalFlags(data) & GMEM_INVALID_HANDLE))
        return nullptr;
    try {
        if (auto* e = Entry(format)) {
            if (e->second != data) FreeData(format, e->second);
            e->second = data;
        } else {
            c.data.emplace_back(format, data);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    c.changed = true;
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& c = C();
    if (!c.open) return nullptr;
    auto* e = Entry(format);
    if (e == nullptr) return nullptr;
    if (e->second == nullptr && c.owner != nullptr && IsWindow(c.owner)) {
        // Delayed rendering: the owner supplies the data now.
        c.rendering = format;
        SendMessageW(c.owner, WM_RENDERFORMAT, format, 0);
        c.rendering = 0;
        e = Entry(format);
        if (e == nullptr) return nullptr;
    }
    return e->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    if (!C().open) SyncFromSystem();
    return Entry(format) != nullptr ? TRUE : FALSE;
}

int CountClipboardFormats() {
    if (!C().open) SyncFromSystem();
    return static_cast<int>(C().data.size());
}

UINT EnumClipboardFormats(UINT format) {
    Clipboard& c = C();
    if (!c.open) return 0;
    if (format == 0) return c.data.empty() ? 0 : c.data.front().first;
    for (size_t i = 0; i + 1 < c.data.size(); ++i) {
        if (c.data[i].first == format) return c.data[i + 1].first;
    }
    return 0;
}

HWND GetClipboardOwner() {
    HWND h = C().owner;
    return IsWindow(h) ? h : nullptr;
}

HWND GetOpenClipboardWindow() {
    Clipboard& c = C();
    return c.open ? c.openedBy : nullptr;
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    if (name == nullptr || name[0] == 0) return 0;
    std::u16string key;
    for (size_t i = 0; name[i] != 0; ++i) {
        char16_t ch = name[i];
        key.push_back((ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - 32) : ch);
    }
    auto& names = C().names;
    auto it = std::find(names.begin(), names.end(), key);
    if (it != names.end()) return 0xC000 + static_cast<UINT>(it - names.begin());
    if (names.size() >= 0x3FFF) return 0;
    try {
        names.push_back(key);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 0xC000 + static_cast<UINT>(names.size() - 1);
}

std::u16string_view tq3::fw::UnicodeBlockText(HANDLE block, const WCHAR* units) {
    if (units == nullptr) return {};
    const SIZE_T capacity = GlobalSize(block) / sizeof(WCHAR);
    // A pasted table may be hundreds of megabytes: its end is looked for as fast as
    // the memory delivers the text.
    const WCHAR* const end = FindUnit(units, units + capacity, 0);
    return std::u16string_view(units, static_cast<std::size_t>(end - units));
}
