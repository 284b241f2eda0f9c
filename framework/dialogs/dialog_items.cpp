// A dialog's controls addressed by id: texts, numbers, check marks and messages.
#include <string>

#include "framework/controls/button.h"
#include "framework/dialogs/dialog.h"

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    HWND c = GetDlgItem(dialog, id);
    return c != nullptr && SetWindowTextW(c, text != nullptr ? text : u"") ? TRUE : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) return 0;
    buffer[0] = 0;
    HWND c = GetDlgItem(dialog, id);
    if (c == nullptr) return 0;
    return static_cast<UINT>(GetWindowTextW(c, buffer, bufferMax));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string digits = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    std::u16string text(digits.begin(), digits.end());
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated != nullptr) *translated = FALSE;
    WCHAR text[64];
    UINT length = GetDlgItemTextW(dialog, id, text, 64);
    size_t i = 0;
    while (i < length && text[i] == u' ') ++i;
    bool negative = isSigned && i < length && text[i] == u'-';
    if (negative || (i < length && text[i] == u'+')) ++i;
    if (i >= length) return 0;
    // Digits up to the end or trailing spaces; anything else, or a value out of
    // range, is no number.
    unsigned long long value = 0;
    for (; i < length && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + static_cast<unsigned>(text[i] - u'0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    while (i < length && text[i] == u' ') ++i;
    if (i != length) return 0;
    if (isSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return 0;
    if (translated != nullptr) *translated = TRUE;
    return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND c = GetDlgItem(dialog, id);
    if (c == nullptr) return FALSE;
    SendMessageW(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND c = GetDlgItem(dialog, id);
    return c != nullptr ? static_cast<UINT>(SendMessageW(c, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
    if (!IsWindow(dialog)) return FALSE;
    for (int id = firstId; id <= lastId; ++id) {
        if (HWND c = GetDlgItem(dialog, id)) SendMessageW(c, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND c = GetDlgItem(dialog, id);
    return c != nullptr ? SendMessageW(c, message, wParam, lParam) : 0;
}
