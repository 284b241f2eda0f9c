// The registry's storage: one SQLite database file per root.
//
// Where the files live
//   HKEY_CURRENT_USER   $XDG_CONFIG_HOME/tq3view/user-registry.db (~/.config when
//                       the variable is unset); the folder is created 0700, the
//                       file 0600; WAL journal, so readers never wait for a writer.
//   HKEY_LOCAL_MACHINE  /etc/xdg/tq3view/machine-registry.db, folder 0755, file
//                       0644, DELETE journal, so that other users can read it
//                       without write access to a shared-memory file. When it
//                       cannot be written, the user's own copy
//                       $XDG_CONFIG_HOME/tq3view/machine-registry.db is used,
//                       started as a copy of the machine-wide file.
//   SetRegistryStorePath points either root at another file (hosts, tests, tq3reg).
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
//   A file that is not a store of ours, or a damaged one, is never rewritten: the
//   open fails with ERROR_BADDB and the file stays as it is.
//
// Sections: names and text | location | open and schema | transactions | statements
#include "framework/system/registry_store_internal.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unicode/ustring.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "framework/core/failure_value.h"
#include "framework/core/locale.h"

namespace tq3::fw::detail {

namespace {

constexpr int kApplicationId = 0x54513352;
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 10000;
constexpr const char* kProductFolder = "tq3view";
constexpr const char* kMachineFolder = "/etc/xdg/tq3view";

}  // namespace

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

// ---- location ------------------------------------------------------------------------

namespace {

std::string ConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == 0) {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : "/";
    }
    return std::string(home) + "/.config";
}

std::string Parent(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the missing folders of `dir` with `mode`; true when it exists afterwards.
bool MakeFolders(const std::string& dir, mode_t mode) {
    struct stat info;
    if (stat(dir.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    if (dir.empty() || dir == "/" || dir == ".") return false;
    if (!MakeFolders(Parent(dir), mode)) return false;
    if (mkdir(dir.c_str(), mode) != 0 && errno != EEXIST) return false;
    chmod(dir.c_str(), mode);  // the umask must not widen or narrow what we chose
    return true;
}

// Creates the file with `mode` when it does not exist; true when it can be opened
// for writing afterwards and its folder takes the journal file.
bool PrepareWritableFile(const std::string& path, mode_t mode) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) {
        fchmod(fd, mode);
        close(fd);
    } else if (errno == EEXIST) {
        fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return false;
        close(fd);
    } else {
        return false;
    }
    return access(Parent(path).c_str(), W_OK) == 0;
}

bool FileHasContent(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
}

// Copies one store file into another with SQLite's online backup, so the copy is
// consistent even while another process writes the original.
bool CopyStore(const std::string& from, const std::string& to) {
    sqlite3* source = nullptr;
    sqlite3* target = nullptr;
    bool ok = sqlite3_open_v2(from.c_str(), &source, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
              sqlite3_open_v2(to.c_str(), &target, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_busy_timeout(source, kBusyTimeoutMs);
        sqlite3_busy_timeout(target, kBusyTimeoutMs);
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
        ok = backup != nullptr && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        if (backup != nullptr) ok = sqlite3_backup_finish(backup) == SQLITE_OK && ok;
    }
    sqlite3_close_v2(source);
    sqlite3_close_v2(target);
    return ok;
}

}  // namespace

RegistryStore::~RegistryStore() { Close(); }

void RegistryStore::SetLocation(const std::string& path, const std::string& fallback) {
    Close();
    configuredPath_ = path;
    fallbackPath_ = fallback;
    activePath_.clear();
}

void RegistryStore::CloseIfIdle() {
    if (!inExplicit_ && !inImplicit_) Close();
}

void RegistryStore::Close() {
    for (CachedStatement& cached : statements_) sqlite3_finalize(cached.statement);
    statements_.clear();
    walk_.valid = false;
    if (db_ != nullptr) sqlite3_close_v2(db_);
    db_ = nullptr;
    inExplicit_ = false;
    inImplicit_ = false;
}

LSTATUS RegistryStore::ResolvePath(std::string* path) {
    std::string primary = configuredPath_;
    std::string fallback = fallbackPath_;
    if (primary.empty()) {
        std::string productDir = ConfigHome() + "/" + kProductFolder;
        if (kind_ == StoreKind::User) {
            if (!MakeFolders(productDir, 0700)) return ERROR_CANTWRITE;
            primary = productDir + "/user-registry.db";
        } else {
            primary = std::string(kMachineFolder) + "/machine-registry.db";
            fallback = productDir + "/machine-registry.db";
        }
    }
    const mode_t fileMode = kind_ == StoreKind::User ? 0600 : 0644;
    if (kind_ == StoreKind::Machine && configuredPath_.empty()) MakeFolders(Parent(primary), 0755);
    if (PrepareWritableFile(primary, fileMode) || fallback.empty()) {
        // Without a fallback an unwritable file is still opened, for reading.
        *path = primary;
        return ERROR_SUCCESS;
    }
    // The machine-wide file is out of reach for writing: work on the user's copy.
    if (configuredPath_.empty() && !MakeFolders(Parent(fallback), 0700)) return ERROR_CANTWRITE;
    bool seed = !FileHasContent(fallback) && FileHasContent(primary) && access(primary.c_str(), R_OK) == 0;
    if (!PrepareWritableFile(fallback, 0600)) return ERROR_CANTWRITE;
    if (seed && !CopyStore(primary, fallback)) return ERROR_CANTREAD;
    *path = fallback;
    return ERROR_SUCCESS;
}

// ---- open and schema ----------------------------------------------------------------

LSTATUS RegistryStore::IsReadOnly(bool* readOnly) {
    LSTATUS rc = EnsureOpen();
    *readOnly = readOnly_;
    return rc;
}

LSTATUS RegistryStore::EnsureOpen() {
    if (db_ != nullptr) return ERROR_SUCCESS;
    std::string path;
    LSTATUS rc = ResolvePath(&path);
    if (rc != ERROR_SUCCESS) return rc;
    rc = GuardAllocations(ERROR_OUTOFMEMORY, [&] {
        LSTATUS opened = OpenFile(path);
        if (opened == ERROR_SUCCESS) activePath_ = path;
        return opened;
    });
    if (rc != ERROR_SUCCESS) {
        Close();
        return rc;
    }
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::OpenFile(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return ERROR_CANTWRITE;  // could not be created
    if (!S_ISREG(info.st_mode) || access(path.c_str(), R_OK) != 0) return ERROR_CANTREAD;
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (db_ != nullptr) sqlite3_close_v2(db_);
        db_ = nullptr;
        rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) return rc == SQLITE_NOMEM ? ERROR_OUTOFMEMORY : ERROR_CANTREAD;
    }
    readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
    // The file may come from anywhere (a copied store, tq3reg --user-store): let
    // nothing in it change how SQLite itself behaves.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_handler(db_, &RegistryStore::WaitWhileBusy, this);
    jitter_ = static_cast<std::uint32_t>(getpid()) * 2654435761u | 1u;  // processes sleep differently
    sqlite3_extended_result_codes(db_, 0);
    return PrepareSchema();
}

// SQLite's own busy timeout backs off to sleeps of 100 ms, and a writer that
// sleeps that long keeps missing the short gaps between another process's
// transactions. Short, jittered sleeps give every waiting process a fair chance;
// after kBusyTimeoutMs the call gives up with an error result.
int RegistryStore::WaitWhileBusy(void* self, int count) {
    auto* store = static_cast<RegistryStore*>(self);
    auto now = std::chrono::steady_clock::now();
    if (count == 0) store->busySince_ = now;
    if (now - store->busySince_ > std::chrono::milliseconds(kBusyTimeoutMs)) return 0;
    store->jitter_ ^= store->jitter_ << 13;
    store->jitter_ ^= store->jitter_ >> 17;
    store->jitter_ ^= store->jitter_ << 5;
    usleep(100 + store->jitter_ % 900);
    return 1;
}

namespace {

// Reads one integer from a single-row query; false when the query fails.
bool QueryInt(sqlite3* db, const char* sql, int* value, int* rc) {
    sqlite3_stmt* statement = nullptr;
    *rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (*rc != SQLITE_OK) return false;
    *rc = sqlite3_step(statement);
    bool ok = *rc == SQLITE_ROW;
    if (ok) *value = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    if (ok) *rc = SQLITE_OK;
    return ok;
}

#define TQ3_KEYS_TABLE                                                                     \
    "CREATE TABLE reg_keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL," \
    " name TEXT NOT NULL, folded TEXT NOT NULL, UNIQUE(parent, folded))"
#define TQ3_VALUES_TABLE                                                                        \
    "CREATE TABLE reg_values(key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL," \
    " type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, folded))"
constexpr const char* kCreateSchema = TQ3_KEYS_TABLE ";" TQ3_VALUES_TABLE ";";

// Everything a store of ours holds in its schema, as SQLite records it. A file
// with anything else (a trigger, a view, a table of another shape) is not ours:
// it is refused, since its extra objects would run with our writes.
struct SchemaObject {
    const char* type;
    const char* name;
    const char* sql;  // null for the indexes SQLite makes itself
};
constexpr SchemaObject kSchema[] = {
    {"table", "reg_keys", TQ3_KEYS_TABLE},
    {"index", "sqlite_autoindex_reg_keys_1", nullptr},
    {"table", "sqlite_sequence", "CREATE TABLE sqlite_sequence(name,seq)"},
    {"table", "reg_values", TQ3_VALUES_TABLE},
    {"index", "sqlite_autoindex_reg_values_1", nullptr},
};
#undef TQ3_KEYS_TABLE
#undef TQ3_VALUES_TABLE

bool Same(const unsigned char* text, const char* expected) {
    if (text == nullptr || expected == nullptr) return text == nullptr && expected == nullptr;
    return std::strcmp(reinterpret_cast<const char*>(text), expected) == 0;
}

// ERROR_SUCCESS when the schema is exactly ours.
int CheckSchema(sqlite3* db, bool* ours) {
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_master", -1, &statement, nullptr);
    if (rc != SQLITE_OK) return rc;
    std::size_t matched = 0;
    *ours = true;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        bool known = false;
        for (const SchemaObject& object : kSchema)
            known = known || (Same(sqlite3_column_text(statement, 0), object.type) &&
                              Same(sqlite3_column_text(statement, 1), object.name) &&
                              Same(sqlite3_column_text(statement, 2), object.sql));
        *ours = *ours && known;
        ++matched;
    }
    sqlite3_finalize(statement);
    *ours = *ours && matched == std::size(kSchema);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

}  // namespace

LSTATUS RegistryStore::PrepareSchema() {
    int rc = SQLITE_OK;
    int tables = 0;
    if (!QueryInt(db_, "SELECT count(*) FROM sqlite_master", &tables, &rc)) return Fail(rc);
    if (tables == 0 && readOnly_) {
        // An empty file we may not write: answer as an empty store.
        std::string temp = std::string(kCreateSchema);
        for (std::size_t at = temp.find("TABLE"); at != std::string::npos; at = temp.find("TABLE", at + 11))
            temp.replace(at, 5, "TEMP TABLE");
        return Exec(temp.c_str());
    }
    if (tables == 0) {
        // Built before the transaction starts, so that running out of memory
        // cannot leave it open.
        const std::string marks = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                  ";PRAGMA user_version=" + std::to_string(kSchemaVersion);
        if (LSTATUS status = Exec("BEGIN IMMEDIATE"); status != ERROR_SUCCESS) return status;
        LSTATUS status = ERROR_SUCCESS;
        if (!QueryInt(db_, "SELECT count(*) FROM sqlite_master", &tables, &rc)) status = Fail(rc);
        if (status == ERROR_SUCCESS && tables == 0) {
            status = Exec(kCreateSchema);
            if (status == ERROR_SUCCESS) status = Exec(marks.c_str());
        }
        status = status == ERROR_SUCCESS ? Exec("COMMIT") : status;
        if (status != ERROR_SUCCESS) {
            Exec("ROLLBACK");
            return status;
        }
    }
    int applicationId = 0;
    int version = 0;
    if (!QueryInt(db_, "PRAGMA application_id", &applicationId, &rc)) return Fail(rc);
    if (!QueryInt(db_, "PRAGMA user_version", &version, &rc)) return Fail(rc);
    if (applicationId != kApplicationId || version != kSchemaVersion) return ERROR_BADDB;
    bool ours = false;
    if ((rc = CheckSchema(db_, &ours)) != SQLITE_OK) return Fail(rc);
    if (!ours) return ERROR_BADDB;

    // A damaged page deep in the file would otherwise surface only when some later
    // call reaches it; the stores are small, so check them whole once.
    sqlite3_stmt* check = nullptr;
    if ((rc = sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &check, nullptr)) != SQLITE_OK) return Fail(rc);
    rc = sqlite3_step(check);
    bool healthy = rc == SQLITE_ROW && std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0;
    sqlite3_finalize(check);
    if (!healthy) return rc == SQLITE_ROW || rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB ? ERROR_BADDB : Fail(rc);

    if (!readOnly_) {
        const char* journal = kind_ == StoreKind::User ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE";
        sqlite3_stmt* statement = nullptr;
        if ((rc = sqlite3_prepare_v2(db_, journal, -1, &statement, nullptr)) != SQLITE_OK) return Fail(rc);
        rc = sqlite3_step(statement);
        sqlite3_finalize(statement);
        if (rc != SQLITE_ROW) return Fail(rc);
        // In WAL mode NORMAL survives any process crash; only a power loss may drop
        // the latest commits, never half of one.
        if (kind_ == StoreKind::User) Exec("PRAGMA synchronous=NORMAL");
    }
    return ERROR_SUCCESS;
}

// ---- transactions -------------------------------------------------------------------

LSTATUS RegistryStore::Fail(int rc) {
    switch (rc) {
        case SQLITE_NOMEM:
            return ERROR_OUTOFMEMORY;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return ERROR_BADDB;
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
    if (readOnly_) return ERROR_CANTWRITE;
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
    if (readOnly_) return ERROR_CANTWRITE;
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

void ReadValueRow(sqlite3_stmt* statement, ValueRecord* value) {
    value->name = ColumnText(statement, 0);
    value->type = static_cast<DWORD>(sqlite3_column_int64(statement, 1));
    const BYTE* data = static_cast<const BYTE*>(sqlite3_column_blob(statement, 2));
    int size = sqlite3_column_bytes(statement, 2);
    value->data.assign(data, data + size);
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
constexpr const char* kValueAt =
    "SELECT name, type, data FROM reg_values WHERE key=?1 ORDER BY rowid LIMIT 1 OFFSET ?2";
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

LSTATUS RegistryStore::GetValue(KeyId key, const std::string& folded, ValueRecord* value) {
    TQ3_PREPARE(statement, kGetValue);
    sqlite3_bind_int64(statement, 1, key);
    BindText(statement, 2, folded);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) return ERROR_FILE_NOT_FOUND;
    if (rc != SQLITE_ROW) return Fail(rc);
    ReadValueRow(statement, value);
    return ERROR_SUCCESS;
}

LSTATUS RegistryStore::ValueAt(KeyId key, DWORD index, ValueRecord* value) {
    TQ3_PREPARE(statement, kValueAt);
    sqlite3_bind_int64(statement, 1, key);
    sqlite3_bind_int64(statement, 2, index);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) return ERROR_NO_MORE_ITEMS;
    if (rc != SQLITE_ROW) return Fail(rc);
    ReadValueRow(statement, value);
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
