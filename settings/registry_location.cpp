// The registry locations of the view's settings and the integer helpers.
#include "settings/registry_location.h"

#include <cstring>

#include "framework/app/win_app.h"
#include "framework/core/failure_value.h"
#include "framework/system/registry.h"

CString MakeRegistryKeyName() { return CString(u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3"); }

int CanOpenRegistory(CString& path) {
    const bool named = tq3::fw::GuardAllocations(false, [&] {
        CWinApp* app = AfxGetApp();
        if (app == nullptr) {
            path.Empty();
            return false;
        }
        LPCWSTR name = app->m_pszRegistryKey != nullptr ? app->m_pszRegistryKey : u"";
        path = CString(u"Software\\") + name + u"\\";
        // Without a registry key the path would name "Software" itself: the host
        // has no settings base key of its own, so there is nothing to open.
        return name[0] != 0;
    });
    if (!named) return 0;
    tq3::fw::UniqueRegKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Put()) == ERROR_SUCCESS ? 1 : 0;
}

namespace {

// The base key, or its subkey `section` when one is given; empty when it does not
// exist or cannot be opened with `access`.
tq3::fw::UniqueRegKey OpenSettingsKey(LPCWSTR section, REGSAM access) {
    tq3::fw::UniqueRegKey key;
    CString path;
    if (!CanOpenRegistory(path)) return key;
    const bool named = tq3::fw::GuardAllocations(false, [&] {
        if (section != nullptr && section[0] != 0) {
            path += u"\\";
            path += section;
        }
        return true;
    });
    if (!named || RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, key.Put()) != ERROR_SUCCESS) key.Reset();
    return key;
}

}  // namespace

int VALMExWriteProfileInt(LPCWSTR section, LPCWSTR name, int value) {
    tq3::fw::UniqueRegKey key = OpenSettingsKey(section, KEY_SET_VALUE);
    if (!key) return FALSE;
    BYTE bytes[4];
    std::memcpy(bytes, &value, 4);  // little-endian, as the platform stores a DWORD
    return RegSetValueExW(key.Get(), name, 0, REG_DWORD, bytes, 4) == ERROR_SUCCESS ? TRUE : FALSE;
}

int VALMExReadProfileInt(LPCWSTR section, LPCWSTR name, int nDefault) {
    tq3::fw::UniqueRegKey key = OpenSettingsKey(section, KEY_READ);
    if (!key) return nDefault;
    // Zero-filled so that shorter data reads as its bytes followed by zeros.
    BYTE bytes[4] = {0, 0, 0, 0};
    DWORD size = 4;
    if (RegQueryValueExW(key.Get(), name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return nDefault;
    int value = 0;
    std::memcpy(&value, bytes, 4);
    return value;
}

namespace tq3 {

namespace {

LSTATUS CountSubkeys(HKEY key, DWORD* subkeys) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr);
}

}  // namespace

long DeleteRegKey(const CString& path) {
    tq3::fw::UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) return -1;
    DWORD subkeys = 0;
    if (CountSubkeys(key.Get(), &subkeys) != ERROR_SUCCESS) subkeys = 0;
    // Always the first remaining subkey, so the index never passes keys that are
    // already gone. The key is closed while its subkeys are deleted.
    while (subkeys > 0) {
        WCHAR name[260] = {};
        DWORD length = 260;
        LSTATUS rc = RegEnumKeyExW(key.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        key.Reset();
        if (rc != ERROR_SUCCESS) break;
        const long below = tq3::fw::GuardAllocations(-1L, [&] { return DeleteRegKey(path + u"\\" + name); });
        if (below < 0) break;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) break;
        if (CountSubkeys(key.Get(), &subkeys) != ERROR_SUCCESS) break;
    }
    return RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

}  // namespace tq3
