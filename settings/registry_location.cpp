// The registry locations of the view's settings and the integer helpers.
#include "settings/registry_location.h"

#include <cstring>
#include <new>

#include "framework/app/win_app.h"
#include "framework/system/registry.h"

CString MakeRegistryKeyName() { return CString(u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3"); }

int CanOpenRegistory(CString& path) {
    try {
        CWinApp* app = AfxGetApp();
        if (app == nullptr) {
            path.Empty();
            return 0;
        }
        LPCWSTR name = app->m_pszRegistryKey != nullptr ? app->m_pszRegistryKey : u"";
        path = CString(u"Software\\") + name + u"\\";
        // Without a registry key the path would name "Software" itself: the host
        // has no settings base key of its own, so there is nothing to open.
        if (name[0] == 0) return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegCloseKey(key);
    return 1;
}

namespace {

// The base key, or its subkey `section` when one is given; null when it does not
// exist or cannot be opened with `access`.
HKEY OpenSettingsKey(LPCWSTR section, REGSAM access) {
    CString path;
    if (!CanOpenRegistory(path)) return nullptr;
    try {
        if (section != nullptr && section[0] != 0) {
            path += u"\\";
            path += section;
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return key;
}

}  // namespace

int VALMExWriteProfileInt(LPCWSTR section, LPCWSTR name, int value) {
    HKEY key = OpenSettingsKey(section, KEY_SET_VALUE);
    if (key == nullptr) return FALSE;
    BYTE bytes[4];
    std::memcpy(bytes, &value, 4);  // little-endian, as the platform stores a DWORD
    LSTATUS rc = RegSetValueExW(key, name, 0, REG_DWORD, bytes, 4);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? TRUE : FALSE;
}

int VALMExReadProfileInt(LPCWSTR section, LPCWSTR name, int nDefault) {
    HKEY key = OpenSettingsKey(section, KEY_READ);
    if (key == nullptr) return nDefault;
    // Zero-filled so that shorter data reads as its bytes followed by zeros.
    BYTE bytes[4] = {0, 0, 0, 0};
    DWORD size = 4;
    LSTATUS rc = RegQueryValueExW(key, name, nullptr, nullptr, bytes, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return nDefault;
    int value = 0;
    std::memcpy(&value, bytes, 4);
    return value;
}

namespace tq3 {

long DeleteRegKey(const CString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return -1;
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        subkeys = 0;
    }
    // Always the first remaining subkey, so the index never passes keys that are
    // already gone.
    while (subkeys > 0) {
        WCHAR name[260] = {};
        DWORD length = 260;
        LSTATUS rc = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        key = nullptr;
        if (rc != ERROR_SUCCESS) break;
        long below;
        try {
            below = DeleteRegKey(path + u"\\" + name);
        } catch (const std::bad_alloc&) {
            below = -1;
        }
        if (below < 0) break;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
            key = nullptr;
            break;
        }
        if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
    }
    LSTATUS result = RegDeleteKeyW(HKEY_CURRENT_USER, path);
    if (key != nullptr) RegCloseKey(key);
    return result;
}

}  // namespace tq3
