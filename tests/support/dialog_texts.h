// Whether a dialog's labels and buttons show their whole texts: each visible
// static or button text measured in the dialog's font must fit its control, and
// every CJK character in it must have a face with a real glyph for it, so that a
// translation that grew, or a font that lacks the script, shows as a failure
// rather than as a clipped or boxed picture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/core/utf.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/text/font_engine.h"
#include "tq3view/testing.h"

namespace tq3::test {

inline void ExpectWholeDialogTexts(HWND dialog, const std::string& where) {
    constexpr int kCheckRoom = 13 + 4;  // the check box and the gap before its text
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_NE(GetObjectW(font, sizeof logFont, &logFont), 0) << where;
    tq3::fw::text::FontRef realised = tq3::fw::text::RealizeFont(logFont);
    ASSERT_NE(realised, nullptr) << where;
    HDC dc = GetDC(dialog);
    HGDIOBJ before = SelectObject(dc, font);
    int measured = 0;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        WCHAR className[16]{}, raw[128]{};
        GetClassNameW(c, className, 16);
        GetWindowTextW(c, raw, 128);
        std::u16string text;
        for (const WCHAR* p = raw; *p != 0; ++p) {
            if (*p != u'&' || p[1] == u'&') text += *p;
        }
        std::u16string kind(className);
        if (text.empty() || !IsWindowVisible(c) || (kind != u"Static" && kind != u"Button")) continue;
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        RECT box{};
        GetClientRect(c, &box);
        const bool checkBox = (GetWindowLongW(c, GWL_STYLE) & 0xF) == 0x3;
        const bool pushButton = kind == u"Button" && !checkBox;
        const int room = box.right - (checkBox ? kCheckRoom : pushButton ? 4 : 0);
        EXPECT_LE(extent.cx, room) << where << ": " << tq3::fw::ToUtf8(text.c_str());
        for (char16_t ch : text) {
            if (ch < 0x3000) continue;
            EXPECT_FALSE(tq3::fw::text::FaceFileForChar(realised, ch).empty())
                << where << ": no face draws U+" << std::hex << static_cast<int>(ch);
        }
        ++measured;
    }
    EXPECT_GT(measured, 3) << where << ": the dialog shows its labels and buttons";
    SelectObject(dc, before);
    ReleaseDC(dialog, dc);
}

}  // namespace tq3::test
