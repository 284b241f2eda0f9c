// One root's database: the connection, where its file lives, and the
// statements the registry functions are built from. Key ids are the store's own;
// the root key itself has id 0 and no row.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/system/registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tq3::fw::detail {

using KeyId = std::int64_t;
constexpr KeyId kRootKeyId = 0;

// A name in the two forms the store keeps: as typed and folded (UTF-8 both).
struct StoredName {
    std::string typed;
    std::string folded;
};

struct ValueRecord {
    std::string name;  // as typed, UTF-8
    DWORD type = REG_NONE;
    std::vector<BYTE> data;  // empty when only the size was asked for
    DWORD size = 0;          // the data's size in bytes
};

// Which file a path named when it was looked at (a later rename leaves it).
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool exists = false;
    bool operator==(const FileIdentity&) const = default;
};

enum class StoreKind {
    User,     // private to the user: WAL journal, folder 0700, file 0600
    Machine,  // readable by everyone: DELETE journal, folder 0755, file 0644
};

class RegistryStore {
public:
    explicit RegistryStore(StoreKind kind) : kind_(kind) {}
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Chooses the file (empty path: the default location); closes the old one.
    void SetLocation(const std::string& path, const std::string& fallback);
    const std::string& ActivePath() const { return activePath_; }
    // Whether the open file can only be read (opens the store when needed).
    LSTATUS IsReadOnly(bool* readOnly);
    // Closes the connection unless a transaction is open (before a fork).
    void CloseIfIdle();

    // Runs `body` inside a transaction: a read one, or a write one that holds the
    // write lock from the start. Inside an explicit transaction each write runs in
    // a savepoint, so a failed call leaves no partial change behind.
    LSTATUS Read(const std::function<LSTATUS()>& body);
    LSTATUS Write(const std::function<LSTATUS()>& body);

    LSTATUS Begin();
    LSTATUS Commit();
    LSTATUS Rollback();

    // The statements; they assume a transaction is running.
    LSTATUS KeyExists(KeyId id, bool* exists);
    LSTATUS FindChild(KeyId parent, const std::string& folded, KeyId* child);  // 0 when absent
    LSTATUS AddChild(KeyId parent, const StoredName& name, KeyId* child);
    LSTATUS CountChildren(KeyId parent, DWORD* count);
    LSTATUS ChildNames(KeyId parent, std::vector<std::string>* names);  // in enumeration order
    LSTATUS ChildAt(KeyId parent, DWORD index, std::string* name);      // ERROR_NO_MORE_ITEMS past the end
    LSTATUS RemoveKey(KeyId id);  // the key and its values; the caller checks for subkeys
    // Without `withData` only the value's size is read, however large its data.
    LSTATUS GetValue(KeyId key, const std::string& folded, bool withData, ValueRecord* value);  // FILE_NOT_FOUND
    LSTATUS ValueAt(KeyId key, DWORD index, bool withData, ValueRecord* value);                 // NO_MORE_ITEMS
    LSTATUS ValueSummaries(KeyId key, std::vector<std::pair<std::string, DWORD>>* namesAndSizes);
    LSTATUS PutValue(KeyId key, const StoredName& name, DWORD type, const BYTE* data, DWORD size);
    LSTATUS RemoveValue(KeyId key, const std::string& folded);  // ERROR_FILE_NOT_FOUND
    // Removes every key below `id` with its values, then `id`'s own values and,
    // unless `keepKey`, `id` itself.
    LSTATUS RemoveTree(KeyId id, bool keepKey);

private:
    // Opening (registry_store_file.cpp).
    LSTATUS EnsureOpen();
    LSTATUS ResolvePath(std::string* path, bool* writable);
    LSTATUS OpenFile(const std::string& path, bool writable, bool* damaged);
    int Connect(const std::string& name, int flags);  // an SQLite result
    LSTATUS MakeReadable(const std::string& path);
    LSTATUS PrepareSchema(const std::string& path, bool* damaged);
    LSTATUS CreateSchema();
    LSTATUS SetAside(const std::string& path, const FileIdentity& seen);
    void Report(const std::string& message);  // one line on stderr, not twice in a row
    void Close();
    LSTATUS Exec(const char* sql);
    LSTATUS Fail(int rc);
    sqlite3_stmt* Statement(const char* sql);  // prepared once per connection, reset for reuse

    struct CachedStatement {
        const char* sql;
        sqlite3_stmt* statement;
    };
    std::vector<CachedStatement> statements_;

    // Where the last subkey enumeration stopped (see ChildAt).
    struct SubkeyWalk {
        bool valid = false;
        KeyId parent = 0;
        DWORD index = 0;
        unsigned dataVersion = 0;   // the file's version when it was answered
        unsigned localWrites = 0;   // this connection's write count then
        std::string folded;         // the folded name answered
    };
    SubkeyWalk walk_;
    unsigned localWrites_ = 0;

    static int WaitWhileBusy(void* self, int count);

    StoreKind kind_;
    std::string configuredPath_;  // empty: the default location
    std::string fallbackPath_;    // used when the configured file cannot be written
    std::string activePath_;      // the file actually open, after any fallback
    std::string snapshotDir_;     // a private copy being read, when the store's folder is read-only
    std::string lastReport_;      // the last line written on stderr
    sqlite3* db_ = nullptr;
    bool readOnly_ = false;     // the file could only be opened for reading
    bool inExplicit_ = false;   // Begin() was called and not yet ended
    bool inImplicit_ = false;   // Read()/Write() is running its own transaction
    bool writing_ = false;      // the running implicit transaction is a write
    std::chrono::steady_clock::time_point busySince_;  // when the current wait for a lock began
    std::uint32_t jitter_ = 0x9E3779B9u;               // state of the sleep-length scrambler
};

// UTF-16 <-> UTF-8 for names; false on an unpaired surrogate or bad UTF-8.
bool ToUtf8(const char16_t* text, std::size_t length, std::string* out);
bool ToUtf16(const std::string& text, std::u16string* out);
// The folded form of a name: each code unit mapped to upper case.
std::u16string FoldName(const char16_t* text, std::size_t length);

}  // namespace tq3::fw::detail
