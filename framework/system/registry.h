// The registry: a hierarchical store of keys and typed values below two roots,
// HKEY_CURRENT_USER (per user) and HKEY_LOCAL_MACHINE (machine-wide), with the
// platform's functions, results and byte formats.
//
// Names of keys and values compare without regard to case over all of Unicode
// (each UTF-16 code unit folded to upper case) and are kept as typed. In a key
// path, backslashes separate the names; several in a row count as one, a
// trailing one is ignored, and a path may not begin with one.
//
// Sizes are in bytes for value data and in UTF-16 code units for names. Values
// keep their type and their exact bytes: REG_DWORD is 4 little-endian bytes,
// REG_SZ is UTF-16LE with its terminating zero, as the caller passed them.
//
// Where the stores live and how they are kept safe between processes is
// described at the top of registry_store.cpp.
#pragma once

#include <string>

#include "framework/core/wintypes.h"

using PHKEY = HKEY*;

// The platform's predefined root handles (sign-extended 32-bit values).
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000))))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002))))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000003))))

// Result codes.
constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_OUTOFMEMORY = 14;
constexpr LSTATUS ERROR_DISK_FULL = 112;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_BAD_PATHNAME = 161;
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
constexpr LSTATUS ERROR_BADDB = 1009;
constexpr LSTATUS ERROR_CANTREAD = 1012;
constexpr LSTATUS ERROR_CANTWRITE = 1013;
constexpr LSTATUS ERROR_KEY_DELETED = 1018;
constexpr LSTATUS ERROR_REVISION_MISMATCH = 1306;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;
constexpr DWORD REG_QWORD_LITTLE_ENDIAN = 11;

// Access rights of a key handle.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM DELETE = 0x00010000;
constexpr REGSAM READ_CONTROL = 0x00020000;
constexpr REGSAM WRITE_DAC = 0x00040000;
constexpr REGSAM WRITE_OWNER = 0x00080000;
constexpr REGSAM MAXIMUM_ALLOWED = 0x02000000;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

// RegCreateKeyExW options and dispositions.
constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
constexpr DWORD REG_OPTION_VOLATILE = 0x1;
constexpr DWORD REG_CREATED_NEW_KEY = 0x1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 0x2;

// Longest key name and value name, in code units (terminating zero not counted).
constexpr DWORD kRegMaxKeyNameLength = 255;
constexpr DWORD kRegMaxValueNameLength = 16383;

#ifndef TQ3_HAVE_FILETIME
#define TQ3_HAVE_FILETIME
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using PFILETIME = FILETIME*;
#endif

// Security descriptors and attributes are accepted and ignored: every key of a
// store belongs to the user who owns the store's file.
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using PSECURITY_DESCRIPTOR = void*;

TQ3FW_EXPORT_C LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result);
// Creates the missing keys of the path in one transaction. Every key is kept in
// the store file: REG_OPTION_VOLATILE is accepted but does not make a key vanish
// at the next session. Classes and security attributes are ignored.
TQ3FW_EXPORT_C LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                                       REGSAM desired, const LPSECURITY_ATTRIBUTES security, PHKEY result,
                                       LPDWORD disposition);
TQ3FW_EXPORT_C LSTATUS RegCloseKey(HKEY key);
TQ3FW_EXPORT_C LSTATUS RegFlushKey(HKEY key);

TQ3FW_EXPORT_C LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                        LPDWORD dataSize);
TQ3FW_EXPORT_C LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                      DWORD dataSize);
TQ3FW_EXPORT_C LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);

// Subkeys enumerate in the order of their folded names (by code point, so that
// alphabetical order holds within each script); values in the order in which
// they were first set. Keys keep no class and no last-write time: both read back
// empty and zero.
TQ3FW_EXPORT_C LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
                                     LPWSTR keyClass, LPDWORD classLength, PFILETIME lastWriteTime);
TQ3FW_EXPORT_C LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength,
                                     LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
TQ3FW_EXPORT_C LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved,
                                        LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength,
                                        LPDWORD values, LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                                        LPDWORD securityDescriptorSize, PFILETIME lastWriteTime);

// Deletes a key without subkeys (ERROR_ACCESS_DENIED when it has some) and its values.
TQ3FW_EXPORT_C LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// Deletes the values and subkeys of `subKey` (of `key` itself when null), and
// the key `subKey` too.
TQ3FW_EXPORT_C LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey);

namespace tq3::fw {

// Points a root (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE) at the database file
// `path`, given in the file system's encoding. With a `fallback`, the fallback
// file is used instead when `path` cannot be written; it starts as a copy of
// `path` when that one exists. An empty `path` restores the default location of
// the root. Handles opened below the root earlier become invalid. Returns
// ERROR_INVALID_HANDLE for any other root; the file itself is opened at first use.
TQ3FW_API LSTATUS SetRegistryStorePath(HKEY root, const std::string& path, const std::string& fallback = {});
// The file a root uses (after any fallback was taken), or empty before first use.
TQ3FW_API std::string GetRegistryStorePath(HKEY root);

// Groups the writes to one root into a single transaction: they reach the store
// all together at commit or not at all. Nested calls are refused with
// ERROR_INVALID_PARAMETER. A transaction left open holds the store's write lock.
TQ3FW_API LSTATUS BeginRegistryTransaction(HKEY root);
TQ3FW_API LSTATUS CommitRegistryTransaction(HKEY root);
TQ3FW_API LSTATUS RollbackRegistryTransaction(HKEY root);

// Owns an open key and closes it when it goes, so that a function with several
// ways out closes the key on each. Closing a predefined root does nothing, so
// one may be held as well.
class UniqueRegKey {
public:
    UniqueRegKey() = default;
    explicit UniqueRegKey(HKEY key) : key_(key) {}
    ~UniqueRegKey() { Reset(); }
    UniqueRegKey(UniqueRegKey&& other) noexcept : key_(other.Release()) {}
    UniqueRegKey& operator=(UniqueRegKey&& other) noexcept {
        if (this != &other) {
            Reset();
            key_ = other.Release();
        }
        return *this;
    }
    UniqueRegKey(const UniqueRegKey&) = delete;
    UniqueRegKey& operator=(const UniqueRegKey&) = delete;

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    // Closes the key held and gives the place for a function to store a new one:
    // RegOpenKeyExW(root, path, 0, KEY_READ, key.Put()).
    PHKEY Put() {
        Reset();
        return &key_;
    }
    HKEY Release() {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }
    void Reset() {
        if (key_ != nullptr) RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace tq3::fw
