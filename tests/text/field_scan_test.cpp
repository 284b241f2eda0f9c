#include "text/field_scan.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

// The answer for a settled line, read the way the cell setter read it before it
// had a single pass: find the field, end its text, then look for a line break
// before, inside and after it. -1 offsets stand for "not settled".
struct Found {
    long start = -1;
    long stop = -1;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) { return out << '{' << f.start << ", " << f.stop << '}'; }

Found StepByStep(const std::u16string& body, std::size_t index) {
    const std::u16string line = body + u"\r\n";
    const WCHAR* base = line.c_str();
    const WCHAR* lineEnd = base + body.size();
    const tq3::FieldStart found = tq3::LocateField(base, index);
    if (found.start == nullptr || found.breakBefore) return {};
    const WCHAR* fieldEnd = tq3::FieldTextEnd(found.start);
    if (fieldEnd > lineEnd || tq3::HasLineBreak(fieldEnd, lineEnd)) return {};
    return {found.start - base, fieldEnd - base};
}

// The body alone in a heap block of its exact size, so that the address sanitizer
// sees any read past its end.
template <typename Scan>
Found OnePass(const std::u16string& body, std::size_t index, Scan scan) {
    std::vector<WCHAR> exact(body.begin(), body.end());
    const WCHAR* text = exact.data();
    const WCHAR* start = nullptr;
    const WCHAR* stop = nullptr;
    if (!scan(text, text + exact.size(), index, start, stop)) return {};
    return {start - text, stop - text};
}

Found Vectored(const std::u16string& body, std::size_t index) { return OnePass(body, index, tq3::FindSettledField); }
Found Scalar(const std::u16string& body, std::size_t index) { return OnePass(body, index, tq3::FindSettledFieldScalar); }

// Bodies of every length up to a few blocks, mostly ordinary text with TABs and
// now and then a line break, a zero or a surrogate: the one-pass scans must agree
// with the step-by-step reading on every field index.
TEST(FieldScanTest, OnePassAgreesWithTheStepByStepReading) {
    std::mt19937 random(14);
    const char16_t rare[] = {u'\r', u'\n', u'\0', 0xD83D, 0xDE00, 0xFFFF, u'\x0B', u'\x0D' + 1};
    int settled = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::size_t length = random() % 40;
        std::u16string body;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned pick = random() % 64;
            body += pick < 10 ? u'\t' : pick < 12 ? rare[random() % std::size(rare)] : static_cast<char16_t>(u'a' + pick % 26);
        }
        for (std::size_t index = 0; index < 12; ++index) {
            const Found expected = StepByStep(body, index);
            settled += expected.start >= 0;
            ASSERT_EQ(Vectored(body, index), expected) << "round " << round << ", field " << index;
            ASSERT_EQ(Scalar(body, index), expected) << "round " << round << ", field " << index;
        }
    }
    // Both answers must have been exercised in earnest.
    EXPECT_GT(settled, 20000);
    EXPECT_LT(settled, 20000 * 12 - 20000);
}

}  // namespace
