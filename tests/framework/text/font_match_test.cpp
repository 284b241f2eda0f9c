// Face matching: the platform's face names land on the installed faces, charsets pick
// the default face, bold and italic pick or synthesise their style, scripts the matched
// face lacks come from a fallback face, and equal logical fonts share one realised font.
#include <gtest/gtest.h>

#include "tests/framework/text/text_test_support.h"

namespace tq3::test {
namespace {

TEST(FontMatch, PlatformFaceNamesLandOnInstalledFaces) {
    struct Case {
        const char16_t* face;
        LONG weight;
        BYTE italic;
        BYTE charSet;
        const char* file;
    };
    // One name of each family, the styles of one, and the charsets' own defaults.
    const Case cases[] = {
        {u"MS UI Gothic", FW_NORMAL, 0, DEFAULT_CHARSET, "ipagp.ttf"},
        {u"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF", FW_NORMAL, 0, SHIFTJIS_CHARSET, "ipag.ttf"},
        {u"MS Shell Dlg", FW_NORMAL, 0, DEFAULT_CHARSET, "DejaVuSans.ttf"},
        {u"Arial", FW_BOLD, 0, DEFAULT_CHARSET, "DejaVuSans-Bold.ttf"},
        {u"SimSun", FW_NORMAL, 0, GB2312_CHARSET, "wqy-microhei.ttc"},
        // No face name: the charset chooses.
        {u"", FW_NORMAL, 0, SHIFTJIS_CHARSET, "ipagp.ttf"},
        {u"", FW_NORMAL, 0, DEFAULT_CHARSET, "DejaVuSans.ttf"},
        // A name nothing stands for gets the default sans face.
        {u"No Such Face At All", FW_NORMAL, 0, DEFAULT_CHARSET, "DejaVuSans.ttf"},
    };
    for (const Case& c : cases) {
        TextStatus status = TextStatus::kInvalidArgument;
        FontRef font = RealizeFont(MakeFont(c.face, -12, c.weight, c.italic, c.charSet), &status);
        std::u16string name(c.face);
        SCOPED_TRACE(std::string(name.begin(), name.end()) + " weight " + std::to_string(c.weight));
        ASSERT_TRUE(font);
        EXPECT_EQ(status, TextStatus::kOk);
        EXPECT_EQ(BaseName(FontFilePath(font)), c.file);
    }
}

TEST(FontMatch, ScriptsComeFromTheInstalledCjkFaces) {
    struct Case {
        const char16_t* face;
        const char16_t* text;
        const char* file;
    };
    const Case cases[] = {
        {u"MS UI Gothic", u"\x65E5\x672C\x8A9E\x306E\x30C6\x30AD\x30B9\x30C8", "ipagp.ttf"},  // Japanese
        {u"SimSun", u"\x4E2D\x6587\x6587\x672C", "wqy-microhei.ttc"},                        // Chinese
        // Fallback: kana in a Latin face, Hangul in a Japanese face (IPA has none).
        {u"MS Shell Dlg", u"\x3072\x3089\x304C\x306A", "ipag.ttf"},
        {u"MS UI Gothic", u"\xD55C\xAE00", "wqy-microhei.ttc"},
    };
    for (const Case& c : cases) {
        FontRef font = RealizeFont(MakeFont(c.face, -16));
        ASSERT_TRUE(font);
        std::u16string text(c.text);
        SCOPED_TRACE(c.file);
        for (char16_t ch : text) EXPECT_EQ(BaseName(FaceFileForChar(font, ch)), c.file);
        Surface surface(200, 30, kWhite);
        DrawAt(font, surface, 2, 2, text);
        Ink ink = InkOf(surface);
        // Every character leaves ink: at least a few pixels per character, spread over
        // most of the run's width.
        EXPECT_GT(ink.count, 10 * static_cast<int>(text.size()));
        EXPECT_GE(ink.box.right - ink.box.left, Width(font, text) - 4);
    }
}

TEST(FontMatch, EqualLogicalFontsShareOneRealisedFont) {
    LOGFONTW a = MakeFont(u"MS UI Gothic", -12);
    LOGFONTW b = MakeFont(u"ms ui GOTHIC", -12);
    b.lfFaceName[20] = u'z';  // beyond the terminating zero: not part of the name
    FontRef fa = RealizeFont(a);
    FontRef fb = RealizeFont(b);
    ASSERT_TRUE(fa);
    EXPECT_EQ(fa.get(), fb.get());
    b.lfUnderline = 1;
    EXPECT_NE(RealizeFont(b).get(), fa.get());
}

TEST(FontMatch, BoldAndItalicDifferFromRegular) {
    // DejaVu has real bold and oblique styles; the IPA face has neither, so they are
    // synthesised (emboldened outlines one pixel wider per glyph, slanted outlines).
    for (const char16_t* face : {u"Arial", u"MS UI Gothic"}) {
        FontRef regular = RealizeFont(MakeFont(face, -16));
        FontRef bold = RealizeFont(MakeFont(face, -16, FW_BOLD));
        FontRef italic = RealizeFont(MakeFont(face, -16, FW_NORMAL, 1));
        ASSERT_TRUE(regular && bold && italic);
        const std::u16string text = u"Sample\x65E5\x672C";
        Surface r(200, 30, kWhite), b(200, 30, kWhite), i(200, 30, kWhite);
        DrawAt(regular, r, 4, 4, text);
        DrawAt(bold, b, 4, 4, text);
        DrawAt(italic, i, 4, 4, text);
        EXPECT_GT(InkOf(b).count, InkOf(r).count * 11 / 10);
        EXPECT_FALSE(SamePixels(r, i));
        EXPECT_GT(Width(bold, text), Width(regular, text));
    }
}

}  // namespace
}  // namespace tq3::test
