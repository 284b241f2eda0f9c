// Listing, exporting and importing through the registry functions.
#include "tools/tq3reg/reg_store_io.h"

#include "framework/system/registry.h"

namespace tq3::reg {

namespace {

HKEY RootHandle(RootKind root) { return root == RootKind::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::u16string Join(const std::u16string& path, const std::u16string& name) {
    return path.empty() ? name : path + u"\\" + name;
}

struct Value {
    std::u16string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

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

LONG Values(HKEY key, std::vector<Value>* values) {
    values->clear();
    std::vector<WCHAR> name(kRegMaxValueNameLength + 1);
    for (DWORD index = 0;; ++index) {
        Value value;
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = 0;
        LONG rc = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &value.type, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
        if (rc != ERROR_SUCCESS) return rc;
        value.name.assign(name.data(), nameLength);
        value.data.resize(size);
        rc = RegQueryValueExW(key, value.name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (rc != ERROR_SUCCESS) return rc;
        value.data.resize(size);
        values->push_back(std::move(value));
    }
}

LONG Open(RootKind root, const std::u16string& path, HKEY* key) {
    return RegOpenKeyExW(RootHandle(root), path.empty() ? nullptr : path.c_str(), 0, KEY_READ, key);
}

// Writes one key block and then, depth first, those of its subkeys.
LONG ExportTree(RootKind root, const std::u16string& path, bool blockForKey, std::u16string* out) {
    HKEY key = nullptr;
    LONG rc = Open(root, path, &key);
    if (rc != ERROR_SUCCESS) return rc;
    std::vector<Value> values;
    std::vector<std::u16string> children;
    rc = Values(key, &values);
    if (rc == ERROR_SUCCESS) rc = SubkeyNames(key, &children);
    if (key != RootHandle(root)) RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return rc;
    if (blockForKey || !values.empty()) {
        *out += FormatKeyLine(root, path);
        for (const Value& value : values) *out += FormatValue(value.name, value.type, value.data);
        *out += u"\r\n";
    }
    for (const std::u16string& child : children) {
        rc = ExportTree(root, Join(path, child), true, out);
        if (rc != ERROR_SUCCESS) return rc;
    }
    return ERROR_SUCCESS;
}

bool Failed(LONG rc, const std::string& what, std::string* error) {
    if (rc == ERROR_SUCCESS) return false;
    *error = what + ": " + DescribeResult(rc);
    return true;
}

std::string KeyText(RootKind root, const std::u16string& path) {
    return ToUtf8(RootName(root) + (path.empty() ? u"" : u"\\" + path));
}

LONG ApplyKey(const KeyEdit& edit) {
    HKEY root = RootHandle(edit.root);
    if (edit.remove) {
        LONG rc = RegDeleteTreeW(root, edit.path.c_str());
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    }
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(root, edit.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    for (const ValueEdit& value : edit.values) {
        const WCHAR* name = value.name.empty() ? nullptr : value.name.c_str();
        if (value.remove) {
            rc = RegDeleteValueW(key, name);
            if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
        } else {
            rc = RegSetValueExW(key, name, 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
        }
        if (rc != ERROR_SUCCESS) break;
    }
    if (key != root) RegCloseKey(key);
    return rc;
}

}  // namespace

std::string DescribeResult(LONG result) {
    switch (result) {
        case ERROR_SUCCESS: return "done";
        case ERROR_FILE_NOT_FOUND: return "key or value not found";
        case ERROR_ACCESS_DENIED: return "access denied";
        case ERROR_INVALID_PARAMETER: return "invalid name or argument";
        case ERROR_BAD_PATHNAME: return "a key path may not begin with a backslash";
        case ERROR_BADDB: return "the store file is damaged or not a registry store; it was left as it is";
        case ERROR_CANTREAD: return "the store file cannot be read";
        case ERROR_CANTWRITE: return "the store file cannot be written";
        case ERROR_OUTOFMEMORY: return "out of memory";
        default: return "error " + std::to_string(result);
    }
}

bool ListKey(RootKind root, const std::u16string& path, std::u16string* out, std::string* error) {
    HKEY key = nullptr;
    if (Failed(Open(root, path, &key), KeyText(root, path), error)) return false;
    std::vector<Value> values;
    std::vector<std::u16string> children;
    LONG rc = Values(key, &values);
    if (rc == ERROR_SUCCESS) rc = SubkeyNames(key, &children);
    if (key != RootHandle(root)) RegCloseKey(key);
    if (Failed(rc, KeyText(root, path), error)) return false;
    *out += RootName(root) + (path.empty() ? u"" : u"\\" + path) + u"\r\n";
    for (const std::u16string& child : children) *out += u"    " + child + u"\\\r\n";
    for (const Value& value : values) {
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
    return !Failed(ExportTree(root, path, true, out), KeyText(root, path), error);
}

bool ExportAll(std::u16string* out, std::string* error) {
    *out = FileHeader();
    for (RootKind root : {RootKind::CurrentUser, RootKind::LocalMachine})
        if (Failed(ExportTree(root, u"", false, out), KeyText(root, u""), error)) return false;
    return true;
}

bool ApplyEdits(const std::vector<KeyEdit>& edits, std::string* error) {
    std::vector<RootKind> begun;
    auto rollBack = [&] {
        for (RootKind root : begun) tq3::fw::RollbackRegistryTransaction(RootHandle(root));
    };
    for (RootKind root : {RootKind::CurrentUser, RootKind::LocalMachine}) {
        bool used = false;
        for (const KeyEdit& edit : edits) used = used || edit.root == root;
        if (!used) continue;
        if (Failed(tq3::fw::BeginRegistryTransaction(RootHandle(root)), KeyText(root, u""), error)) {
            rollBack();
            return false;
        }
        begun.push_back(root);
    }
    for (const KeyEdit& edit : edits) {
        LONG rc = ApplyKey(edit);
        if (rc != ERROR_SUCCESS) {
            *error = "line " + std::to_string(edit.line) + ": " + KeyText(edit.root, edit.path) + ": " +
                     DescribeResult(rc);
            rollBack();
            return false;
        }
    }
    // The user's store commits first; should the machine's commit then fail, the
    // user's part stays, and the message says so.
    for (std::size_t i = 0; i < begun.size(); ++i) {
        LONG rc = tq3::fw::CommitRegistryTransaction(RootHandle(begun[i]));
        if (rc != ERROR_SUCCESS) {
            for (std::size_t j = i + 1; j < begun.size(); ++j) tq3::fw::RollbackRegistryTransaction(RootHandle(begun[j]));
            *error = KeyText(begun[i], u"") + ": " + DescribeResult(rc) +
                     (i > 0 ? " (the changes to HKEY_CURRENT_USER were already saved)" : "");
            return false;
        }
    }
    return true;
}

}  // namespace tq3::reg
