// Listing, exporting and importing through the registry functions.
//
// An import that touches both roots runs one transaction on each. The machine's
// store commits first (its journal may have to wait for its readers, so it is
// the likelier to fail), then the user's. Before any edit, the keys the file
// touches in the machine's store are read inside its transaction; should the
// user's commit then fail, they are put back as they were, so that the file is
// imported whole or not at all. Only a process killed between the two commits,
// or a failure while putting back (the message says so), leaves the machine's
// part in place; and a change another program made to those keys in the moment
// between the commit and the putting back is undone with them.
//
// Sections: reading keys | writing keys | listing and export | import
#include "tools/tq3reg/reg_store_io.h"

#include <algorithm>

#include "framework/system/registry.h"

namespace tq3::reg {

namespace {

using tq3::fw::UniqueRegKey;

// A name that a .reg file cannot carry (a line break in it).
constexpr LONG kUnwritableName = -2;
// A listing is read by a person: data larger than this is not read and shown,
// only its size.
constexpr DWORD kListedDataLimit = 16384;

HKEY RootHandle(RootKind root) { return root == RootKind::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::u16string Join(const std::u16string& path, const std::u16string& name) {
    return path.empty() ? name : path + u"\\" + name;
}

std::string KeyText(RootKind root, const std::u16string& path) {
    return ToUtf8(RootName(root) + (path.empty() ? u"" : u"\\" + path));
}

// ---- reading keys -----------------------------------------------------------------

LONG Open(RootKind root, const std::u16string& path, UniqueRegKey* key) {
    return RegOpenKeyExW(RootHandle(root), path.empty() ? nullptr : path.c_str(), 0, KEY_READ, key->Put());
}

// The key's subkey names in enumeration order.
LONG SubkeyNames(HKEY key, std::vector<std::u16string>* names) {
    names->clear();
    for (DWORD index = 0;; ++index) {
        WCHAR buffer[kRegMaxKeyNameLength + 1];
        DWORD length = kRegMaxKeyNameLength + 1;
        LONG rc = RegEnumKeyExW(key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS) return rc;
        names->emplace_back(buffer, length);
    }
}

// The key's values in enumeration order: names, types and sizes first, then each
// value's data by its name. With `sizes`, data larger than `limit` is not read
// (the value's data stays empty) and every value's size is given.
LONG Values(HKEY key, std::vector<ValueEdit>* values, std::vector<DWORD>* sizes = nullptr, DWORD limit = ~DWORD{0}) {
    values->clear();
    std::vector<WCHAR> name(kRegMaxValueNameLength + 1);
    for (DWORD index = 0;; ++index) {
        ValueEdit value;
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = 0;
        LONG rc = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &value.type, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS) return rc;
        value.name.assign(name.data(), nameLength);
        if (sizes != nullptr) sizes->push_back(size);
        if (size > limit) {
            values->push_back(std::move(value));
            continue;
        }
        value.data.resize(size);
        rc = RegQueryValueExW(key, value.name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (rc != ERROR_SUCCESS) return rc;
        value.data.resize(size);
        values->push_back(std::move(value));
    }
}

// The key at `path` and everything below it, depth first, as the edits that
// would make it again.
LONG ReadTree(RootKind root, const std::u16string& path, std::vector<KeyEdit>* tree) {
    KeyEdit edit;
    edit.root = root;
    edit.path = path;
    std::vector<std::u16string> children;
    {
        UniqueRegKey key;
        if (LONG rc = Open(root, path, &key); rc != ERROR_SUCCESS) return rc;
        if (LONG rc = Values(key.Get(), &edit.values); rc != ERROR_SUCCESS) return rc;
        if (LONG rc = SubkeyNames(key.Get(), &children); rc != ERROR_SUCCESS) return rc;
    }
    tree->push_back(std::move(edit));
    for (const std::u16string& child : children)
        if (LONG rc = ReadTree(root, Join(path, child), tree); rc != ERROR_SUCCESS) return rc;
    return ERROR_SUCCESS;
}

bool HasLineBreak(const std::u16string& name) { return name.find_first_of(u"\r\n") != std::u16string::npos; }

// ---- writing keys -------------------------------------------------------------------

// Applies one key block; on failure `line` is where the refused key or value was
// written.
LONG ApplyKey(const KeyEdit& edit, int* line) {
    *line = edit.line;
    HKEY root = RootHandle(edit.root);
    if (edit.remove) {
        LONG rc = RegDeleteTreeW(root, edit.path.c_str());
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    }
    UniqueRegKey key;
    LONG rc = RegCreateKeyExW(root, edit.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    for (const ValueEdit& value : edit.values) {
        const WCHAR* name = value.name.empty() ? nullptr : value.name.c_str();
        if (value.remove) {
            rc = RegDeleteValueW(key.Get(), name);
            if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
        } else {
            rc = RegSetValueExW(key.Get(), name, 0, value.type, value.data.data(),
                                static_cast<DWORD>(value.data.size()));
        }
        if (rc != ERROR_SUCCESS) {
            *line = value.line;
            return rc;
        }
    }
    return ERROR_SUCCESS;
}

// What a key touched by an import held before it: its whole tree, or, when it did
// not exist, the first key of its path that did not exist either.
struct SavedKey {
    RootKind root = RootKind::LocalMachine;
    std::u16string path;
    bool existed = false;
    std::u16string firstMissing;
    std::vector<KeyEdit> tree;
};

LONG SaveKey(RootKind root, const std::u16string& path, SavedKey* saved) {
    saved->root = root;
    saved->path = path;
    UniqueRegKey key;
    LONG rc = Open(root, path, &key);
    if (rc == ERROR_SUCCESS) {
        saved->existed = true;
        key.Reset();
        return ReadTree(root, path, &saved->tree);
    }
    if (rc != ERROR_FILE_NOT_FOUND) return rc;
    for (std::size_t end = 0; end != std::u16string::npos;) {
        end = path.find(u'\\', end + 1);
        saved->firstMissing = path.substr(0, end);
        rc = Open(root, saved->firstMissing, &key);
        if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS) return rc;
    }
    return ERROR_SUCCESS;
}

LONG RestoreKey(const SavedKey& saved) {
    HKEY root = RootHandle(saved.root);
    LONG rc = RegDeleteTreeW(root, (saved.existed ? saved.path : saved.firstMissing).c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return rc;
    int line = 0;
    for (const KeyEdit& edit : saved.tree)
        if (rc = ApplyKey(edit, &line); rc != ERROR_SUCCESS) return rc;
    return ERROR_SUCCESS;
}

// Puts the saved keys back in one transaction; the latest saved first.
LONG Restore(RootKind root, const std::vector<SavedKey>& saved) {
    if (LONG rc = tq3::fw::BeginRegistryTransaction(RootHandle(root)); rc != ERROR_SUCCESS) return rc;
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        if (LONG rc = RestoreKey(*it); rc != ERROR_SUCCESS) {
            tq3::fw::RollbackRegistryTransaction(RootHandle(root));
            return rc;
        }
    }
    return tq3::fw::CommitRegistryTransaction(RootHandle(root));
}

// ---- listing and export -------------------------------------------------------------

bool Failed(LONG rc, const std::string& what, std::string* error) {
    if (rc == ERROR_SUCCESS) return false;
    *error = what + ": " + DescribeResult(rc);
    return true;
}

// Writes the key's block and those below it. The block of a key without values is
// left out when `blockForKey` is false (a root exported whole).
LONG ExportTree(RootKind root, const std::u16string& path, bool blockForKey, std::u16string* out,
                std::string* where) {
    std::vector<KeyEdit> tree;
    *where = KeyText(root, path);
    if (LONG rc = ReadTree(root, path, &tree); rc != ERROR_SUCCESS) return rc;
    for (const KeyEdit& key : tree) {
        for (const ValueEdit& value : key.values) {
            if (HasLineBreak(value.name)) {
                *where = KeyText(root, key.path) + ": value \"" + ToUtf8(value.name) + "\"";
                return kUnwritableName;
            }
        }
        if (HasLineBreak(key.path)) {
            *where = KeyText(root, key.path);
            return kUnwritableName;
        }
        if (&key == &tree.front() && !blockForKey && key.values.empty()) continue;
        *out += FormatKeyLine(root, key.path);
        for (const ValueEdit& value : key.values) *out += FormatValue(value.name, value.type, value.data);
        *out += u"\r\n";
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::string DescribeResult(LONG result) {
    switch (result) {
        case ERROR_SUCCESS: return "done";
        case kUnwritableName: return "the name holds a line break, which a .reg file cannot carry";
        case ERROR_FILE_NOT_FOUND: return "key or value not found";
        case ERROR_ACCESS_DENIED: return "access denied (the store may only be read)";
        case ERROR_INVALID_PARAMETER: return "invalid name or argument";
        case ERROR_BAD_PATHNAME: return "a key path may not begin with a backslash";
        case ERROR_BADDB: return "the store file is damaged and could not be set aside; it was left as it is";
        case ERROR_REVISION_MISMATCH:
            return "the store file was written by a newer version of this program; it was left as it is";
        case ERROR_CANTREAD: return "the store file cannot be read";
        case ERROR_CANTWRITE: return "the store file cannot be written";
        case ERROR_DISK_FULL: return "the disk is full";
        case ERROR_OUTOFMEMORY: return "out of memory";
        default: return "error " + std::to_string(result);
    }
}

bool ListKey(RootKind root, const std::u16string& path, std::u16string* out, std::string* error) {
    std::vector<ValueEdit> values;
    std::vector<DWORD> sizes;
    std::vector<std::u16string> children;
    UniqueRegKey key;
    LONG rc = Open(root, path, &key);
    if (rc == ERROR_SUCCESS) rc = Values(key.Get(), &values, &sizes, kListedDataLimit);
    if (rc == ERROR_SUCCESS) rc = SubkeyNames(key.Get(), &children);
    if (Failed(rc, KeyText(root, path), error)) return false;
    *out += RootName(root) + (path.empty() ? u"" : u"\\" + path) + u"\r\n";
    for (const std::u16string& child : children) *out += u"    " + child + u"\\\r\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const ValueEdit& value = values[i];
        if (sizes[i] > kListedDataLimit) {
            std::u16string line = FormatValue(value.name, value.type, {});
            line.resize(line.size() - 2);  // its line end
            *out += u"    " + line + FromUtf8(" ... (" + std::to_string(sizes[i]) +
                                               " bytes, too long to list; export writes them whole)\r\n");
            continue;
        }
        std::u16string line = FormatValue(value.name, value.type, value.data);
        // Continuation lines keep their place under the value they belong to.
        for (std::size_t at = line.find(u"\r\n  "); at != std::u16string::npos; at = line.find(u"\r\n  ", at + 6))
            line.insert(at + 2, u"    ");
        *out += u"    " + line;
    }
    return true;
}

bool ExportKey(RootKind root, const std::u16string& path, std::u16string* out, std::string* error) {
    *out = FileHeader();
    std::string where;
    return !Failed(ExportTree(root, path, true, out, &where), where, error);
}

bool ExportAll(std::u16string* out, std::string* error) {
    *out = FileHeader();
    std::string where;
    for (RootKind root : {RootKind::CurrentUser, RootKind::LocalMachine})
        if (Failed(ExportTree(root, u"", false, out, &where), where, error)) return false;
    return true;
}

// ---- import -------------------------------------------------------------------------

bool ApplyEdits(const std::vector<KeyEdit>& edits, std::string* error) {
    // The roots the file touches, in the order they commit.
    std::vector<RootKind> roots;
    for (RootKind root : {RootKind::LocalMachine, RootKind::CurrentUser})
        if (std::any_of(edits.begin(), edits.end(), [root](const KeyEdit& edit) { return edit.root == root; }))
            roots.push_back(root);
    std::size_t begun = 0;
    auto fail = [&](const std::string& message, std::size_t from) {
        for (std::size_t i = from; i < begun; ++i) tq3::fw::RollbackRegistryTransaction(RootHandle(roots[i]));
        *error = message + "; nothing was imported";
        return false;
    };
    for (; begun < roots.size(); ++begun) {
        LONG rc = tq3::fw::BeginRegistryTransaction(RootHandle(roots[begun]));
        if (rc != ERROR_SUCCESS) return fail(KeyText(roots[begun], u"") + ": " + DescribeResult(rc), 0);
    }
    std::vector<SavedKey> saved;
    for (const KeyEdit& edit : edits) {
        if (roots.size() < 2 || edit.root != roots.front()) continue;
        saved.emplace_back();
        if (LONG rc = SaveKey(edit.root, edit.path, &saved.back()); rc != ERROR_SUCCESS)
            return fail("line " + std::to_string(edit.line) + ": " + KeyText(edit.root, edit.path) + ": " +
                            DescribeResult(rc), 0);
    }
    for (const KeyEdit& edit : edits) {
        int line = 0;
        if (LONG rc = ApplyKey(edit, &line); rc != ERROR_SUCCESS)
            return fail("line " + std::to_string(line) + ": " + KeyText(edit.root, edit.path) + ": " +
                            DescribeResult(rc), 0);
    }
    for (std::size_t i = 0; i < roots.size(); ++i) {
        LONG rc = tq3::fw::CommitRegistryTransaction(RootHandle(roots[i]));
        if (rc == ERROR_SUCCESS) continue;
        std::string message = KeyText(roots[i], u"") + ": " + DescribeResult(rc);
        if (i == 0) return fail(message, 1);
        LONG undone = Restore(roots.front(), saved);
        if (undone == ERROR_SUCCESS) return fail(message, begun);
        *error = message + "; the changes to " + KeyText(roots.front(), u"") +
                 " were saved and could not be undone (" + DescribeResult(undone) + ")";
        return false;
    }
    return true;
}

}  // namespace tq3::reg
