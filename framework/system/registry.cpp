// The registry functions: handles, paths and names, access rights and the
// platform's result conventions, on top of one RegistryStore per root.
//
// Sections: roots and handles | names and paths | keys | values | enumeration |
// deletion | store control
// Each function resolves its handle and checks the handle's rights (ResolveWith),
// turns names into their stored form (ParsePath, ParseValueName) and then runs
// one transaction on the root's store, in which it first checks that the key
// still exists (OnLiveKey).
#include "framework/system/registry.h"

#include <pthread.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "framework/core/failure_value.h"
#include "framework/system/registry_store_internal.h"

using tq3::fw::detail::KeyId;
using tq3::fw::detail::kRootKeyId;
using tq3::fw::detail::RegistryStore;
using tq3::fw::detail::StoredName;
using tq3::fw::detail::StoreKind;
using tq3::fw::detail::ValueRecord;

namespace {

// ---- roots and handles --------------------------------------------------------------

constexpr LSTATUS ERROR_NOACCESS = 998;
constexpr REGSAM kKnownRights = KEY_ALL_ACCESS | WRITE_DAC | WRITE_OWNER;
constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

struct Root {
    explicit Root(StoreKind kind) : store(kind) {}
    RegistryStore store;
    unsigned generation = 0;  // bumped when the root moves to another file
};

struct OpenKey {
    Root* root = nullptr;
    KeyId id = kRootKeyId;
    REGSAM rights = 0;
    unsigned generation = 0;
};

// Before a fork the connections are closed: SQLite's file locks do not pass to the
// child, and a connection copied into it would believe it still held them.
void CloseStoresBeforeFork();

struct Registry {
    Registry() { pthread_atfork(CloseStoresBeforeFork, nullptr, nullptr); }
    Root user{StoreKind::User};
    Root machine{StoreKind::Machine};
    std::unordered_map<ULONG_PTR, OpenKey> handles;
    ULONG_PTR nextHandle = 0x1000;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

void CloseStoresBeforeFork() {
    TheRegistry().user.store.CloseIfIdle();
    TheRegistry().machine.store.CloseIfIdle();
}

Root* RootOf(HKEY key) {
    if (key == HKEY_CURRENT_USER) return &TheRegistry().user;
    if (key == HKEY_LOCAL_MACHINE) return &TheRegistry().machine;
    return nullptr;
}

bool IsPredefined(HKEY key) { return RootOf(key) != nullptr; }

LSTATUS Resolve(HKEY key, OpenKey* open) {
    if (Root* root = RootOf(key)) {
        *open = OpenKey{root, kRootKeyId, kKnownRights, root->generation};
        return ERROR_SUCCESS;
    }
    auto found = TheRegistry().handles.find(reinterpret_cast<ULONG_PTR>(key));
    if (found == TheRegistry().handles.end()) return ERROR_INVALID_HANDLE;
    if (found->second.generation != found->second.root->generation) return ERROR_INVALID_HANDLE;
    *open = found->second;
    return ERROR_SUCCESS;
}

// A handle is reserved before the key is created, so that running out of memory
// for the handle cannot happen after the store was changed; it is either
// completed with the key's id or released.
class PendingHandle {
public:
    PendingHandle(Root* root, REGSAM rights) : value_(TheRegistry().nextHandle) {
        TheRegistry().handles.emplace(value_, OpenKey{root, kRootKeyId, rights, root->generation});
        TheRegistry().nextHandle += 4;
    }
    ~PendingHandle() {
        if (value_ != 0) TheRegistry().handles.erase(value_);
    }
    PendingHandle(const PendingHandle&) = delete;
    PendingHandle& operator=(const PendingHandle&) = delete;

    HKEY Complete(KeyId id) {
        TheRegistry().handles.find(value_)->second.id = id;
        ULONG_PTR value = value_;
        value_ = 0;
        return reinterpret_cast<HKEY>(value);
    }

private:
    ULONG_PTR value_;
};

LSTATUS CheckAlive(RegistryStore& store, KeyId id) {
    bool exists = false;
    LSTATUS rc = store.KeyExists(id, &exists);
    if (rc != ERROR_SUCCESS) return rc;
    return exists ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Runs an operation with out-of-memory turned into a result.
template <typename Body>
LSTATUS Guarded(Body&& body) {
    return tq3::fw::GuardAllocations(ERROR_OUTOFMEMORY, std::forward<Body>(body));
}

// Resolves `key` and checks that its handle carries every right in `needed`.
LSTATUS ResolveWith(HKEY key, REGSAM needed, OpenKey* open) {
    if (LSTATUS rc = Resolve(key, open); rc != ERROR_SUCCESS) return rc;
    return (open->rights & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

enum class Access { Read, Write };

// Runs `step` on the key's store in one read or one write transaction, after
// making sure the key still exists: another handle may have deleted it since
// this one was opened.
template <typename Step>
LSTATUS OnLiveKey(const OpenKey& open, Access access, Step&& step) {
    RegistryStore& store = open.root->store;
    const auto body = [&]() -> LSTATUS {
        if (LSTATUS alive = CheckAlive(store, open.id); alive != ERROR_SUCCESS) return alive;
        return step(store);
    };
    return access == Access::Write ? store.Write(body) : store.Read(body);
}

// ---- names and paths ----------------------------------------------------------------

std::size_t Length(LPCWSTR text) {
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

LSTATUS MakeName(LPCWSTR text, std::size_t length, std::size_t limit, StoredName* name) {
    if (length > limit) return ERROR_INVALID_PARAMETER;
    std::u16string folded = tq3::fw::detail::FoldName(text, length);
    if (!tq3::fw::detail::ToUtf8(text, length, &name->typed) ||
        !tq3::fw::detail::ToUtf8(folded.data(), folded.size(), &name->folded))
        return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

// Splits a key path into names. Runs of backslashes count as one separator and a
// trailing one is ignored; a leading one is refused, as the platform refuses it.
LSTATUS ParsePath(LPCWSTR path, std::vector<StoredName>* names) {
    names->clear();
    if (path == nullptr) return ERROR_SUCCESS;
    if (path[0] == u'\\') return ERROR_BAD_PATHNAME;
    std::size_t start = 0;
    for (std::size_t i = 0;; ++i) {
        if (path[i] != u'\\' && path[i] != 0) continue;
        if (i > start) {
            StoredName name;
            if (LSTATUS rc = MakeName(path + start, i - start, kRegMaxKeyNameLength, &name); rc != ERROR_SUCCESS)
                return rc;
            names->push_back(std::move(name));
        }
        if (path[i] == 0) break;
        start = i + 1;
    }
    return ERROR_SUCCESS;
}

// A null or empty value name is the key's default value.
LSTATUS ParseValueName(LPCWSTR text, StoredName* name) {
    if (text == nullptr) {
        *name = StoredName{};
        return ERROR_SUCCESS;
    }
    return MakeName(text, Length(text), kRegMaxValueNameLength, name);
}

LSTATUS Walk(RegistryStore& store, KeyId from, const std::vector<StoredName>& names, KeyId* found) {
    KeyId id = from;
    for (const StoredName& name : names) {
        KeyId child = 0;
        if (LSTATUS rc = store.FindChild(id, name.folded, &child); rc != ERROR_SUCCESS) return rc;
        if (child == 0) return ERROR_FILE_NOT_FOUND;
        id = child;
    }
    *found = id;
    return ERROR_SUCCESS;
}

// Copies a stored UTF-8 name into a caller's buffer of `*length` code units
// (terminating zero included); on success `*length` becomes the name's length.
LSTATUS CopyName(const std::string& name, LPWSTR buffer, LPDWORD length) {
    std::u16string text;
    if (!tq3::fw::detail::ToUtf16(name, &text)) return ERROR_BADDB;
    if (text.size() + 1 > *length) return ERROR_MORE_DATA;
    std::memcpy(buffer, text.data(), text.size() * sizeof(WCHAR));
    buffer[text.size()] = 0;
    *length = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

// Copies a value's data into a caller's buffer of `*dataSize` bytes (when there is
// one) and reports the data's size; ERROR_MORE_DATA when it does not fit.
LSTATUS CopyData(const ValueRecord& value, LPBYTE data, LPDWORD dataSize) {
    if (data != nullptr && *dataSize < value.size) {
        *dataSize = value.size;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && value.size > 0) std::memcpy(data, value.data.data(), value.size);
    if (dataSize != nullptr) *dataSize = value.size;
    return ERROR_SUCCESS;
}

DWORD Utf16Length(const std::string& name) {
    std::u16string text;
    tq3::fw::detail::ToUtf16(name, &text);
    return static_cast<DWORD>(text.size());
}

REGSAM GrantedRights(REGSAM desired) {
    if (desired & MAXIMUM_ALLOWED) desired |= kKnownRights;
    return desired & kKnownRights;
}

// Opens `names` below `base` for reading; ERROR_FILE_NOT_FOUND when any is missing.
LSTATUS OpenExisting(const OpenKey& base, const std::vector<StoredName>& names, KeyId* id) {
    return OnLiveKey(base, Access::Read,
                     [&](RegistryStore& store) -> LSTATUS { return Walk(store, base.id, names, id); });
}

// Write rights cannot be granted on a store file that may only be read.
LSTATUS CheckWritable(const OpenKey& base, REGSAM rights) {
    if ((rights & kWriteRights) == 0) return ERROR_SUCCESS;
    bool readOnly = false;
    if (LSTATUS rc = base.root->store.IsReadOnly(&readOnly); rc != ERROR_SUCCESS) return rc;
    return readOnly ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

}  // namespace

// ---- keys -------------------------------------------------------------------------------

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD /*options*/, REGSAM desired, PHKEY result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return Guarded([&]() -> LSTATUS {
        OpenKey base;
        if (LSTATUS rc = Resolve(key, &base); rc != ERROR_SUCCESS) return rc;
        std::vector<StoredName> names;
        if (LSTATUS rc = ParsePath(subKey, &names); rc != ERROR_SUCCESS) return rc;
        REGSAM rights = GrantedRights(desired);
        if (names.empty() && IsPredefined(key)) {
            // The platform hands the root itself back instead of a new handle.
            *result = key;
            return ERROR_SUCCESS;
        }
        PendingHandle handle(base.root, rights);
        KeyId id = 0;
        if (LSTATUS rc = OpenExisting(base, names, &id); rc != ERROR_SUCCESS) return rc;
        if (LSTATUS rc = CheckWritable(base, rights); rc != ERROR_SUCCESS) return rc;
        *result = handle.Complete(id);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD /*reserved*/, LPWSTR /*keyClass*/, DWORD /*options*/,
                        REGSAM desired, const LPSECURITY_ATTRIBUTES /*security*/, PHKEY result, LPDWORD disposition) {
    if (result == nullptr || subKey == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return Guarded([&]() -> LSTATUS {
        OpenKey base;
        if (LSTATUS rc = Resolve(key, &base); rc != ERROR_SUCCESS) return rc;
        std::vector<StoredName> names;
        if (LSTATUS rc = ParsePath(subKey, &names); rc != ERROR_SUCCESS) return rc;
        REGSAM rights = GrantedRights(desired);
        if (LSTATUS rc = CheckWritable(base, rights); rc != ERROR_SUCCESS) return rc;
        if (names.empty() && IsPredefined(key)) {
            *result = key;
            if (disposition != nullptr) *disposition = REG_OPENED_EXISTING_KEY;
            return ERROR_SUCCESS;
        }
        // Creation is allowed whatever rights the parent handle carries: the
        // platform checks it against the key's owner, who is always the user here.
        PendingHandle handle(base.root, rights);
        KeyId id = 0;
        bool created = false;
        LSTATUS rc = OpenExisting(base, names, &id);
        if (rc == ERROR_FILE_NOT_FOUND) {
            rc = OnLiveKey(base, Access::Write, [&](RegistryStore& store) -> LSTATUS {
                created = false;
                id = base.id;
                for (const StoredName& name : names) {
                    KeyId child = 0;
                    if (LSTATUS step = store.FindChild(id, name.folded, &child); step != ERROR_SUCCESS) return step;
                    if (child == 0) {
                        if (LSTATUS step = store.AddChild(id, name, &child); step != ERROR_SUCCESS) return step;
                        created = true;
                    }
                    id = child;
                }
                return ERROR_SUCCESS;
            });
        }
        if (rc != ERROR_SUCCESS) return rc;
        *result = handle.Complete(id);
        if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegCloseKey(HKEY key) {
    if (IsPredefined(key)) return ERROR_SUCCESS;
    return TheRegistry().handles.erase(reinterpret_cast<ULONG_PTR>(key)) > 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

// Every call commits before it returns, so there is nothing left to flush.
LSTATUS RegFlushKey(HKEY key) {
    OpenKey open;
    return Resolve(key, &open);
}

// ---- values -----------------------------------------------------------------------------

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize) {
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LSTATUS {
        OpenKey open;
        if (LSTATUS rc = ResolveWith(key, KEY_QUERY_VALUE, &open); rc != ERROR_SUCCESS) return rc;
        StoredName name;
        if (LSTATUS rc = ParseValueName(valueName, &name); rc != ERROR_SUCCESS) return rc;
        ValueRecord value;
        LSTATUS rc = OnLiveKey(open, Access::Read, [&](RegistryStore& store) -> LSTATUS {
            return store.GetValue(open.id, name.folded, data != nullptr, &value);
        });
        if (rc != ERROR_SUCCESS) return rc;
        if (type != nullptr) *type = value.type;
        return CopyData(value, data, dataSize);
    });
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data,
                       DWORD dataSize) {
    if (data == nullptr && dataSize > 0) return ERROR_NOACCESS;
    return Guarded([&]() -> LSTATUS {
        OpenKey open;
        if (LSTATUS rc = ResolveWith(key, KEY_SET_VALUE, &open); rc != ERROR_SUCCESS) return rc;
        StoredName name;
        if (LSTATUS rc = ParseValueName(valueName, &name); rc != ERROR_SUCCESS) return rc;
        return OnLiveKey(open, Access::Write, [&](RegistryStore& store) -> LSTATUS {
            return store.PutValue(open.id, name, type, data, dataSize);
        });
    });
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    return Guarded([&]() -> LSTATUS {
        OpenKey open;
        if (LSTATUS rc = ResolveWith(key, KEY_SET_VALUE, &open); rc != ERROR_SUCCESS) return rc;
        StoredName name;
        if (LSTATUS rc = ParseValueName(valueName, &name); rc != ERROR_SUCCESS) return rc;
        return OnLiveKey(open, Access::Write,
                         [&](RegistryStore& store) -> LSTATUS { return store.RemoveValue(open.id, name.folded); });
    });
}

// ---- enumeration ------------------------------------------------------------------------

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
                      LPDWORD classLength, PFILETIME lastWriteTime) {
    if (name == nullptr || nameLength == nullptr || reserved != nullptr) return ERROR_INVALID_PARAMETER;
    if (keyClass != nullptr && classLength == nullptr) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LSTATUS {
        OpenKey open;
        if (LSTATUS rc = ResolveWith(key, KEY_ENUMERATE_SUB_KEYS, &open); rc != ERROR_SUCCESS) return rc;
        std::string child;
        LSTATUS rc = OnLiveKey(open, Access::Read,
                               [&](RegistryStore& store) -> LSTATUS { return store.ChildAt(open.id, index, &child); });
        if (rc != ERROR_SUCCESS) return rc;
        if (rc = CopyName(child, name, nameLength); rc != ERROR_SUCCESS) return rc;
        // Keys carry no class and no write time in this store.
        if (keyClass != nullptr && *classLength > 0) keyClass[0] = 0;
        if (classLength != nullptr) *classLength = 0;
        if (lastWriteTime != nullptr) *lastWriteTime = FILETIME{0, 0};
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (valueName == nullptr || valueNameLength == nullptr || reserved != nullptr) return ERROR_INVALID_PARAMETER;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LSTATUS {
        OpenKey open;
        if (LSTATUS rc = ResolveWith(key, KEY_QUERY_VALUE, &open); rc != ERROR_SUCCESS) return rc;
        ValueRecord value;
        LSTATUS rc = OnLiveKey(open, Access::Read, [&](RegistryStore& store) -> LSTATUS {
            return store.ValueAt(open.id, index, data != nullptr, &value);
        });
        if (rc != ERROR_SUCCESS) return rc;
        if (rc = CopyName(value.name, valueName, valueNameLength); rc != ERROR_SUCCESS) return rc;
        if (type != nullptr) *type = value.type;
        return CopyData(value, data, dataSize);
    });
}

LSTATUS RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                         LPDWORD maxValueLength, LPDWORD securityDescriptorSize, PFILETIME lastWriteTime) {
    if (reserved != nullptr || (keyClass != nullptr && classLength == nullptr)) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LSTATUS {
        OpenKey open;
        if (LSTATUS rc = ResolveWith(key, KEY_QUERY_VALUE, &open); rc != ERROR_SUCCESS) return rc;
        std::vector<std::string> children;
        std::vector<std::pair<std::string, DWORD>> summaries;
        LSTATUS rc = OnLiveKey(open, Access::Read, [&](RegistryStore& store) -> LSTATUS {
            if (LSTATUS step = store.ChildNames(open.id, &children); step != ERROR_SUCCESS) return step;
            return store.ValueSummaries(open.id, &summaries);
        });
        if (rc != ERROR_SUCCESS) return rc;
        DWORD longestKey = 0, longestName = 0, largestValue = 0;
        for (const std::string& child : children) longestKey = std::max(longestKey, Utf16Length(child));
        for (const auto& [name, size] : summaries) {
            longestName = std::max(longestName, Utf16Length(name));
            largestValue = std::max(largestValue, size);
        }
        if (keyClass != nullptr && *classLength > 0) keyClass[0] = 0;
        if (classLength != nullptr) *classLength = 0;
        if (subKeys != nullptr) *subKeys = static_cast<DWORD>(children.size());
        if (maxSubKeyLength != nullptr) *maxSubKeyLength = longestKey;
        if (maxClassLength != nullptr) *maxClassLength = 0;
        if (values != nullptr) *values = static_cast<DWORD>(summaries.size());
        if (maxValueNameLength != nullptr) *maxValueNameLength = longestName;
        if (maxValueLength != nullptr) *maxValueLength = largestValue;
        if (securityDescriptorSize != nullptr) *securityDescriptorSize = 0;
        if (lastWriteTime != nullptr) *lastWriteTime = FILETIME{0, 0};
        return ERROR_SUCCESS;
    });
}

// ---- deletion ---------------------------------------------------------------------------

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
    return Guarded([&]() -> LSTATUS {
        OpenKey base;
        if (LSTATUS rc = Resolve(key, &base); rc != ERROR_SUCCESS) return rc;
        std::vector<StoredName> names;
        if (LSTATUS rc = ParsePath(subKey, &names); rc != ERROR_SUCCESS) return rc;
        return OnLiveKey(base, Access::Write, [&](RegistryStore& store) -> LSTATUS {
            KeyId id = 0;
            if (LSTATUS rc = Walk(store, base.id, names, &id); rc != ERROR_SUCCESS) return rc;
            if (id == kRootKeyId) return ERROR_ACCESS_DENIED;  // a root cannot be deleted
            DWORD children = 0;
            if (LSTATUS rc = store.CountChildren(id, &children); rc != ERROR_SUCCESS) return rc;
            if (children > 0) return ERROR_ACCESS_DENIED;
            return store.RemoveKey(id);
        });
    });
}

LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey) {
    return Guarded([&]() -> LSTATUS {
        OpenKey base;
        const REGSAM needed =
            DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | (subKey == nullptr ? KEY_SET_VALUE : 0);
        if (LSTATUS rc = ResolveWith(key, needed, &base); rc != ERROR_SUCCESS) return rc;
        std::vector<StoredName> names;
        if (LSTATUS rc = ParsePath(subKey, &names); rc != ERROR_SUCCESS) return rc;
        return OnLiveKey(base, Access::Write, [&](RegistryStore& store) -> LSTATUS {
            KeyId id = 0;
            if (LSTATUS rc = Walk(store, base.id, names, &id); rc != ERROR_SUCCESS) return rc;
            return store.RemoveTree(id, subKey == nullptr || names.empty());
        });
    });
}

// ---- store control ----------------------------------------------------------------------

namespace tq3::fw {

LSTATUS SetRegistryStorePath(HKEY root, const std::string& path, const std::string& fallback) {
    Root* target = RootOf(root);
    if (target == nullptr) return ERROR_INVALID_HANDLE;
    return Guarded([&]() -> LSTATUS {
        target->store.SetLocation(path, fallback);
        ++target->generation;
        return ERROR_SUCCESS;
    });
}

std::string GetRegistryStorePath(HKEY root) {
    Root* target = RootOf(root);
    if (target == nullptr) return {};
    return tq3::fw::GuardAllocations(std::string(), [&] { return target->store.ActivePath(); });
}

LSTATUS BeginRegistryTransaction(HKEY root) {
    Root* target = RootOf(root);
    return target == nullptr ? ERROR_INVALID_HANDLE : Guarded([&] { return target->store.Begin(); });
}

LSTATUS CommitRegistryTransaction(HKEY root) {
    Root* target = RootOf(root);
    return target == nullptr ? ERROR_INVALID_HANDLE : Guarded([&] { return target->store.Commit(); });
}

LSTATUS RollbackRegistryTransaction(HKEY root) {
    Root* target = RootOf(root);
    return target == nullptr ? ERROR_INVALID_HANDLE : Guarded([&] { return target->store.Rollback(); });
}

}  // namespace tq3::fw
