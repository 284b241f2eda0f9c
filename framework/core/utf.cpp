#include "framework/core/utf.h"

#include <cstring>
#include <new>

namespace tq3::fw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void PutUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void PutUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

// The lead byte decides the length of a sequence and the range its second byte
// must fall in (which excludes overlong forms, surrogates and values past
// U+10FFFF). Length 0 means the byte cannot start a sequence.
struct Lead {
    int length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

Lead ClassifyLead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// Decodes one sequence at text[i]; returns the code point (U+FFFD for an
// ill-formed part) and advances i past what it used.
char32_t DecodeOne(std::string_view text, std::size_t& i) {
    const unsigned char b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    const Lead lead = ClassifyLead(b0);
    if (lead.length == 0) {
        ++i;
        return kReplacement;
    }
    char32_t cp = b0 & (0xFF >> (lead.length + 1));
    for (int k = 1; k < lead.length; ++k) {
        if (i + k >= text.size()) {
            i += k;
            return kReplacement;
        }
        const unsigned char b = static_cast<unsigned char>(text[i + k]);
        const unsigned char low = k == 1 ? lead.secondLow : 0x80;
        const unsigned char high = k == 1 ? lead.secondHigh : 0xBF;
        if (b < low || b > high) {
            i += k;  // the valid prefix is one ill-formed part; `b` starts afresh
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += lead.length;
    return cp;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
            PutUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHigh(c) || IsLow(c)) {
            PutUtf8(out, kReplacement);
        } else {
            PutUtf8(out, c);
        }
    }
    return out;
}

std::string ToUtf8(LPCWSTR text, int length) {
    if (text == nullptr) return std::string();
    if (length < 0) return ToUtf8(std::u16string_view(text));
    return ToUtf8(std::u16string_view(text, static_cast<std::size_t>(length)));
}

std::string ToUtf8(const CString& text) { return ToUtf8(text.GetString(), text.GetLength()); }

void AppendUtf8AsU16(std::string_view text, std::u16string& out) {
    for (std::size_t i = 0; i < text.size();) PutUtf16(out, DecodeOne(text, i));
}

std::u16string Utf8ToU16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    AppendUtf8AsU16(text, out);
    return out;
}

CString FromUtf8(std::string_view text) {
    const std::u16string wide = Utf8ToU16(text);
    if (wide.size() > static_cast<std::size_t>(CString::kMaxLength)) throw std::bad_alloc();
    return CString(wide.data(), static_cast<int>(wide.size()));
}

CString FromUtf8(const char* text) { return text ? FromUtf8(std::string_view(text)) : CString(); }

}  // namespace tq3::fw
