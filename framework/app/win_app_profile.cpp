// The application object's profile store on the per-user registry.
#include <new>
#include <string>

#include "framework/app/win_app.h"
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

HKEY OpenSection(const CWinApp& app, LPCWSTR section, bool create) {
    HKEY key = nullptr;
    try {
        std::u16string path = SectionPath(app, section);
        if (path.empty()) return nullptr;
        LSTATUS rc = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                              nullptr, &key, nullptr)
                            : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
        return rc == ERROR_SUCCESS ? key : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
    HKEY key = OpenSection(*this, lpszSection, false);
    if (key == nullptr) return static_cast<UINT>(nDefault);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LSTATUS rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return static_cast<UINT>(nDefault);
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
    HKEY key = OpenSection(*this, lpszSection, true);
    if (key == nullptr) return FALSE;
    auto value = static_cast<DWORD>(nValue);
    LSTATUS rc = RegSetValueExW(key, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
    try {
        HKEY key = OpenSection(*this, lpszSection, false);
        if (key == nullptr) return CString(lpszDefault);
        DWORD type = 0;
        DWORD size = 0;
        LSTATUS rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS || type != REG_SZ) {
            RegCloseKey(key);
            return CString(lpszDefault);
        }
        std::u16string text(size / sizeof(WCHAR) + 1, u'\0');
        rc = RegQueryValueExW(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return CString(lpszDefault);
        // The stored size counts the terminating zero; stop at the first zero.
        return CString(text.c_str());
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
    if (lpszEntry == nullptr) {
        try {
            std::u16string path = SectionPath(*this, lpszSection);
            if (path.empty()) return FALSE;
            LSTATUS rc = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
            return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
        } catch (const std::bad_alloc&) {
            return FALSE;
        }
    }
    HKEY key = OpenSection(*this, lpszSection, true);
    if (key == nullptr) return FALSE;
    LSTATUS rc;
    if (lpszValue == nullptr) {
        rc = RegDeleteValueW(key, lpszEntry);
        if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    } else {
        DWORD size = static_cast<DWORD>((std::char_traits<char16_t>::length(lpszValue) + 1) * sizeof(WCHAR));
        rc = RegSetValueExW(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), size);
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
