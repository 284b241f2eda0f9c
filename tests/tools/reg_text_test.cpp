// The .reg text format on its own: what is accepted, what is refused and on
// which line, and that every value written reads back as the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/framework/registry/registry_test_support.h"
#include "tools/tq3reg/reg_text.h"

namespace {

using tq3::reg::KeyEdit;
using tq3::reg::ParseError;
using tq3::reg::RootKind;
using tq3::test::Utf16z;

std::u16string U(const std::string& utf8) { return tq3::reg::FromUtf8(utf8); }

TEST(RegText, ReadsEveryForm) {
    const std::string file =
        "\xEF\xBB\xBF"  // a UTF-8 byte-order mark is allowed
        "Windows Registry Editor Version 5.00\n\n"
        "; a comment\n"
        "[HKCU\\\\Software\\Vendor\\]\n"
        "@=\"x\"\n"
        "\"quote \\\" and \\\\\" = \"C:\\\\dir\\\\\"\n"
        "\"n\"=dword:2A\n"
        "\"b\"=hex:01, 02 ,ff\n"
        "\"q\"=hex(b):01,00,00,00,\\\n"
        "    00,00,00,80\n"
        "\"e\"=hex:\n"
        "\"gone\"=-\n"
        "\"\xC3\x84rger\"=\"\xE6\x97\xA5\xE6\x9C\xAC\"\n"
        "[-hklm\\SOFTWARE\\Old]\n";
    std::u16string text;
    ParseError error;
    ASSERT_TRUE(tq3::reg::DecodeFile(file, &text, &error)) << error.message;
    std::vector<KeyEdit> edits;
    ASSERT_TRUE(tq3::reg::ParseRegText(text, &edits, &error)) << error.line << ": " << error.message;
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0].root, RootKind::CurrentUser);
    EXPECT_EQ(edits[0].path, u"Software\\Vendor");
    // Name, type, data, removal and line; a continued value keeps its first line.
    const std::vector<std::tuple<std::u16string, DWORD, std::vector<BYTE>, bool, int>> expected = {
        {u"", 1, Utf16z(u"x"), false, 5},
        {u"quote \" and \\", 1, Utf16z(u"C:\\dir\\"), false, 6},
        {u"n", 4, {0x2A, 0, 0, 0}, false, 7},
        {u"b", 3, {1, 2, 0xFF}, false, 8},
        {u"q", 11, {1, 0, 0, 0, 0, 0, 0, 0x80}, false, 9},
        {u"e", 3, {}, false, 11},
        {u"gone", 0, {}, true, 12},
        {u"\u00C4rger", 1, Utf16z(u"\u65E5\u672C"), false, 13},
    };
    std::vector<std::tuple<std::u16string, DWORD, std::vector<BYTE>, bool, int>> got;
    for (const auto& v : edits[0].values) got.emplace_back(v.name, v.type, v.data, v.remove, v.line);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(edits[1].root, RootKind::LocalMachine);
    EXPECT_EQ(edits[1].path, u"SOFTWARE\\Old");
    EXPECT_TRUE(edits[1].remove);
}

TEST(RegText, RefusesMalformedFilesNamingTheLine) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\A]\r\n";
    const std::pair<std::string, int> cases[] = {
        {header + "\"a\"=dwrd:1\r\n", 4},
        {header + "\"a\"=dword:123456789\r\n", 4},  // nine digits
        {header + "\"a\"=hex:1,02\r\n", 4},  // a byte needs two digits
        {header + "\"a\"=\"unterminated\r\n", 4},
        {header + "\"a\" \"x\"\r\n", 4},  // no =
        {header + "\"\"=\"x\"\r\n", 4},   // the default value is @
        {header + "\"ok\"=dword:1\r\n\r\nplain text\r\n", 6},
        {header + "[HKEY_CLASSES_ROOT\\x]\r\n", 4},
        {header + "[-HKCU\\Old]\r\n\"a\"=dword:1\r\n", 5},  // values in a deleted key
        {"REGEDIT4\r\n\r\n[HKCU\\A]\r\n", 1},
        {"Windows Registry Editor Version 5.00\r\n\"a\"=dword:1\r\n", 2},  // a value before any key
    };
    for (const auto& [text, line] : cases) {
        SCOPED_TRACE(text);
        std::vector<KeyEdit> edits;
        ParseError error;
        EXPECT_FALSE(tq3::reg::ParseRegText(U(text), &edits, &error));
        EXPECT_EQ(error.line, line);
        EXPECT_FALSE(error.message.empty());
        EXPECT_TRUE(edits.empty());
    }
}

// Whatever bytes a value holds, its text reads back as the same type and bytes,
// and no written line grows past 78 characters.
TEST(RegText, WrittenValuesReadBackUnchanged) {
    struct Case {
        std::u16string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Case> cases = {
        {u"quote\"back\\slash", 1, Utf16z(u"a \"b\" c:\\d\\")},
        {u"line break", 1, Utf16z(u"two\r\nlines")},  // cannot be quoted: written as hex(1)
        {u"inner zero", 1, {0x41, 0, 0, 0, 0x42, 0, 0, 0}},
        {u"odd", 1, {0x41, 0, 0}},
        {u"empty sz", 1, {}},
        {u"lone high surrogate", 1, Utf16z(u"a\xD800z")},  // no UTF-8 form: written as hex(1)
        {u"lone low surrogate", 1, Utf16z(u"\xDC00")},
        {u"reversed pair", 1, Utf16z(u"\xDE00\xD83D")},
        {u"short dword", 4, {1, 2}},
        {u"none", 0, {}},
        {u"\u65E5\u672C\u8A9E", 3, {0xDE, 0xAD}},
    };
    for (std::size_t length : {1u, 22u, 23u, 48u, 200u}) {
        std::vector<BYTE> data(length);
        for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<BYTE>(i * 37 + 11);
        cases.push_back({u"Data", 3, data});
        cases.push_back({u"A rather long value name that takes most of the line", 7, data});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(tq3::reg::ToUtf8(c.name) + " size " + std::to_string(c.data.size()));
        std::u16string line = tq3::reg::FormatValue(c.name, c.type, c.data);
        std::vector<KeyEdit> edits;
        ParseError error;
        // Through the UTF-8 file, as export writes it.
        std::string file = tq3::reg::ToUtf8(tq3::reg::FileHeader() + u"[HKCU\\K]\r\n" + line);
        ASSERT_TRUE(tq3::reg::ParseRegText(U(file), &edits, &error)) << error.message << "\n" << file;
        ASSERT_EQ(edits.size(), 1u);
        ASSERT_EQ(edits[0].values.size(), 1u);
        EXPECT_EQ(edits[0].values[0].name, c.name);
        EXPECT_EQ(edits[0].values[0].type, c.type);
        EXPECT_EQ(edits[0].values[0].data, c.data);
        for (std::size_t start = 0, end; (end = line.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            if (start > 0 || c.name.size() < 40) { EXPECT_LE(end - start, 78u) << file; }
    }
}

}  // namespace
