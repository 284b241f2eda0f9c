// Drives the five tab-separated text functions with arbitrary UTF-16 text and
// indexes, checking each answer against a plain reading of the same record.
//
// Input: 6 control bytes (three signed field indexes, digit limit, two selection
// positions), one byte that splits the rest, then the rest as two UTF-16 strings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/locale.h"
#include "text/field_scan.h"
#include "text/tab_text.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

std::u16string FromBytes(const std::uint8_t* data, std::size_t size) {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 0) break;
        s.push_back(c);
    }
    return s;
}

std::vector<std::u16string> PlainFields(const std::u16string& record) {
    std::vector<std::u16string> fields;
    std::size_t from = 0;
    for (;;) {
        std::size_t tab = record.find(u'\t', from);
        std::u16string field = record.substr(from, tab == std::u16string::npos ? std::u16string::npos : tab - from);
        fields.push_back(field.substr(0, field.find_first_of(u"\r\n")));
        if (tab == std::u16string::npos) return fields;
        from = tab + 1;
    }
}

std::u16string Join(const std::vector<std::u16string>& fields, std::size_t from, std::size_t to) {
    std::u16string joined;
    for (std::size_t i = from; i <= to; ++i) joined += (i > from ? u"\t" : u"") + fields[i];
    return joined;
}

void CheckDivide(const std::u16string& text) {
    std::u16string buffer = text;
    int tabs = 0;
    for (char16_t c : text) tabs += c == u'\t';
    Check(DivideString(buffer.data()) == tabs + 1);
    for (char16_t c : buffer) Check(c != u'\t' && c != u'\r' && c != u'\n');
}

void CheckGet(const std::u16string& line, int first, int last) {
    std::vector<WCHAR> out(line.size() + 3, u'#');
    int got = GetPartsOfTabSeparatedString(line.c_str(), out.data(), first, last);
    auto fields = PlainFields(line);
    const int n = static_cast<int>(fields.size());
    if (first < 0 || first >= n || last >= n) {
        Check(got == -1);
        for (WCHAR c : out) Check(c == u'#');
        return;
    }
    std::u16string result(out.data());
    if (last >= 0 && last <= first) {
        Check(got == 1 && result == fields[first]);
        return;
    }
    const int end = last < 0 ? n - 1 : last;
    Check(got == end - first + 1);
    Check(result == Join(fields, first, end) + u"\r\n");
}

void CheckSet(const std::u16string& line, const std::u16string& parts, int at) {
    std::vector<WCHAR> buffer(line.size() + parts.size() + 3, u'#');
    std::copy(line.begin(), line.end(), buffer.begin());
    buffer[line.size()] = 0;
    int replaced = SetPartsOfTabSeparatedString(buffer.data(), parts.c_str(), at);
    if (at < 0) {
        Check(replaced == -1 && std::u16string(buffer.data()) == line);
        return;
    }
    auto own = PlainFields(line);
    auto incoming = PlainFields(parts);
    const int n = static_cast<int>(own.size());
    const int m = static_cast<int>(incoming.size());
    const int expected = at >= n ? 0 : (m < n - at ? m : n - at);
    Check(replaced == expected);
    const std::u16string result(buffer.data());
    auto after = PlainFields(result);
    Check(static_cast<int>(after.size()) == n);
    Check(result.size() >= 2 && result.compare(result.size() - 2, 2, u"\r\n") == 0);
    for (int i = 0; i < n; ++i) Check(after[i] == (i >= at && i - at < m ? incoming[i - at] : own[i]));
    // Reading the replaced fields back gives the parts.
    if (replaced > 0) {
        std::vector<WCHAR> out(result.size() + 3);
        const int last = at + replaced - 1;
        Check(GetPartsOfTabSeparatedString(result.c_str(), out.data(), at, last) == replaced);
        std::u16string back(out.data());
        Check(back == (replaced == 1 ? incoming[0] : Join(incoming, 0, replaced - 1) + u"\r\n"));
    }
    // Replacing again changes nothing.
    std::vector<WCHAR> again(result.size() + parts.size() + 3);
    std::copy(result.begin(), result.end() + 1, again.begin());
    Check(SetPartsOfTabSeparatedString(again.data(), parts.c_str(), at) == replaced);
    Check(std::u16string(again.data()) == result);
}

void CheckInsert(const std::u16string& text, const std::u16string& insert, int maxDigits, int selStart, int selEnd) {
    // Exactly the 102 characters the function may use, not necessarily terminated.
    std::vector<WCHAR> entry(102, u'7');
    std::vector<WCHAR> typed(102, u'8');
    for (std::size_t i = 0; i < text.size() && i < entry.size(); ++i) entry[i] = text[i];
    if (text.size() < entry.size()) entry[text.size()] = 0;
    for (std::size_t i = 0; i < insert.size() && i < typed.size(); ++i) typed[i] = insert[i];
    if (insert.size() < typed.size()) typed[insert.size()] = 0;
    InsertNumString(entry.data(), typed.data(), maxDigits, 0, selStart, selEnd);
    std::size_t length = 0;
    while (length < entry.size() && entry[length] != 0) ++length;
    Check(length <= 101);
}

void CheckSearch(const std::u16string& text, const std::u16string& pattern, DWORD flags) {
    int start = 0;
    int end = 0;
    SearchPartialString(text.c_str(), pattern.c_str(), flags, &start, &end);
    if (start < 0) {
        Check(end == -1);
        if ((flags & NORM_IGNORECASE) == 0 && !pattern.empty()) Check(text.find(pattern) == std::u16string::npos);
        return;
    }
    Check(end - start + 1 == static_cast<int>(pattern.size()));
    if ((flags & NORM_IGNORECASE) == 0) Check(text.find(pattern) == static_cast<std::size_t>(start));
}

// The cell setter's one-pass scan of a settled line against the step-by-step
// reading: locate the field, end its text, look for a line break anywhere in the
// line. The line sits in a block of its exact length, so a read past it shows.
void CheckSettledField(const std::u16string& body, std::size_t index) {
    const std::u16string line = body + u"\r\n";
    const WCHAR* base = line.c_str();
    const tq3::FieldStart found = tq3::LocateField(base, index);
    const WCHAR* fieldEnd = found.start != nullptr ? tq3::FieldTextEnd(found.start) : nullptr;
    const bool settled = found.start != nullptr && !found.breakBefore && fieldEnd <= base + body.size() &&
                         !tq3::HasLineBreak(fieldEnd, base + body.size());
    const std::vector<WCHAR> exact(body.begin(), body.end());
    const WCHAR* text = exact.data();
    for (bool vectored : {true, false}) {
        const WCHAR* start = nullptr;
        const WCHAR* stop = nullptr;
        const bool got = vectored ? tq3::FindSettledField(text, text + exact.size(), index, start, stop)
                                  : tq3::FindSettledFieldScalar(text, text + exact.size(), index, start, stop);
        Check(got == settled);
        if (got) Check(start - text == found.start - base && stop - text == fieldEnd - base);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 7) return 0;
    const int first = static_cast<std::int8_t>(data[0]);
    const int last = static_cast<std::int8_t>(data[1]);
    const int at = static_cast<std::int8_t>(data[2]);
    const int maxDigits = static_cast<std::int8_t>(data[3]);
    // Selection positions reach well past the entry, both ways.
    const int selStart = static_cast<std::int8_t>(data[4]) * 3;
    const int selEnd = static_cast<std::int8_t>(data[5]) * 3;
    const std::size_t rest = size - 7;
    const std::size_t split = rest == 0 ? 0 : (data[6] * rest / 256) & ~std::size_t{1};
    const std::u16string a = FromBytes(data + 7, split);
    const std::u16string b = FromBytes(data + 7 + split, rest - split);

    CheckDivide(a);
    CheckGet(a, first, last);
    CheckSet(a, b, at);
    CheckInsert(a, b, maxDigits, selStart, selEnd);
    CheckSearch(a, b, static_cast<DWORD>(data[6] & 1));
    CheckSettledField(a, static_cast<std::size_t>(at < 0 ? -at : at));
    return 0;
}
