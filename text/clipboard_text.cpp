#include "text/clipboard_text.h"

#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "framework/system/clipboard.h"

namespace {

// The text of a CF_UNICODETEXT block into *out.
bool ReadUnicodeBlock(HANDLE block, CString* out) {
    auto* units = static_cast<const WCHAR*>(GlobalLock(block));
    if (units == nullptr) return false;
    const std::u16string_view text = tq3::fw::UnicodeBlockText(block, units);
    bool ok = true;
    try {
        if (text.size() > static_cast<SIZE_T>(CString::kMaxLength)) throw std::bad_alloc();
        out->SetString(text.data(), static_cast<int>(text.size()));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    GlobalUnlock(block);
    return ok;
}

// A zero-filled block for `bytes`: the clipboard's current text block resized when
// it still holds one, a new block otherwise.
HGLOBAL TextBlock(SIZE_T bytes) {
    if (HANDLE current = GetClipboardData(CF_UNICODETEXT)) {
        if (HGLOBAL resized = GlobalReAlloc(current, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT)) return resized;
    }
    return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
}

}  // namespace

int GetClipboardText(HWND owner, CString* text) {
    if (text == nullptr || !OpenClipboard(owner)) return 0;
    CString read;
    bool ok = true;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) ok = ReadUnicodeBlock(block, &read);
    CloseClipboard();
    if (!ok) return 0;
    *text = std::move(read);
    return text->IsEmpty() ? 0 : 1;
}

int SetClipboardText(HWND owner, const CString* text) {
    if (text == nullptr || !OpenClipboard(owner)) return 0;
    if (!EmptyClipboard()) {
        CloseClipboard();
        return 0;
    }
    // Room for the text, its terminating zero and nine more characters.
    SIZE_T textBytes = static_cast<SIZE_T>(text->GetLength()) * sizeof(WCHAR);
    HGLOBAL block = TextBlock(textBytes + 20);
    HANDLE taken = nullptr;
    if (block != nullptr) {
        if (void* bytes = GlobalLock(block)) {
            std::memcpy(bytes, static_cast<LPCWSTR>(*text), textBytes);
            GlobalUnlock(block);
            // When the clipboard refuses the block, it stays with us unfreed: the
            // caller of a failed hand-over cannot tell whether the clipboard keeps it.
            taken = SetClipboardData(CF_UNICODETEXT, block);
        } else {
            GlobalFree(block);
        }
    }
    CloseClipboard();
    return taken != nullptr ? 1 : 0;
}
