// Reading and writing the .reg text format (see reg_text.h).
//
// Sections: encodings | writing | reading lines | reading values | reading keys
#include "tools/tq3reg/reg_text.h"

#include <unicode/ustring.h>

#include <cstdio>

#include "framework/core/utf.h"

namespace tq3::reg {

namespace {

constexpr char16_t kHeader[] = u"Windows Registry Editor Version 5.00";
constexpr char16_t kNewLine[] = u"\r\n";
// Hex lists break before a line passes this many characters (the trailing
// backslash not counted), and continue indented by two spaces.
constexpr std::size_t kHexLineLimit = 76;

}  // namespace

// ---- encodings ----------------------------------------------------------------------

// Unpaired surrogates cannot be written as UTF-8; they become U+FFFD.
std::string ToUtf8(const std::u16string& text) { return tq3::fw::ToUtf8(std::u16string_view(text)); }

// Unlike the framework's conversion, which repairs bad input, an import must
// refuse it: this one fails on any ill-formed byte.
std::u16string FromUtf8(const std::string& text) {
    std::u16string out;
    if (text.empty()) return out;
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strFromUTF8(nullptr, 0, &needed, text.data(), static_cast<int32_t>(text.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), needed, nullptr, text.data(), static_cast<int32_t>(text.size()), &status);
    return U_SUCCESS(status) ? out : std::u16string();
}

std::string ToUtf16LeWithMark(const std::u16string& text) {
    std::string out = "\xFF\xFE";
    out.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

bool DecodeFile(const std::string& bytes, std::u16string* text, ParseError* error) {
    text->clear();
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))) {
        const bool little = at(0) == 0xFF;
        if (bytes.size() % 2 != 0) {
            *error = {0, "the file is marked as UTF-16 but has an odd number of bytes"};
            return false;
        }
        text->reserve(bytes.size() / 2);
        for (std::size_t i = 2; i < bytes.size(); i += 2)
            text->push_back(static_cast<char16_t>(little ? at(i) | (at(i + 1) << 8) : (at(i) << 8) | at(i + 1)));
        return true;
    }
    std::size_t start = bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF ? 3 : 0;
    std::string body = bytes.substr(start);
    *text = FromUtf8(body);
    if (text->empty() && !body.empty()) {
        *error = {0, "the file is neither UTF-16LE with a byte-order mark nor valid UTF-8"};
        return false;
    }
    return true;
}

// ---- writing ------------------------------------------------------------------------

std::u16string RootName(RootKind root) {
    return root == RootKind::CurrentUser ? u"HKEY_CURRENT_USER" : u"HKEY_LOCAL_MACHINE";
}

std::u16string FileHeader() { return std::u16string(kHeader) + kNewLine + kNewLine; }

std::u16string FormatKeyLine(RootKind root, const std::u16string& path) {
    // Built by appending: GCC 12 at -O3 misreads a literal joined to a string with
    // operator+ as an overlapping copy.
    std::u16string line = u"[";
    line += RootName(root);
    if (!path.empty()) {
        line += u'\\';
        line += path;
    }
    line += u']';
    line += kNewLine;
    return line;
}

namespace {

std::u16string Quoted(const std::u16string& text) {
    std::u16string out = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') out.push_back(u'\\');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

std::u16string Hex(unsigned long value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*lx", width, value);
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

// REG_SZ data that reads back unchanged as a quoted string: whole UTF-16 units,
// one terminating zero at the end and no other, no line breaks inside, and every
// surrogate in a pair (a lone one has no UTF-8 form and would come back as
// U+FFFD).
bool WritableAsString(const std::vector<BYTE>& data, std::u16string* text) {
    if (data.size() < 2 || data.size() % 2 != 0) return false;
    text->clear();
    for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 0 || c == u'\r' || c == u'\n') return false;
        text->push_back(c);
    }
    for (std::size_t i = 0; i < text->size(); ++i) {
        const char16_t c = (*text)[i];
        if (c < 0xD800 || c > 0xDFFF) continue;
        if (c > 0xDBFF || i + 1 == text->size() || (*text)[i + 1] < 0xDC00 || (*text)[i + 1] > 0xDFFF) return false;
        ++i;
    }
    return data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
}

std::u16string HexList(std::u16string line, const std::vector<BYTE>& data) {
    std::u16string out;
    for (std::size_t i = 0; i < data.size(); ++i) {
        line += Hex(data[i], 2);
        if (i + 1 == data.size()) break;
        line.push_back(u',');
        if (line.size() >= kHexLineLimit) {
            out += line + u"\\" + kNewLine;
            line = u"  ";
        }
    }
    return out + line + kNewLine;
}

}  // namespace

std::u16string FormatValue(const std::u16string& name, DWORD type, const std::vector<BYTE>& data) {
    std::u16string line = (name.empty() ? u"@" : Quoted(name)) + u"=";
    std::u16string text;
    if (type == 1 /*REG_SZ*/ && WritableAsString(data, &text)) return line + Quoted(text) + kNewLine;
    if (type == 4 /*REG_DWORD*/ && data.size() == 4) {
        unsigned long value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned long>(data[3]) << 24);
        return line + u"dword:" + Hex(value, 8) + kNewLine;
    }
    line += type == 3 /*REG_BINARY*/ ? u"hex:" : u"hex(" + Hex(type, 0) + u"):";
    return HexList(line, data);
}

// ---- reading lines ------------------------------------------------------------------

namespace {

struct Line {
    int number;
    std::u16string text;
};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Trim(const std::u16string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::vector<Line> SplitLines(const std::u16string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    int number = 1;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        std::u16string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        lines.push_back({number++, line});
        start = end + 1;
    }
    return lines;
}

std::string Narrow(const std::u16string& text) { return ToUtf8(text); }

// A reader over one logical line with a cursor.
struct Cursor {
    const std::u16string& text;
    std::size_t at = 0;
    bool Done() const { return at >= text.size(); }
    char16_t Peek() const { return Done() ? 0 : text[at]; }
    void SkipSpaces() {
        while (!Done() && IsSpace(text[at])) ++at;
    }
    bool Take(const std::u16string& word) {
        if (text.compare(at, word.size(), word) != 0) return false;
        at += word.size();
        return true;
    }
};

// A quoted string with \\ and \" escapes; the cursor stands on the opening quote.
bool ReadQuoted(Cursor& cursor, std::u16string* out, std::string* problem) {
    out->clear();
    ++cursor.at;
    while (!cursor.Done()) {
        char16_t c = cursor.text[cursor.at++];
        if (c == u'"') return true;
        if (c == u'\\') {
            if (cursor.Done() || (cursor.Peek() != u'\\' && cursor.Peek() != u'"')) {
                *problem = "a backslash in a quoted string must be followed by \\ or \"";
                return false;
            }
            c = cursor.text[cursor.at++];
        }
        out->push_back(c);
    }
    *problem = "a quoted string is not closed";
    return false;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool ReadHexNumber(Cursor& cursor, std::size_t maxDigits, unsigned long* value) {
    std::size_t digits = 0;
    *value = 0;
    while (!cursor.Done() && HexDigit(cursor.Peek()) >= 0) {
        if (++digits > maxDigits) return false;
        *value = *value * 16 + static_cast<unsigned long>(HexDigit(cursor.text[cursor.at++]));
    }
    return digits > 0;
}

bool ReadHexBytes(Cursor& cursor, std::vector<BYTE>* data, std::string* problem) {
    data->clear();
    cursor.SkipSpaces();
    if (cursor.Done()) return true;
    for (;;) {
        cursor.SkipSpaces();
        int high = HexDigit(cursor.Peek());
        int low = high < 0 || cursor.at + 1 >= cursor.text.size() ? -1 : HexDigit(cursor.text[cursor.at + 1]);
        if (high < 0 || low < 0) {
            *problem = "expected a byte of two hexadecimal digits";
            return false;
        }
        cursor.at += 2;
        data->push_back(static_cast<BYTE>(high * 16 + low));
        cursor.SkipSpaces();
        if (cursor.Done()) return true;
        if (cursor.Peek() != u',') {
            *problem = "bytes must be separated by commas";
            return false;
        }
        ++cursor.at;
    }
}

// ---- reading values -----------------------------------------------------------------

bool ParseData(Cursor& cursor, ValueEdit* value, std::string* problem) {
    if (cursor.Peek() == u'-') {
        ++cursor.at;
        value->remove = true;
    } else if (cursor.Peek() == u'"') {
        std::u16string text;
        if (!ReadQuoted(cursor, &text, problem)) return false;
        value->type = 1;  // REG_SZ
        for (char16_t c : text) {
            value->data.push_back(static_cast<BYTE>(c & 0xFF));
            value->data.push_back(static_cast<BYTE>(c >> 8));
        }
        value->data.push_back(0);
        value->data.push_back(0);
    } else if (cursor.Take(u"dword:")) {
        unsigned long number = 0;
        if (!ReadHexNumber(cursor, 8, &number)) {
            *problem = "dword: needs one to eight hexadecimal digits";
            return false;
        }
        value->type = 4;  // REG_DWORD
        for (int shift = 0; shift < 32; shift += 8) value->data.push_back(static_cast<BYTE>(number >> shift));
    } else if (cursor.Take(u"hex:")) {
        value->type = 3;  // REG_BINARY
        return ReadHexBytes(cursor, &value->data, problem);
    } else if (cursor.Take(u"hex(")) {
        unsigned long type = 0;
        if (!ReadHexNumber(cursor, 8, &type) || !cursor.Take(u"):")) {
            *problem = "hex( must be followed by a hexadecimal type and \"):\"";
            return false;
        }
        value->type = static_cast<DWORD>(type);
        return ReadHexBytes(cursor, &value->data, problem);
    } else {
        *problem = "the data must be \"text\", dword:, hex:, hex(type): or -";
        return false;
    }
    cursor.SkipSpaces();
    if (!cursor.Done()) {
        *problem = "unexpected text after the value";
        return false;
    }
    return true;
}

bool ParseValueLine(const std::u16string& text, ValueEdit* value, std::string* problem) {
    Cursor cursor{text};
    if (cursor.Peek() == u'@') {
        ++cursor.at;
    } else if (!ReadQuoted(cursor, &value->name, problem)) {
        return false;
    } else if (value->name.empty()) {
        *problem = "the default value is written as @, not \"\"";
        return false;
    }
    cursor.SkipSpaces();
    if (!cursor.Take(u"=")) {
        *problem = "expected = after the value name";
        return false;
    }
    cursor.SkipSpaces();
    return ParseData(cursor, value, problem);
}

}  // namespace

// ---- reading keys -------------------------------------------------------------------

bool ParseKeyName(const std::u16string& name, RootKind* root, std::u16string* path) {
    std::size_t slash = name.find(u'\\');
    std::u16string head = name.substr(0, slash);
    for (char16_t& c : head)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (head == u"HKEY_CURRENT_USER" || head == u"HKCU")
        *root = RootKind::CurrentUser;
    else if (head == u"HKEY_LOCAL_MACHINE" || head == u"HKLM")
        *root = RootKind::LocalMachine;
    else
        return false;
    // Runs of backslashes count as one separator, as in the registry itself.
    path->clear();
    if (slash == std::u16string::npos) return true;
    for (std::size_t i = slash; i < name.size(); ++i) {
        if (name[i] == u'\\') {
            if (!path->empty() && path->back() != u'\\') path->push_back(u'\\');
        } else {
            path->push_back(name[i]);
        }
    }
    if (!path->empty() && path->back() == u'\\') path->pop_back();
    return true;
}

namespace {

bool ParseKeyLine(const std::u16string& text, KeyEdit* key, std::string* problem) {
    if (text.back() != u']') {
        *problem = "a key line must end with ]";
        return false;
    }
    std::u16string inner = text.substr(1, text.size() - 2);
    if (!inner.empty() && inner[0] == u'-') {
        key->remove = true;
        inner.erase(0, 1);
    }
    if (!ParseKeyName(inner, &key->root, &key->path)) {
        *problem = "the key must start with HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE (or HKCU, HKLM)";
        return false;
    }
    if (key->remove && key->path.empty()) {
        *problem = "a root key cannot be deleted";
        return false;
    }
    return true;
}

}  // namespace

bool ParseRegText(const std::u16string& text, std::vector<KeyEdit>* edits, ParseError* error) {
    edits->clear();
    std::vector<Line> lines = SplitLines(text);
    std::size_t i = 0;
    while (i < lines.size() && Trim(lines[i].text).empty()) ++i;
    if (i == lines.size() || Trim(lines[i].text) != kHeader) {
        *error = {i < lines.size() ? lines[i].number : 1,
                  "the file must begin with \"Windows Registry Editor Version 5.00\""};
        return false;
    }
    std::vector<KeyEdit> parsed;
    for (++i; i < lines.size(); ++i) {
        const int number = lines[i].number;
        std::u16string line = Trim(lines[i].text);
        if (line.empty() || line[0] == u';') continue;
        std::string problem;
        if (line[0] == u'[') {
            KeyEdit key;
            key.line = number;
            if (!ParseKeyLine(line, &key, &problem)) {
                *error = {number, problem};
                return false;
            }
            parsed.push_back(std::move(key));
            continue;
        }
        if (line[0] != u'"' && line[0] != u'@') {
            *error = {number, "expected a [key] line, a \"name\"=value line or a ; comment, found \"" +
                                  Narrow(line.substr(0, 40)) + "\""};
            return false;
        }
        // A trailing backslash continues the value on the next line.
        while (!line.empty() && line.back() == u'\\' && i + 1 < lines.size()) {
            line.pop_back();
            line += Trim(lines[++i].text);
        }
        if (parsed.empty()) {
            *error = {number, "a value must follow a [key] line"};
            return false;
        }
        if (parsed.back().remove) {
            *error = {number, "a deleted key cannot have values"};
            return false;
        }
        ValueEdit value;
        value.line = number;
        if (!ParseValueLine(line, &value, &problem)) {
            *error = {number, problem};
            return false;
        }
        parsed.back().values.push_back(std::move(value));
    }
    *edits = std::move(parsed);
    return true;
}

}  // namespace tq3::reg
