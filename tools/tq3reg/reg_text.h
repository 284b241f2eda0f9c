// The registry's text exchange format (".reg" files, version 5.00): reading a
// file into a list of edits, and writing keys and values as text.
//
// A file starts with the line "Windows Registry Editor Version 5.00". Then come
// key blocks: "[ROOT\path]" creates (or names) a key, "[-ROOT\path]" deletes it
// with everything below it. Inside a block each line sets a value:
//   "name"="text"              REG_SZ, with \\ and \" escaped
//   "name"=dword:0000002a      REG_DWORD
//   "name"=hex:01,02,...       REG_BINARY
//   "name"=hex(N):...          any other type N (hexadecimal), data as bytes
//   "name"=-                   deletes the value
// "@" stands for the default value. Long hex lists continue on the next line
// after a trailing backslash. Lines starting with ";" are comments. Roots are
// HKEY_CURRENT_USER (HKCU) and HKEY_LOCAL_MACHINE (HKLM).
//
// Files are read as UTF-16LE when they start with its byte-order mark, as UTF-8
// otherwise (with or without a mark). They are written as UTF-8 without a mark,
// or as UTF-16LE with its mark, which is what the original platform's editor
// writes; lines end in CR LF either way.
#pragma once

#include <string>
#include <vector>

#include "framework/core/wintypes.h"

namespace tq3::reg {

enum class RootKind { CurrentUser, LocalMachine };

struct ValueEdit {
    int line = 0;          // where the edit was written, for messages
    std::u16string name;   // empty: the default value
    bool remove = false;   // "name"=-
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct KeyEdit {
    int line = 0;
    RootKind root = RootKind::CurrentUser;
    std::u16string path;   // below the root, without leading or trailing backslash
    bool remove = false;   // [-key]
    std::vector<ValueEdit> values;
};

struct ParseError {
    int line = 0;          // 0 when the file as a whole is at fault
    std::string message;
};

// Turns a file's bytes into text by its byte-order mark; false on bytes that are
// not valid in the chosen encoding.
bool DecodeFile(const std::string& bytes, std::u16string* text, ParseError* error);
// Reads the edits of a whole file; nothing is returned unless all of it is valid.
bool ParseRegText(const std::u16string& text, std::vector<KeyEdit>* edits, ParseError* error);
// "HKEY_CURRENT_USER\a\b", "HKCU\a\b", "HKLM" ... into a root and a path.
bool ParseKeyName(const std::u16string& name, RootKind* root, std::u16string* path);

std::u16string RootName(RootKind root);
std::u16string FileHeader();  // the version line and the blank line after it
std::u16string FormatKeyLine(RootKind root, const std::u16string& path);
// One value as a line (or several joined by continuations), ending in CR LF.
std::u16string FormatValue(const std::u16string& name, DWORD type, const std::vector<BYTE>& data);

std::string ToUtf8(const std::u16string& text);
std::u16string FromUtf8(const std::string& text);  // empty on invalid input
std::string ToUtf16LeWithMark(const std::u16string& text);

}  // namespace tq3::reg
