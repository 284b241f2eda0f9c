// The registry's storage: one SQLite database file per root. Where the files
// live, how they are opened and what happens to damaged ones is described in
// registry_store_file.cpp.
//
// Schema (PRAGMA application_id 0x54513352, user_version 1)
//   reg_keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL,
//            name TEXT NOT NULL, folded TEXT NOT NULL, UNIQUE(parent, folded))
//     One row per key; the root key is id 0 and has no row. `name` is the name as
//     typed, `folded` the same name with every UTF-16 code unit upper-cased, which
//     is how names are compared. AUTOINCREMENT keeps ids of deleted keys from being
//     reused, so a handle to a deleted key can never reach a newer one.
//   reg_values(key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL,
//              type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, folded))
//     One row per value; `key` is 0 for a value of the root key. `type` is the
//     REG_* number and `data` the exact bytes. Rows keep their rowid when a value
//     is overwritten, so values enumerate in the order they were first set.
//   Names are UTF-8 text so that the file stays readable with standard tools.
//
// Safety between processes
//   Every registry call runs in one transaction; writes start with BEGIN IMMEDIATE
//   so two writers queue on the busy timeout instead of failing halfway, and a
//   process killed at any point leaves either the whole transaction or none of it.
//
// Sections: names and text | transactions | statements
#include "framework/system/registry_store_internal.h"

#include <sqlite3.h>
#include <unicode/ustring.h>

#include "framework/core/failure_value.h"
#include "framework/core/locale.h"

namespace tq3::fw::detail {

// ---- names and text ---------------------------------------------------------------

bool ToUtf8(const char16_t* text, std::size_t length, std::string* out) {
    out->clear();
    if (length == 0) return true;
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strToUTF8(nullptr, 0, &needed, text, static_cast<int32_t>(length), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    out->resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strToUTF8(out->data(), needed, nullptr, text, static_cast<int32_t>(length), &status);
    return U_SUCCESS(status);
}

bool ToUtf16(const std::string& text, std::u16string* out) {
    out->clear();
    if (text.empty()) return true;
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strFromUTF8(nullptr, 0, &needed, text.data(), static_cast<int32_t>(text.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    out->resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strFromUTF8(out->data(), needed, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status);
}

std::u16string FoldName(const char16_t* text, std::size_t length) {
    std::u16string folded(text, length);
    CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

// ---- transactions -------------------------------------------------------------------

LSTATUS RegistryStore::Fail(int rc) {
    switch (rc) {
        case SQLITE_NOMEM:
            return ERROR_OUTOFMEMORY;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return ERROR_BADDB;
        case SQLITE_FULL:
            return ERROR_DISK_FULL;
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return ERROR_ACCESS_DENIED;
        default:
            return writing_ || inExplicit_ ? ERROR_CANTWRITE : ERROR_CANTREAD;
    }
}

LSTATUS RegistryStore::Exec(const char* sql) {
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? ERROR_SUCCESS : Fail(rc);
}

namespace {

// A body that runs out of memory must still reach the COMMIT or ROLLBACK of its
// transaction, or the store would stay locked for every other process.
LSTATUS RunBody(const std::function<LSTATUS()>& body) { return GuardAllocations(ERROR_OUTOFMEMORY, body); }

}  // namespace

LSTATUS RegistryStore::Read(const std::function<LSTATUS()>& body) {
    if (LSTATUS rc = EnsureOpen(); rc != ERROR_SUCCESS) return rc;
    if (inExplicit_ || inImplicit_) return RunBody(body);
    writing_ = false;
    if (LSTATUS rc = Exec("BEGIN"); rc != ERROR_SUCCESS) return rc;
    inImplicit_ = true;
    LSTATUS result = RunBody(body);
    Exec(result == ERROR_SUCCESS ? "COMMIT" : "ROLLBACK");
    inImplicit_ = false;
    if (result == ERROR_BADDB) Close();
    return result;
}

LSTATUS RegistryStore::Write(const std::function<LSTATUS()>& body) {
    if (LSTATUS rc = EnsureOpen(); rc != ERROR_SUCCESS) return rc;
    ++localWrites_;  // changes not yet committed are invisible to the data version
    if (readOnly_) return ERROR_ACCESS_DENIED;
    if (inImplicit_) return RunBody(body);
    if (inExplicit_) {
        if (LSTATUS rc = Exec("SAVEPOINT reg_call"); rc != ERROR_SUCCESS) return rc;
        LSTATUS result = RunBody(body);
        if (result != ERROR_SUCCESS) Exec("ROLLBACK TO reg_call");
        Exec("RELEASE reg_call");
        return result;
    }
    writing_ = true;
    LSTATUS result = Exec("BEGIN IMMEDIATE");
    if (result == ERROR_SUCCESS) {
        inImplicit_ = true;
        result = RunBody(body);
        if (result == ERROR_SUCCESS) result = Exec("COMMIT");
        if (result != ERROR_SUCCESS && sqlite3_get_autocommit(db_) == 0) Exec("ROLLBACK");
        inImplicit_ = false;
    }
    writing_ = false;
    if (result == ERROR_BADDB) Close();
    return result;
}

LSTATUS RegistryStore::Begin() {
    if (LSTATUS rc = EnsureOpen(); rc != ERROR_SUCCESS) return rc;
    if (inExplicit_) return ERROR_INVALID_PARAMETER;
    if (readOnly_) return ERROR_ACCESS_DENIED;
    writing_ = true;
    LSTATUS rc = Exec("BEGIN IMMEDIATE");
    writing_ = false;
    if (rc == ERROR_SUCCESS) inExplicit_ = true;
    return rc;
}

LSTATUS RegistryStore::Commit() {
    if (!inExplicit_ || db_ == nullptr) return ERROR_INVALID_PARAMETER;
    LSTATUS rc = Exec("COMMIT");
    if (rc != ERROR_SUCCESS && sqlite3_get_autocommit(db_) == 0) Exec("ROLLBACK");
    inExplicit_ = false;
    return rc;
}

LSTATUS RegistryStore::Rollback() {
    if (!inExplicit_ || db_ == nullptr) return ERROR_INVALID_PARAMETER;
    ++localWrites_;
    LSTATUS rc = Exec("ROLLBACK");
    inExplicit_ = false;
    return rc;
}

// ---- statements ---------------------------------------------------------------------

sqlite3_stmt* RegistryStore::Statement(const char* sql) {
    for (CachedStatement& cached : statements_) {
        if (cached.sql == sql) {
            sqlite3_reset(cached.statement);
            sqlite3_clear_bindings(cached.statement);
            return cached.statement;
        }
    }
    statements_.reserve(statements_.size() + 1);  // may throw; nothing is prepared yet
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) return nullptr;
    statements_.push_back({sql, statement});
    return statement;
}

namespace {

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string ColumnText(sqlite3_stmt* statement, int index) {
    const unsigned char* text = sqlite3_column_text(statement, index);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text),
                                                         static_cast<std::size_t>(sqlite3_column_bytes(statement, index)));
}

// Column 2 holds the data, or only its length when the data is not wanted.
void ReadValueRow(sqlite3_stmt* statement, bool withData, ValueRecord* value) {
    value->name = ColumnText(statement, 0);
    value->type = static_cast<DWORD>(sqlite3_column_int64(statement, 1));
    if (!withData) {
        value->data.clear();
        value->size = static_cast<DWORD>(sqlite3_column_int64(statement, 2));
        return;
    }
    const BYTE* data = static_cast<const BYTE*>(sqlite3_column_blob(statement, 2));
    int size = sqlite3_column_bytes(statement, 2);
    value->data.assign(data, data + size);
    value->size = static_cast<DWORD>(size);
}

constexpr const char* kKeyExists = "SELECT 1 FROM reg_keys WHERE id=?1";
constexpr const char* kFindChild = "SELECT id FROM reg_keys WHERE parent=?1 AND folded=?2";
constexpr const char* kAddChild = "INSERT INTO reg_keys(parent, name, folded) VALUES(?1, ?2, ?3)";
constexpr const char* kCountChildren = "SELECT count(*) FROM reg_keys WHERE parent=?1";
constexpr const char* kChildNames = "SELECT name FROM reg_keys WHERE parent=?1 ORDER BY folded";
constexpr const char* kChildAt =
    "SELECT name, folded FROM reg_keys WHERE parent=?1 ORDER BY folded LIMIT 1 OFFSET ?2";
constexpr const char* kChildAfter =
    "SELECT name, folded FROM reg_keys WHERE parent=?1 AND folded>?2 ORDER BY folded LIMIT 1";
constexpr const char* kRemoveKeyValues = "DELETE FROM reg_values WHERE key=?1";
constexpr const char* kRemoveKey = "DELETE FROM reg_keys WHERE id=?1";
constexpr const char* kGetValue = "SELECT name, type, data FROM reg_values WHERE key=?1 AND folded=?2";
constexpr const char* kGetValueSize =
    "SELECT name, type, length(data) FROM reg_values WHERE key=?1 AND folded=?2";
// The position is found among the key's row ids alone: sorting whole rows would
// carry every value's data through the sort on each call.
constexpr const char* kValueRowAt = "SELECT rowid FROM reg_values WHERE key=?1 ORDER BY rowid LIMIT 1 OFFSET ?2";
constexpr const char* kValueOfRow = "SELECT name, type, data FROM reg_values WHERE rowid=?1";
constexpr const char* kValueSizeOfRow = "SELECT name, type, length(data) FROM reg_values WHERE rowid=?1";
constexpr const char* kValueSummaries = "SELECT name, length(data) FROM reg_values WHERE key=?1";
constexpr const char* kPutValue =
    "INSERT INTO reg_values(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
    " ON CONFLICT(key, folded) DO UPDATE SET type=excluded.type, data=excluded.data";
constexpr const char* kRemoveValue = "DELETE FROM reg_values WHERE key=?1 AND folded=?2";
constexpr const char* kTreeValues =
    "WITH RECURSIVE tree(id) AS (SELECT id FROM reg_keys WHERE parent=?1"
    " UNION ALL SELECT k.id FROM reg_keys k JOIN tree t ON k.parent=t.id)"
    " DELETE FROM reg_values WHERE key IN (SELECT id FROM tree) OR key=?1";
constexpr const char* kTreeKeys =
    "WITH RECURSIVE tree(id) AS (SELECT id FROM reg_keys WHERE parent=?1"
    " UNION ALL SELECT k.id FROM reg_keys k JOIN tree t ON k.parent=t.id)"
    " DELETE FROM reg_keys WHERE id IN (SELECT id FROM tree)";

}  // namespace

namespace {

// Leaves a cached statement reset when a statement function returns, so that no
// read cursor outlives the call that opened it.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit() {
        if (statement != nullptr) sqlite3_reset(statement);
    }
};

}  // namespace

#define TQ3_PREPARE(var, sql)                   \
    sqlite3_stmt* var = Statement(sql);         \
    ResetOnExit var##Reset{var};                \
    if (var == nullptr) return Fail(sqlite3_errcode(db_))

LSTATUS RegistryStore::KeyExists(KeyId id, bool* exists) {
    if (id == kRootKeyId) {
        *exists = true;
        return ERROR_SUCCESS;
    }
    TQ3_PREPARE(statement, kKeyExists);
    sqlite3_bind_int64(statement, 1, id);
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc);
    *exists = rc == SQLITE_ROW;
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::FindChild(KeyId parent, const std::string& folded, KeyId* child) {
    TQ3_PREPARE(statement, kFindChild);
    sqlite3_bind_int64(statement, 1, parent);
    BindText(statement, 2, folded);
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc);
    *child = rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::AddChild(KeyId parent, const StoredName& name, KeyId* child) {
    TQ3_PREPARE(statement, kAddChild);
    sqlite3_bind_int64(statement, 1, parent);
    BindText(statement, 2, name.typed);
    BindText(statement, 3, name.folded);
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) return Fail(rc);
    *child = sqlite3_last_insert_rowid(db_);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::CountChildren(KeyId parent, DWORD* count) {
    TQ3_PREPARE(statement, kCountChildren);
    sqlite3_bind_int64(statement, 1, parent);
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) return Fail(rc);
    *count = static_cast<DWORD>(sqlite3_column_int64(statement, 0));
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::ChildNames(KeyId parent, std::vector<std::string>* names) {
    TQ3_PREPARE(statement, kChildNames);
    sqlite3_bind_int64(statement, 1, parent);
    names->clear();
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) names->push_back(ColumnText(statement, 0));
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

// Walking subkeys index after index would cost a skip over all earlier names
// at each step; when the call asks for the index after the one answered last and
// nothing has changed in the store since, the walk goes on from that name.
LSTATUS RegistryStore::ChildAt(KeyId parent, DWORD index, std::string* name) {
    unsigned version = 0;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version);
    const bool resume = walk_.valid && walk_.parent == parent && walk_.index + 1 == index &&
                        walk_.dataVersion == version && walk_.localWrites == localWrites_;
    walk_.valid = false;
    TQ3_PREPARE(statement, resume ? kChildAfter : kChildAt);
    sqlite3_bind_int64(statement, 1, parent);
    if (resume)
        BindText(statement, 2, walk_.folded);
    else
        sqlite3_bind_int64(statement, 2, index);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) return ERROR_NO_MORE_ITEMS;
    if (rc != SQLITE_ROW) return Fail(rc);
    *name = ColumnText(statement, 0);
    std::string folded = ColumnText(statement, 1);
    walk_ = {true, parent, index, version, localWrites_, std::move(folded)};
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::RemoveKey(KeyId id) {
    TQ3_PREPARE(values, kRemoveKeyValues);
    sqlite3_bind_int64(values, 1, id);
    int rc = sqlite3_step(values);
    if (rc != SQLITE_DONE) return Fail(rc);
    TQ3_PREPARE(key, kRemoveKey);
    sqlite3_bind_int64(key, 1, id);
    rc = sqlite3_step(key);
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LSTATUS RegistryStore::GetValue(KeyId key, const std::string& folded, bool withData, ValueRecord* value) {
    TQ3_PREPARE(statement, withData ? kGetValue : kGetValueSize);
    sqlite3_bind_int64(statement, 1, key);
    BindText(statement, 2, folded);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) return ERROR_FILE_NOT_FOUND;
    if (rc != SQLITE_ROW) return Fail(rc);
    ReadValueRow(statement, withData, value);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::ValueAt(KeyId key, DWORD index, bool withData, ValueRecord* value) {
    TQ3_PREPARE(position, kValueRowAt);
    sqlite3_bind_int64(position, 1, key);
    sqlite3_bind_int64(position, 2, index);
    int rc = sqlite3_step(position);
    if (rc == SQLITE_DONE) return ERROR_NO_MORE_ITEMS;
    if (rc != SQLITE_ROW) return Fail(rc);
    TQ3_PREPARE(statement, withData ? kValueOfRow : kValueSizeOfRow);
    sqlite3_bind_int64(statement, 1, sqlite3_column_int64(position, 0));
    rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) return Fail(rc == SQLITE_DONE ? SQLITE_CORRUPT : rc);
    ReadValueRow(statement, withData, value);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::ValueSummaries(KeyId key, std::vector<std::pair<std::string, DWORD>>* namesAndSizes) {
    TQ3_PREPARE(statement, kValueSummaries);
    sqlite3_bind_int64(statement, 1, key);
    namesAndSizes->clear();
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        namesAndSizes->emplace_back(ColumnText(statement, 0), static_cast<DWORD>(sqlite3_column_int64(statement, 1)));
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LSTATUS RegistryStore::PutValue(KeyId key, const StoredName& name, DWORD type, const BYTE* data, DWORD size) {
    TQ3_PREPARE(statement, kPutValue);
    sqlite3_bind_int64(statement, 1, key);
    BindText(statement, 2, name.typed);
    BindText(statement, 3, name.folded);
    sqlite3_bind_int64(statement, 4, type);
    // A zero-length blob still binds as a blob, never as NULL.
    static const BYTE kEmpty = 0;
    sqlite3_bind_blob(statement, 5, size == 0 ? &kEmpty : data, static_cast<int>(size), SQLITE_TRANSIENT);
    int rc = sqlite3_step(statement);
    return rc == SQLITE_DONE ? ERROR_SUCCESS : Fail(rc);
}

LSTATUS RegistryStore::RemoveValue(KeyId key, const std::string& folded) {
    TQ3_PREPARE(statement, kRemoveValue);
    sqlite3_bind_int64(statement, 1, key);
    BindText(statement, 2, folded);
    int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) return Fail(rc);
    return sqlite3_changes(db_) > 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS RegistryStore::RemoveTree(KeyId id, bool keepKey) {
    TQ3_PREPARE(values, kTreeValues);
    sqlite3_bind_int64(values, 1, id);
    int rc = sqlite3_step(values);
    if (rc != SQLITE_DONE) return Fail(rc);
    TQ3_PREPARE(keys, kTreeKeys);
    sqlite3_bind_int64(keys, 1, id);
    rc = sqlite3_step(keys);
    if (rc != SQLITE_DONE) return Fail(rc);
    if (keepKey || id == kRootKeyId) return ERROR_SUCCESS;
    return RemoveKey(id);
}

#undef TQ3_PREPARE

}  // namespace tq3::fw::detail
