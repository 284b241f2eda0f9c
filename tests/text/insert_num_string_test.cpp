#include "text/tab_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t kEntryChars = 102;

// The entry is a heap buffer of exactly 102 characters, so the address sanitizer
// sees any access beyond it.
std::u16string Insert(const std::u16string& text, const std::u16string& insert, int maxDigits, int selStart,
                      int selEnd) {
    std::vector<WCHAR> entry(kEntryChars, 0);
    std::copy(text.begin(), text.end(), entry.begin());
    InsertNumString(entry.data(), insert.c_str(), maxDigits, 0, selStart, selEnd);
    return std::u16string(entry.data());
}

struct InsertCase {
    std::u16string text;
    std::u16string insert;
    int maxDigits;
    int selStart;
    int selEnd;
    std::u16string result;
};

TEST(InsertNumString, TypesDigitsAndAPointOverTheSelection) {
    const InsertCase cases[] = {
        // Only as many digits as the limit leaves room for.
        {u"12", u"345", 4, 2, 2, u"1234"},
        // Digits inside the selection do not count against the limit.
        {u"1234", u"56", 4, 2, 4, u"1256"},
        // The first character not taken ends the insertion.
        {u"12", u"a3", 0, 0, 2, u""},
        // A point is refused when the entry already has one and the selection is
        // away from the start, and taken otherwise.
        {u"12.5", u"3.4", 0, 1, 1, u"132.5"},
        {u"125", u".7", 0, 1, 1, u"1.725"},
        {u"1.5", u"2.7", 0, 0, 0, u"2.71.5"},
        // A point that ends the insert ends the entry.
        {u"12", u".", 0, 2, 2, u"12"},
        // A leading minus survives typing at the start.
        {u"-12", u"3", 0, 0, 1, u"-312"},
        // An end before the start is the start.
        {u"1234", u"9", 0, 3, 1, u"12394"},
        // Positions past the entry's end mean its end.
        {u"12", u"3", 0, 5, 7, u"123"},
        // A missing insert inserts nothing.
        {u"12", u"", 0, 0, 1, u"2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.selStart << " end " << c.selEnd << " limit " << c.maxDigits);
        EXPECT_EQ(Insert(c.text, c.insert, c.maxDigits, c.selStart, c.selEnd), c.result);
    }
    InsertNumString(nullptr, u"1", 0, 0, 0, 0);
    WCHAR entry[kEntryChars] = u"12";
    InsertNumString(entry, nullptr, 0, 0, 0, 1);
    EXPECT_EQ(std::u16string(entry), u"2");
}

TEST(InsertNumString, StaysInsideItsBuffersWhateverItIsGiven) {
    // Neither buffer is terminated within its 102 characters: 100 digits at most,
    // 50 kept before the selection and 50 typed.
    std::vector<WCHAR> entry(kEntryChars, u'1');
    std::vector<WCHAR> insert(kEntryChars, u'2');
    InsertNumString(entry.data(), insert.data(), 0, 0, 50, 500);
    EXPECT_EQ(std::u16string(entry.data()), std::u16string(50, u'1') + std::u16string(50, u'2'));

    // Extreme positions and limits.
    const int extremes[] = {INT_MIN, -1, 101, 102, INT_MAX};
    for (int start : extremes) {
        for (int end : extremes) {
            std::vector<WCHAR> e(kEntryChars, u'9');
            e[kEntryChars - 1] = 0;
            InsertNumString(e.data(), u"12", INT_MAX, 0, start, end);
            EXPECT_LE(std::u16string(e.data()).size(), 101u);
        }
    }
}

}  // namespace
