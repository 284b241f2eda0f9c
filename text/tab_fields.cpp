// Copying fields out of a record and replacing fields of a record.
//
// Both functions scan the record once to find the fields they need and its field
// count, then work from a heap copy of what they read: the caller may hand in
// overlapping buffers (a line and parts cut from the same text), and a record is
// only ever rewritten after everything it will be rebuilt from has been saved.
// When that copy cannot be made the call fails with -1 and nothing is written.
#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "text/field_scan.h"
#include "text/tab_text.h"

namespace {

using tq3::FieldEnd;
using tq3::FieldTextEnd;
using tq3::MeasureRecord;

std::unique_ptr<WCHAR[]> CopyOf(const WCHAR* from, std::size_t length) {
    std::unique_ptr<WCHAR[]> copy(new (std::nothrow) WCHAR[length + 1]);
    if (copy) {
        std::memcpy(copy.get(), from, length * sizeof(WCHAR));
        copy[length] = 0;
    }
    return copy;
}

// Appends the text of the field that starts at `field`, returns the position after
// it in the output and leaves `field` on the TAB or zero that closes the field.
WCHAR* AppendFieldText(WCHAR* to, const WCHAR*& field) {
    const WCHAR* textEnd = FieldTextEnd(field);
    std::size_t n = static_cast<std::size_t>(textEnd - field);
    std::memmove(to, field, n * sizeof(WCHAR));
    field = *textEnd == u'\t' || *textEnd == 0 ? textEnd : FieldEnd(textEnd);
    return to + n;
}

// Steps past the TAB that closes a field, if there is one.
void SkipSeparator(const WCHAR*& p) {
    if (*p == u'\t') ++p;
}

}  // namespace

int GetPartsOfTabSeparatedString(const WCHAR* line, WCHAR* out, int first, int last) {
    if (line == nullptr || out == nullptr || first < 0) return -1;

    // One pass: the field count, where field `first` starts and which TAB closes
    // field `last`.
    std::size_t tabs = 0;
    const WCHAR* firstStart = first == 0 ? line : nullptr;
    const WCHAR* lastEnd = nullptr;
    const std::size_t wantFirst = static_cast<std::size_t>(first);
    const std::size_t wantLastEnd = last >= 0 ? static_cast<std::size_t>(last) + 1 : 0;
    const WCHAR* p = line;
    for (; *p != 0; ++p) {
        if (*p != u'\t') continue;
        ++tabs;
        if (tabs == wantFirst) firstStart = p + 1;
        if (tabs == wantLastEnd) lastEnd = p;
    }
    const std::size_t fields = tabs + 1;
    if (wantFirst >= fields) return -1;
    if (last >= 0 && static_cast<std::size_t>(last) >= fields) return -1;

    const bool single = last >= 0 && last <= first;
    const WCHAR* spanEnd = single ? FieldEnd(firstStart) : (last < 0 || lastEnd == nullptr ? p : lastEnd);
    const std::size_t count = single ? 1 : (last < 0 ? fields : wantLastEnd) - wantFirst;
    if (count > static_cast<std::size_t>(INT_MAX)) return -1;

    auto copy = CopyOf(firstStart, static_cast<std::size_t>(spanEnd - firstStart));
    if (!copy) return -1;

    const WCHAR* field = copy.get();
    WCHAR* to = out;
    to = AppendFieldText(to, field);
    if (!single) {
        while (*field == u'\t') {
            ++field;
            *to++ = u'\t';
            to = AppendFieldText(to, field);
        }
        *to++ = u'\r';
        *to++ = u'\n';
    }
    *to = 0;
    return static_cast<int>(count);
}

int SetPartsOfTabSeparatedString(WCHAR* line, const WCHAR* parts, int at) {
    if (line == nullptr || parts == nullptr || at < 0) return -1;

    // Where field `at` starts, how many fields the line has, and whether a CR or
    // LF stands before or after that point (without one, the text on that side is
    // already in its final form).
    const std::size_t wantAt = static_cast<std::size_t>(at);
    const tq3::FieldStart found = tq3::LocateField(line, wantAt);
    WCHAR* atStart = found.start != nullptr ? line + (found.start - line) : nullptr;
    const bool breakBeforeAt = found.breakBefore;
    bool breakFromAt = false;
    std::size_t tabs = found.tabs;
    WCHAR* p = line + (found.stop - line);
    for (; *p != 0; ++p) {
        if (*p > u'\r') continue;
        if (*p == u'\t') {
            ++tabs;
        } else if (tq3::IsLineBreak(*p)) {
            breakFromAt = true;
        }
    }
    const std::size_t lineFields = tabs + 1;
    const auto partsShape = MeasureRecord(parts);

    // Save the line from field `at` on and all of `parts` before writing: the
    // rebuilt fields may be longer than the ones they replace, and `parts` may lie
    // inside `line`.
    const std::size_t tailLength = atStart != nullptr ? static_cast<std::size_t>(p - atStart) : 0;
    std::unique_ptr<WCHAR[]> saved(new (std::nothrow) WCHAR[tailLength + partsShape.length + 2]);
    if (!saved) return -1;
    WCHAR* savedTail = saved.get();
    WCHAR* savedParts = saved.get() + tailLength + 1;
    std::memcpy(savedTail, atStart != nullptr ? atStart : line, tailLength * sizeof(WCHAR));
    savedTail[tailLength] = 0;
    std::memcpy(savedParts, parts, partsShape.length * sizeof(WCHAR));
    savedParts[partsShape.length] = 0;

    // Fields before `at` are rewritten where they stand: dropping what follows a CR
    // or LF only ever moves text to the left.
    const std::size_t keptFields = wantAt < lineFields ? wantAt : lineFields;
    WCHAR* to = line;
    if (!breakBeforeAt) {
        // Nothing to drop: step over the kept fields, up to the TAB in front of
        // field `at` (which the loop below writes again) or to the line's end.
        to = atStart == nullptr ? p : (wantAt > 0 ? atStart - 1 : line);
    } else {
        const WCHAR* from = line;
        for (std::size_t i = 0; i < keptFields; ++i) {
            if (i > 0) *to++ = u'\t';
            to = AppendFieldText(to, from);
            SkipSeparator(from);
        }
    }

    std::size_t replaced = 0;
    if (wantAt < lineFields) {
        const WCHAR* own = savedTail;
        const WCHAR* part = savedParts;
        bool partsLeft = true;
        for (std::size_t i = wantAt; i < lineFields; ++i) {
            if (i > 0) *to++ = u'\t';
            if (partsLeft) {
                to = AppendFieldText(to, part);
                ++replaced;
                partsLeft = *part == u'\t';
                SkipSeparator(part);
                own = FieldEnd(own);
            } else if (!breakFromAt) {
                // The line's remaining fields go back unchanged, TABs and all.
                const std::size_t rest = static_cast<std::size_t>(savedTail + tailLength - own);
                std::memcpy(to, own, rest * sizeof(WCHAR));
                to += rest;
                break;
            } else {
                to = AppendFieldText(to, own);
            }
            SkipSeparator(own);
        }
    }
    *to++ = u'\r';
    *to++ = u'\n';
    *to = 0;
    return replaced > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(replaced);
}
