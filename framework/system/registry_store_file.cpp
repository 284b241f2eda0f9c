// The registry store's file: where it lives, how it is opened and checked, and
// what happens when it is damaged or cannot be written.
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
// Damaged files
//   A file is damaged when SQLite cannot read it as a database (random bytes, a
//   file cut short), when a page of it is damaged (a quick check runs at every
//   open), or when it holds some other database: another program's, or ours with
//   its tables changed. A damaged file is never rewritten and never deleted: it
//   is renamed "<file>.damaged-<date>-<time>" beside itself, with its journal
//   files, a fresh store is started in its place, and one line on the standard
//   error stream says where the old file went. Processes that meet the same
//   damaged file at once agree through a lock on it: one renames it, the others
//   find the fresh store. When the folder cannot be written, the file stays where
//   it is and every call answers ERROR_BADDB.
//
// Files that are refused and left alone
//   A store written by a newer version of the framework (a higher user_version)
//   answers ERROR_REVISION_MISMATCH, and something that is not a plain file (a
//   folder in its place) ERROR_CANTREAD; one line on the standard error stream
//   says why.
//
// Files that cannot be written
//   A file or folder this user may not write is opened for reading: reads are
//   answered and writes refused with ERROR_ACCESS_DENIED. A WAL store needs its
//   shared-memory file even to be read; where that cannot be made (a read-only
//   folder), the file is read as immutable when its journal is empty, or else
//   from a private snapshot of the file and its journal. A full disk refuses the
//   write with ERROR_DISK_FULL, rolls it back and leaves reading as it was.
//
// Sections: location | connection | reading where the journal cannot be made |
// schema and checks | damaged files | open
//
// EnsureOpen -> ResolvePath -> OpenFile -> (MakeReadable) -> PrepareSchema;
// damaged -> SetAside -> ResolvePath -> OpenFile again.
#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>

#include "framework/core/failure_value.h"
#include "framework/system/registry_store_internal.h"

namespace tq3::fw::detail {

namespace {

constexpr int kApplicationId = 0x54513352;
constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 10000;
constexpr const char* kProductFolder = "tq3view";
constexpr const char* kMachineFolder = "/etc/xdg/tq3view";
// The files SQLite keeps beside a store; they go with it when it is set aside.
constexpr const char* kCompanionSuffixes[] = {"-wal", "-shm", "-journal"};

// ---- location ------------------------------------------------------------------------

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
// Another process may set a damaged file aside between the two opens: the file
// that was there a moment ago is gone, which says nothing about whether this one
// may be written, so try again rather than open the store for reading only.
bool PrepareWritableFile(const std::string& path, mode_t mode) {
    for (int attempt = 0;; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fchmod(fd, mode);
            close(fd);
            break;
        }
        if (errno != EEXIST) return false;
        fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
            break;
        }
        if (errno != ENOENT || attempt >= 100) return false;
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

// Copies a file byte for byte into a new file of mode 0600.
bool CopyFile(const std::string& from, const std::string& to) {
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool ok = out >= 0;
    char buffer[65536];
    for (ssize_t n; ok && (n = read(in, buffer, sizeof buffer)) != 0;) {
        ok = n > 0 && write(out, buffer, static_cast<std::size_t>(n)) == n;
    }
    close(in);
    if (out >= 0) ok = close(out) == 0 && ok;
    return ok;
}

// A file name as a URI path: what is not plainly safe is percent-encoded.
std::string FileUri(const std::string& path, const char* query) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-_.~", c) != nullptr) {
            uri.push_back(static_cast<char>(c));
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?" + query;
}

FileIdentity IdentityOf(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return {};
    return {info.st_dev, info.st_ino, true};
}

// Renames without ever replacing a file that exists at `to`.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the no-replace rename.
    if (access(to.c_str(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::string AsideName(const std::string& path, int attempt) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path + ".damaged-" + stamp;
    if (attempt > 0) {
        // Appended piece by piece: GCC 12 at -O3 misreads a literal joined to a
        // temporary string with operator+ as an overlapping copy.
        name += '-';
        name += std::to_string(attempt + 1);
    }
    return name;
}

// An advisory lock on a store's folder. Opening and checking a store holds it
// shared, setting a damaged store aside holds it exclusively, so that no process
// is halfway through opening the files that another one is moving. A folder that
// cannot be opened is not locked (the store in it cannot be opened either).
class FolderLock {
public:
    FolderLock(const std::string& folder, int operation)
        : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) return;
        // Opening a store takes milliseconds; a holder that takes far longer is
        // stuck, and the store is used unlocked rather than never.
        for (int waited = 0; flock(fd_, operation | LOCK_NB) != 0 && errno == EWOULDBLOCK && waited < kBusyTimeoutMs;
             ++waited)
            usleep(1000);
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);  // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

}  // namespace

LSTATUS RegistryStore::ResolvePath(std::string* path, bool* writable) {
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
    *writable = PrepareWritableFile(primary, fileMode);
    if (*writable || fallback.empty()) {
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
    *writable = true;
    return ERROR_SUCCESS;
}

// ---- connection ----------------------------------------------------------------------

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
    if (!snapshotDir_.empty()) {
        // The snapshot is this process's own copy, made only to be read.
        const std::string copy = snapshotDir_ + "/store.db";
        for (const char* suffix : kCompanionSuffixes) unlink((copy + suffix).c_str());
        unlink(copy.c_str());
        rmdir(snapshotDir_.c_str());
        snapshotDir_.clear();
    }
}

void RegistryStore::Report(const std::string& message) {
    if (message == lastReport_) return;
    lastReport_ = message;
    std::fprintf(stderr, "tq3view: %s\n", message.c_str());
    std::fflush(stderr);
}

int RegistryStore::Connect(const std::string& name, int flags) {
    int rc = sqlite3_open_v2(name.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (db_ != nullptr) sqlite3_close_v2(db_);
        db_ = nullptr;
        return rc;
    }
    readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
    // The file may come from anywhere (a copied store, tq3reg --user-store): let
    // nothing in it change how SQLite itself behaves.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_handler(db_, &RegistryStore::WaitWhileBusy, this);
    jitter_ = static_cast<std::uint32_t>(getpid()) * 2654435761u | 1u;  // processes sleep differently
    sqlite3_extended_result_codes(db_, 0);
    return SQLITE_OK;
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

}  // namespace

// ---- reading where the journal cannot be made -----------------------------------------

// A WAL store opened for reading still needs its shared-memory file, which a
// read-only folder cannot take. Without anything in the journal the file alone
// is the whole store and is read as immutable; with something in it, the file and
// its journal are copied to a private folder and read there.
LSTATUS RegistryStore::MakeReadable(const std::string& path) {
    int tables = 0;
    int rc = SQLITE_OK;
    if (QueryInt(db_, "SELECT count(*) FROM sqlite_master", &tables, &rc)) return ERROR_SUCCESS;
    if (rc != SQLITE_CANTOPEN && rc != SQLITE_READONLY) return ERROR_SUCCESS;  // the checks judge the rest
    Close();
    if (!FileHasContent(path + "-wal")) {
        rc = Connect(FileUri(path, "immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        return rc == SQLITE_OK ? ERROR_SUCCESS : Fail(rc);
    }
    const char* temp = std::getenv("TMPDIR");
    std::string dir = std::string(temp != nullptr && temp[0] == '/' ? temp : "/tmp") + "/tq3view-store-XXXXXX";
    if (mkdtemp(dir.data()) == nullptr) return ERROR_CANTREAD;
    snapshotDir_ = dir;
    const std::string copy = dir + "/store.db";
    if (!CopyFile(path, copy) || !CopyFile(path + "-wal", copy + "-wal")) return ERROR_CANTREAD;
    rc = Connect(copy, SQLITE_OPEN_READONLY);
    return rc == SQLITE_OK ? ERROR_SUCCESS : Fail(rc);
}

// ---- schema and checks ----------------------------------------------------------------

namespace {

#define TQ3_KEYS_TABLE                                                                     \
    "CREATE TABLE reg_keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL," \
    " name TEXT NOT NULL, folded TEXT NOT NULL, UNIQUE(parent, folded))"
#define TQ3_VALUES_TABLE                                                                        \
    "CREATE TABLE reg_values(key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL," \
    " type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, folded))"
constexpr const char* kCreateSchema = TQ3_KEYS_TABLE ";" TQ3_VALUES_TABLE ";";

// Everything a store of ours holds in its schema, as SQLite records it. A file
// with anything else (a trigger, a view, a table of another shape) is not ours,
// since its extra objects would run with our writes.
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

// SQLITE_OK, with `ours` telling whether the schema is exactly ours.
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

// SQLITE_OK, with `healthy` telling whether every page reads back whole.
int QuickCheck(sqlite3* db, bool* healthy) {
    sqlite3_stmt* check = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_step(check);
    *healthy = rc == SQLITE_ROW && Same(sqlite3_column_text(check, 0), "ok");
    sqlite3_finalize(check);
    if (rc == SQLITE_ROW || rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB) return SQLITE_OK;
    return rc;
}

bool IsDamage(int rc) { return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB; }

}  // namespace

// An empty file gets the schema; anything else must be a whole store of ours.
LSTATUS RegistryStore::CreateSchema() {
    int rc = SQLITE_OK;
    int tables = 0;
    if (readOnly_) {
        // An empty file we may not write: answer as an empty store.
        std::string temp = std::string(kCreateSchema);
        for (std::size_t at = temp.find("TABLE"); at != std::string::npos; at = temp.find("TABLE", at + 11))
            temp.replace(at, 5, "TEMP TABLE");
        return Exec(temp.c_str());
    }
    // Built before the transaction starts, so that running out of memory cannot
    // leave it open.
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
    if (status != ERROR_SUCCESS) Exec("ROLLBACK");
    return status;
}

LSTATUS RegistryStore::PrepareSchema(const std::string& path, bool* damaged) {
    int rc = SQLITE_OK;
    int tables = 0;
    if (!QueryInt(db_, "SELECT count(*) FROM sqlite_master", &tables, &rc)) {
        *damaged = IsDamage(rc);
        return Fail(rc);
    }
    if (tables == 0) {
        LSTATUS created = CreateSchema();
        if (created != ERROR_SUCCESS || readOnly_) return created;
    }
    int applicationId = 0;
    int version = 0;
    if (!QueryInt(db_, "PRAGMA application_id", &applicationId, &rc) ||
        !QueryInt(db_, "PRAGMA user_version", &version, &rc)) {
        *damaged = IsDamage(rc);
        return Fail(rc);
    }
    if (applicationId == kApplicationId && version > kSchemaVersion) {
        Report("the settings store " + path + " was written by a newer version (format " + std::to_string(version) +
               "); it was left as it is and is not used");
        return ERROR_REVISION_MISMATCH;
    }
    // Another program's database, or ours with its tables changed.
    bool ours = applicationId == kApplicationId && version == kSchemaVersion;
    if (ours && (rc = CheckSchema(db_, &ours)) != SQLITE_OK) {
        *damaged = IsDamage(rc);
        return Fail(rc);
    }
    // A damaged page deep in the file would otherwise surface only when some later
    // call reaches it; the stores are small, so check them whole once.
    bool healthy = false;
    if (ours && (rc = QuickCheck(db_, &healthy)) != SQLITE_OK) return Fail(rc);
    if (!ours || !healthy) {
        *damaged = true;
        return ERROR_BADDB;
    }
    if (!readOnly_) {
        const char* journal = kind_ == StoreKind::User ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE";
        // Changing the journal waits for no busy handler: while another process
        // reads the fresh store (it may be setting the same journal), try again.
        for (int waited = 0;; ++waited) {
            sqlite3_stmt* statement = nullptr;
            if ((rc = sqlite3_prepare_v2(db_, journal, -1, &statement, nullptr)) != SQLITE_OK) return Fail(rc);
            rc = sqlite3_step(statement);
            sqlite3_finalize(statement);
            if (rc != SQLITE_BUSY || waited >= kBusyTimeoutMs) break;
            usleep(1000);
        }
        if (rc != SQLITE_ROW) return Fail(rc);
        // In WAL mode NORMAL survives any process crash; only a power loss may drop
        // the latest commits, never half of one.
        if (kind_ == StoreKind::User) Exec("PRAGMA synchronous=NORMAL");
    }
    return ERROR_SUCCESS;
}

// ---- damaged files ---------------------------------------------------------------------

// Renames the damaged file (and its journal files) out of the way. `seen` is the
// file that was found damaged: when another process has set it aside already,
// the path holds another file, or none, and nothing is moved.
LSTATUS RegistryStore::SetAside(const std::string& path, const FileIdentity& seen) {
    FolderLock exclusive(Parent(path), LOCK_EX);
    if (IdentityOf(path) != seen) return ERROR_SUCCESS;
    std::string aside;
    bool moved = false;
    for (int attempt = 0; attempt < 100 && !moved; ++attempt) {
        aside = AsideName(path, attempt);
        moved = MoveWithoutReplacing(path, aside);
        if (!moved && errno != EEXIST) break;
    }
    if (!moved) {
        Report("the settings store " + path + " is damaged and cannot be set aside (" + std::strerror(errno) +
               "); it was left as it is");
        return ERROR_BADDB;
    }
    for (const char* suffix : kCompanionSuffixes) MoveWithoutReplacing(path + suffix, aside + suffix);
    Report("the settings store " + path + " was damaged; it was kept as " + aside + " and a fresh store was started");
    return ERROR_SUCCESS;
}

// ---- open ----------------------------------------------------------------------------------

LSTATUS RegistryStore::IsReadOnly(bool* readOnly) {
    LSTATUS rc = EnsureOpen();
    *readOnly = readOnly_;
    return rc;
}

LSTATUS RegistryStore::OpenFile(const std::string& path, bool writable, bool* damaged) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return ERROR_CANTWRITE;  // could not be created
    if (!S_ISREG(info.st_mode)) {
        Report("the settings store " + path + " is not a file; it was left as it is and settings are not kept");
        return ERROR_CANTREAD;
    }
    if (access(path.c_str(), R_OK) != 0) return ERROR_CANTREAD;
    int rc = writable ? Connect(path, SQLITE_OPEN_READWRITE) : SQLITE_CANTOPEN;
    if (rc != SQLITE_OK) rc = Connect(path, SQLITE_OPEN_READONLY);
    if (rc != SQLITE_OK) return rc == SQLITE_NOMEM ? ERROR_OUTOFMEMORY : ERROR_CANTREAD;
    if (readOnly_) {
        if (LSTATUS readable = MakeReadable(path); readable != ERROR_SUCCESS) return readable;
    }
    return PrepareSchema(path, damaged);
}

LSTATUS RegistryStore::EnsureOpen() {
    if (db_ != nullptr) return ERROR_SUCCESS;
    bool setAside = false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string path;
        bool writable = false;
        LSTATUS rc = ResolvePath(&path, &writable);
        if (rc != ERROR_SUCCESS) return rc;
        bool damaged = false;
        FileIdentity seen;
        {
            FolderLock shared(Parent(path), LOCK_SH);
            seen = IdentityOf(path);
            if (!seen.exists) continue;  // set aside by another process since: resolve it again
            rc = GuardAllocations(ERROR_OUTOFMEMORY, [&] {
                LSTATUS opened = OpenFile(path, writable, &damaged);
                if (opened == ERROR_SUCCESS) activePath_ = path;
                return opened;
            });
            if (rc == ERROR_SUCCESS) return rc;
            // Closing must not write a damaged file's journal into it.
            if (damaged && db_ != nullptr) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            Close();
        }
        // A damaged file is set aside once; a fresh store that fails as well, or a
        // file that may not be moved, answers the error.
        if (!damaged) return rc;
        if (!writable || setAside) {
            Report("the settings store " + path + " is damaged and may not be replaced; it was left as it is");
            return ERROR_BADDB;
        }
        if (GuardAllocations(ERROR_OUTOFMEMORY, [&] { return SetAside(path, seen); }) != ERROR_SUCCESS)
            return ERROR_BADDB;
        setAside = true;
    }
    return ERROR_CANTWRITE;
}

}  // namespace tq3::fw::detail
