// The .reg text format on its own: what is accepted, what is refused and on
// which line, and that every value written reads back as the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/tq3reg/reg_text.h"

namespace {

using tq3::reg::KeyEdit;
using tq3::reg::ParseError;
using tq3::reg::RootKind;

std::u16string U(const std::string& utf8) { return tq3::reg::FromUtf8(utf8); }

std::vector<BYTE> Le16z(const std::u16string& text) {
    std::vector<BYTE> out;
    for (char16_t c : text) {
        out.push_back(static_cast<BYTE>(c & 0xFF));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

TEST(RegText, ReadsEveryForm) {
    const std::string file =
        "\xEF\xBB\xBF"  // a UTF-8 byte-order mark is allowed
        "Windows Registry Editor Version 5.00\n"
        "\n"
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
    EXPECT_FALSE(edits[0].remove);
    const auto& v = edits[0].values;
    ASSERT_EQ(v.size(), 8u);
    EXPECT_EQ(v[0].name, u"");
    EXPECT_EQ(v[0].data, Le16z(u"x"));
    EXPECT_EQ(v[1].name, u"quote \" and \\");
    EXPECT_EQ(v[1].data, Le16z(u"C:\\dir\\"));
    EXPECT_EQ(v[2].type, 4u);
    EXPECT_EQ(v[2].data, (std::vector<BYTE>{0x2A, 0, 0, 0}));
    EXPECT_EQ(v[3].type, 3u);
    EXPECT_EQ(v[3].data, (std::vector<BYTE>{1, 2, 0xFF}));
    EXPECT_EQ(v[4].type, 11u);
    EXPECT_EQ(v[4].data, (std::vector<BYTE>{1, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(v[4].line, 9);  // where the continued line starts
    EXPECT_TRUE(v[5].data.empty());
    EXPECT_TRUE(v[6].remove);
    EXPECT_EQ(v[7].name, u"\u00C4rger");
    EXPECT_EQ(v[7].data, Le16z(u"\u65E5\u672C"));
    EXPECT_EQ(edits[1].root, RootKind::LocalMachine);
    EXPECT_EQ(edits[1].path, u"SOFTWARE\\Old");
    EXPECT_TRUE(edits[1].remove);
}

TEST(RegText, RefusesMalformedLinesNamingThem) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\A]\r\n";
    struct Case {
        std::string body;
        int line;
    };
    const Case cases[] = {
        {"\"a\"=dwrd:1\r\n", 4},
        {"\"a\"=dword:123456789\r\n", 4},          // nine digits
        {"\"a\"=dword:\r\n", 4},
        {"\"a\"=hex:1,02\r\n", 4},                  // a byte needs two digits
        {"\"a\"=hex:0102\r\n", 4},                  // and a comma between bytes
        {"\"a\"=hex(xyz):01\r\n", 4},
        {"\"a\"=\"unterminated\r\n", 4},
        {"\"a\"=\"bad \\n escape\"\r\n", 4},
        {"\"a\"=\"x\" trailing\r\n", 4},
        {"\"a\" \"x\"\r\n", 4},                     // no =
        {"\"\"=\"x\"\r\n", 4},                      // the default value is @
        {"\"ok\"=dword:1\r\n\r\nplain text\r\n", 6},
        {"[HKEY_CLASSES_ROOT\\x]\r\n", 4},
        {"[HKCU\\x\r\n", 4},
        {"[-HKCU]\r\n", 4},
        {"[-HKCU\\Old]\r\n\"a\"=dword:1\r\n", 5},   // values in a deleted key
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::vector<KeyEdit> edits;
        ParseError error;
        EXPECT_FALSE(tq3::reg::ParseRegText(U(header + c.body), &edits, &error));
        EXPECT_EQ(error.line, c.line);
        EXPECT_FALSE(error.message.empty());
        EXPECT_TRUE(edits.empty());
    }
    // The header is required, and a value needs a key before it.
    struct Whole {
        std::string text;
        int line;
    };
    const Whole wholes[] = {
        {"REGEDIT4\r\n\r\n[HKCU\\A]\r\n", 1},
        {"\r\n\r\nWindows Registry Editor Version 4.00\r\n", 3},
        {"", 1},
        {"Windows Registry Editor Version 5.00\r\n\"a\"=dword:1\r\n", 2},
    };
    for (const Whole& w : wholes) {
        std::vector<KeyEdit> edits;
        ParseError error;
        EXPECT_FALSE(tq3::reg::ParseRegText(U(w.text), &edits, &error)) << w.text;
        EXPECT_EQ(error.line, w.line) << w.text;
    }
}

TEST(RegText, DecodesByByteOrderMark) {
    std::u16string text;
    ParseError error;
    ASSERT_TRUE(tq3::reg::DecodeFile(std::string("\xFF\xFE" "A\0\xC4\0", 6), &text, &error));
    EXPECT_EQ(text, u"A\u00C4");
    ASSERT_TRUE(tq3::reg::DecodeFile(std::string("\xFE\xFF\0A", 4), &text, &error));
    EXPECT_EQ(text, u"A");
    EXPECT_FALSE(tq3::reg::DecodeFile(std::string("\xFF\xFE" "A", 3), &text, &error));  // odd length
    EXPECT_FALSE(tq3::reg::DecodeFile("ok \xC3\x28 not UTF-8", &text, &error));
    EXPECT_FALSE(error.message.empty());
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
        {u"", 1, Le16z(u"default")},
        {u"quote\"back\\slash", 1, Le16z(u"a \"b\" c:\\d\\")},
        {u"line break", 1, Le16z(u"two\r\nlines")},     // cannot be quoted: written as hex(1)
        {u"inner zero", 1, {0x41, 0, 0, 0, 0x42, 0, 0, 0}},
        {u"odd", 1, {0x41, 0, 0}},
        {u"empty sz", 1, {}},
        {u"dword", 4, {0xFF, 0xFF, 0xFF, 0xFF}},
        {u"short dword", 4, {1, 2}},
        {u"none", 0, {}},
        {u"expand", 2, Le16z(u"%HOME%")},
        {u"\u65E5\u672C\u8A9E", 3, {0xDE, 0xAD}},
    };
    for (std::size_t length : {1u, 21u, 22u, 23u, 47u, 48u, 200u}) {
        std::vector<BYTE> data(length);
        for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<BYTE>(i * 37 + 11);
        cases.push_back({u"Data", 3, data});
        cases.push_back({u"A rather long value name that takes most of the line", 7, data});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(tq3::reg::ToUtf8(c.name) + " type " + std::to_string(c.type) + " size " +
                     std::to_string(c.data.size()));
        std::u16string line = tq3::reg::FormatValue(c.name, c.type, c.data);
        std::u16string file = tq3::reg::FileHeader() + u"[HKCU\\K]\r\n" + line;
        std::vector<KeyEdit> edits;
        ParseError error;
        ASSERT_TRUE(tq3::reg::ParseRegText(file, &edits, &error)) << error.message << "\n" << tq3::reg::ToUtf8(line);
        ASSERT_EQ(edits.size(), 1u);
        ASSERT_EQ(edits[0].values.size(), 1u);
        EXPECT_EQ(edits[0].values[0].name, c.name);
        EXPECT_EQ(edits[0].values[0].type, c.type);
        EXPECT_EQ(edits[0].values[0].data, c.data);
        std::size_t start = 0;
        for (std::size_t end; (end = line.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            if (start > 0 || c.name.size() < 40) {
                EXPECT_LE(end - start, 78u) << tq3::reg::ToUtf8(line);
            }
    }
    // The line shapes of the common types.
    EXPECT_EQ(tq3::reg::FormatValue(u"w", 4, {0x2A, 0, 0, 0}), u"\"w\"=dword:0000002a\r\n");
    EXPECT_EQ(tq3::reg::FormatValue(u"", 1, Le16z(u"x")), u"@=\"x\"\r\n");
    EXPECT_EQ(tq3::reg::FormatValue(u"m", 7, {0x61, 0, 0, 0}), u"\"m\"=hex(7):61,00,00,00\r\n");
    EXPECT_EQ(tq3::reg::FormatValue(u"q", 11, {1, 0, 0, 0, 0, 0, 0, 0}), u"\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n");
}

}  // namespace
