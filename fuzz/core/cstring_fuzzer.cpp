// CString editing and the UTF-8 conversions against plain oracles.
//
// Input: one byte picking the operation, two signed bytes of positions or counts,
// one byte splitting the rest, then the rest as raw bytes (UTF-8 checks) or as
// UTF-16 code units (CString checks: a subject text and a second string used as
// pattern, replacement or character set).
#include <unicode/ustring.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "framework/core/cstring.h"
#include "framework/core/utf.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::u16string Units(const CString& s) { return std::u16string(s.GetString(), s.GetLength()); }

// ICU's decoder substitutes U+FFFD per maximal ill-formed part, as ours must.
void CheckUtf8(std::string_view bytes) {
    const std::u16string ours = tq3::fw::Utf8ToU16(bytes);
    std::u16string icu(bytes.size() + 1, u'\0');
    int32_t length = 0;
    int32_t substitutions = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(icu.data()), static_cast<int32_t>(icu.size()), &length,
                         bytes.data(), static_cast<int32_t>(bytes.size()), 0xFFFD, &substitutions, &status);
    Require(U_SUCCESS(status));
    icu.resize(static_cast<std::size_t>(length));
    Require(ours == icu);
    // Whatever came in, what goes out is valid and converts back unchanged.
    const std::string again = tq3::fw::ToUtf8(ours);
    Require(tq3::fw::Utf8ToU16(again) == ours);
    if (substitutions == 0) Require(again == bytes);
}

void CheckUtf16(const std::u16string& text) {
    const std::string utf8 = tq3::fw::ToUtf8(text);
    const std::u16string back = tq3::fw::Utf8ToU16(utf8);
    Require(back.size() <= text.size());
    bool unpaired = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            unpaired = true;
        }
    }
    if (!unpaired) Require(back == text);
}

void CheckReplace(const std::u16string& text, const std::u16string& from, const std::u16string& to) {
    CString s(text.data(), static_cast<int>(text.size()));
    const int count = s.Replace(CString(from.data(), static_cast<int>(from.size())),
                                CString(to.data(), static_cast<int>(to.size())));
    // Pattern and replacement stop at their first zero, as LPCWSTR arguments do.
    const std::u16string pattern(from.c_str());
    const std::u16string replacement(to.c_str());
    std::u16string expected;
    int expectedCount = 0;
    if (pattern.empty()) {
        expected = text;
    } else {
        std::size_t done = 0;
        for (std::size_t pos = text.find(pattern); pos != std::u16string::npos; pos = text.find(pattern, done)) {
            expected.append(text, done, pos - done).append(replacement);
            done = pos + pattern.size();
            ++expectedCount;
        }
        expected.append(text, done);
    }
    Require(count == expectedCount);
    Require(Units(s) == expected);
}

void CheckFind(const std::u16string& text, const std::u16string& what, int start) {
    const CString s(text.data(), static_cast<int>(text.size()));
    const std::u16string pattern(what.c_str());
    const int n = static_cast<int>(text.size());
    const int found = s.Find(pattern.c_str(), start);
    const int expected = (start < 0 || start > n) ? -1 : static_cast<int>(text.find(pattern, static_cast<std::size_t>(start)));
    Require(found == expected);
    if (!pattern.empty()) {
        const int ch = s.Find(pattern[0], start);
        const int expectedCh = (start < 0 || start >= n) ? -1 : static_cast<int>(text.find(pattern[0], static_cast<std::size_t>(start)));
        Require(ch == expectedCh);
    }
}

void CheckTokenize(const std::u16string& text, const std::u16string& delimiters, int start) {
    const CString s(text.data(), static_cast<int>(text.size()));
    const std::u16string set(delimiters.c_str());
    int pos = start;
    int rounds = 0;
    std::size_t tokenUnits = 0;
    for (;;) {
        const CString token = s.Tokenize(set.c_str(), pos);
        if (pos == -1) {
            Require(token.IsEmpty());
            break;
        }
        Require(!token.IsEmpty());
        Require(token.FindOneOf(set.c_str()) == -1);  // a token holds no delimiter
        tokenUnits += static_cast<std::size_t>(token.GetLength());
        Require(++rounds <= static_cast<int>(text.size()));
    }
    Require(tokenUnits <= text.size());
}

void CheckEdits(const std::u16string& text, const std::u16string& other, int a, int b) {
    const int n = static_cast<int>(text.size());
    const CString s(text.data(), n);
    const int first = a < 0 ? 0 : (a > n ? n : a);
    const int count = b < 0 ? 0 : (b > n - first ? n - first : b);
    Require(Units(s.Mid(a, b)) == text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
    Require(Units(s.Left(b)) == text.substr(0, static_cast<std::size_t>(b < 0 ? 0 : b)));

    CString deleted(s);
    const int left = deleted.Delete(a, b);
    std::u16string expected = text;
    if (a >= 0 && a < n && b > 0) expected.erase(static_cast<std::size_t>(a), static_cast<std::size_t>(b));
    if (a < 0 && b > 0 && n > 0) expected.erase(0, static_cast<std::size_t>(b));
    Require(left == static_cast<int>(expected.size()));
    Require(Units(deleted) == expected);

    CString inserted(s);
    const std::u16string piece(other.c_str());
    inserted.Insert(a, piece.c_str());
    expected = text;
    expected.insert(static_cast<std::size_t>(a < 0 ? 0 : (a > n ? n : a)), piece);
    Require(Units(inserted) == expected);

    CString trimmed(s);
    trimmed.Trim(piece.c_str());
    if (!piece.empty()) {
        const std::size_t from = text.find_first_not_of(piece);
        expected = from == std::u16string::npos ? std::u16string() : text.substr(from, text.find_last_not_of(piece) - from + 1);
    } else {
        expected = text;
    }
    Require(Units(trimmed) == expected);

    CString appended(s);
    appended += appended;
    appended.Append(appended.GetString() + appended.GetLength() / 2, appended.GetLength() / 2);
    Require(appended.GetLength() == 2 * n + n);
    Require(appended.GetString()[appended.GetLength()] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const int op = data[0] % 6;
    const int a = static_cast<std::int8_t>(data[1]);
    const int b = static_cast<std::int8_t>(data[2]);
    const std::size_t body = size - 4;
    const std::size_t split = body == 0 ? 0 : (data[3] % (body + 1)) & ~static_cast<std::size_t>(1);
    const std::uint8_t* rest = data + 4;
    if (op == 0) {
        CheckUtf8(std::string_view(reinterpret_cast<const char*>(rest), body));
        return 0;
    }
    auto units = [](const std::uint8_t* p, std::size_t bytes) {
        std::u16string s(bytes / 2, u'\0');
        for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
        return s;
    };
    const std::u16string text = units(rest, split);
    const std::u16string other = units(rest + split, body - split);
    try {
        switch (op) {
            case 1: CheckUtf16(text + other); break;
            case 2: CheckReplace(text, other.substr(0, other.size() / 2), other.substr(other.size() / 2)); break;
            case 3: CheckFind(text, other, a); break;
            case 4: CheckTokenize(text, other, a); break;
            default: CheckEdits(text, other, a, b); break;
        }
    } catch (const std::bad_alloc&) {
        // Only a huge replacement result could get here; that is a valid outcome.
    }
    return 0;
}
