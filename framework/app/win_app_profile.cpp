// The application object's profile store on the per-user registry.
#include <string>

#include "framework/app/win_app.h"
#include "framework/core/failure_value.h"
#include "framework/system/registry.h"

namespace {

// "Software\<registry key>\<section>"; empty without a registry key or section.
std::u16string SectionPath(const CWinApp& app, LPCWSTR section) {
    if (app.m_pszRegistryKey == nullptr || app.m_pszRegistryKey[0] == 0) return {};
    if (section == nullptr || section[0] == 0) return {};
    std::u16string path = u"Software\\";
    path += app.m_pszRegistryKey;
    path += u"\\";
    path += section;
    return path;
}

// The section's key, or an empty holder when it does not exist (or cannot be
// made) or memory runs out.
tq3::fw::UniqueRegKey OpenSection(const CWinApp& app, LPCWSTR section, bool create) {
    tq3::fw::UniqueRegKey key;
    std::u16string path = SectionPath(app, section);
    if (path.empty()) return key;
    LSTATUS rc = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                          nullptr, key.Put(), nullptr)
                        : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Put());
    if (rc != ERROR_SUCCESS) key.Reset();
    return key;
}

}  // namespace

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
    return tq3::fw::GuardAllocations(static_cast<UINT>(nDefault), [&] {
        tq3::fw::UniqueRegKey key = OpenSection(*this, lpszSection, false);
        if (!key) return static_cast<UINT>(nDefault);
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof(value);
        LSTATUS rc = RegQueryValueExW(key.Get(), lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return static_cast<UINT>(nDefault);
        return static_cast<UINT>(value);
    });
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
    return tq3::fw::GuardAllocations<BOOL>(FALSE, [&] {
        tq3::fw::UniqueRegKey key = OpenSection(*this, lpszSection, true);
        if (!key) return FALSE;
        auto value = static_cast<DWORD>(nValue);
        LSTATUS rc =
            RegSetValueExW(key.Get(), lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        return rc == ERROR_SUCCESS ? TRUE : FALSE;
    });
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
    return tq3::fw::GuardAllocations(CString(), [&] {
        tq3::fw::UniqueRegKey key = OpenSection(*this, lpszSection, false);
        if (!key) return CString(lpszDefault);
        DWORD type = 0;
        DWORD size = 0;
        LSTATUS rc = RegQueryValueExW(key.Get(), lpszEntry, nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS || type != REG_SZ) return CString(lpszDefault);
        std::u16string text(size / sizeof(WCHAR) + 1, u'\0');
        rc = RegQueryValueExW(key.Get(), lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        if (rc != ERROR_SUCCESS) return CString(lpszDefault);
        // The stored size counts the terminating zero; stop at the first zero.
        return CString(text.c_str());
    });
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
    return tq3::fw::GuardAllocations<BOOL>(FALSE, [&] {
        if (lpszEntry == nullptr) {
            std::u16string path = SectionPath(*this, lpszSection);
            if (path.empty()) return FALSE;
            LSTATUS rc = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
            return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? TRUE : FALSE;
        }
        tq3::fw::UniqueRegKey key = OpenSection(*this, lpszSection, true);
        if (!key) return FALSE;
        LSTATUS rc;
        if (lpszValue == nullptr) {
            rc = RegDeleteValueW(key.Get(), lpszEntry);
            if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
        } else {
            DWORD size = static_cast<DWORD>((std::char_traits<char16_t>::length(lpszValue) + 1) * sizeof(WCHAR));
            rc = RegSetValueExW(key.Get(), lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), size);
        }
        return rc == ERROR_SUCCESS ? TRUE : FALSE;
    });
}
