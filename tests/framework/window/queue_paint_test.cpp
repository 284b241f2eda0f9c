// The queue: sent versus posted, translation to characters, timers on the virtual
// clock and a loop's refusal to hang; invalid regions, painting only when idle and
// only inside the update region, the caret.
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/rgn.h"
#include "framework/window/backend.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::WindowPixel;

TEST_F(WindowTest, SentMessagesRunAtOnceAndPostedOnesWaitForTheLoop) {
    HWND w = Top(WS_POPUP | WS_VISIBLE);
    desktop.RunUntilIdle();
    spy.Clear();
    // A handler that posts, then sends re-entrantly while handling a sent message.
    On(w, WM_USER, [](HWND h, WPARAM, LPARAM) -> LRESULT {
        PostMessageW(h, WM_USER + 1, 0, 0);
        return SendMessageW(h, WM_USER + 2, 0, 0) + 1;
    });
    On(w, WM_USER + 2, [](HWND, WPARAM, LPARAM) -> LRESULT { return 41; });
    EXPECT_EQ(SendMessageW(w, WM_USER, 0, 0), 42);
    PostMessageW(w, WM_USER + 3, 0, 0);
    EXPECT_EQ(backend.RunUntilIdle(), 2);
    EXPECT_TRUE(Same(spy.Compare(w, {Msg(WM_USER).Sent(), Msg(WM_USER + 2).Sent(), Msg(WM_USER + 1),
                                     Msg(WM_USER + 3)})));
}

TEST_F(WindowTest, AModalLoopWithNothingScriptedFailsLoudlyInsteadOfHanging) {
    Top(WS_POPUP);
    backend.SetIdleHook(nullptr);
    EXPECT_DEATH(
        {
            MSG m;
            while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        },
        "waiting for input that will never come");
}

TEST_F(WindowTest, TranslateMessageTypesTheUsLayoutsCharacters) {
    HWND w = Top();
    SetFocus(w);
    struct Case {
        std::vector<int> held;  // keys held down around the key
        bool caps;
        int vk;
        std::u16string chars;  // characters that reach the window, possibly none
    } cases[] = {
        {{}, false, 'A', u"a"},
        {{VK_SHIFT}, false, 'A', u"A"},
        {{}, true, 'A', u"A"},
        {{VK_CONTROL}, false, 'C', u"\x03"},
        {{VK_CONTROL}, false, VK_BACK, u"\x7F"},
        {{}, false, VK_ADD, u"+"},
    };
    spy.KeepOnly({WM_CHAR, WM_SYSCHAR});
    for (const Case& c : cases) {
        if (c.caps) backend.KeyPress(VK_CAPITAL);
        for (int k : c.held) backend.KeyDown(k);
        // What a backend is told the key will type, before it is pressed.
        EXPECT_EQ(tq3::fw::CharOfKeyPressedNow(c.vk), c.chars.empty() ? u'\0' : c.chars[0]) << "vk " << c.vk;
        backend.KeyPress(c.vk);
        for (int k : c.held) backend.KeyUp(k);
        if (c.caps) backend.KeyPress(VK_CAPITAL);
        spy.Clear();
        desktop.RunUntilIdle();
        std::u16string got;
        for (const auto& record : spy.Log()) got.push_back(static_cast<char16_t>(record.wParam));
        EXPECT_EQ(got, c.chars) << "vk " << c.vk;
    }
}

TEST_F(WindowTest, TimersFireOnTheVirtualClockOncePerPeriod) {
    HWND w = Top(WS_POPUP | WS_VISIBLE);
    desktop.RunUntilIdle();
    spy.KeepOnly({WM_TIMER});
    auto fired = [&] {
        std::vector<WPARAM> ids;
        for (const auto& record : spy.Find(w, WM_TIMER)) ids.push_back(record.wParam);
        spy.Clear();
        return ids;
    };
    EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    EXPECT_EQ(SetTimer(w, 8, 250, nullptr), 8u);
    desktop.RunUntilIdle();
    desktop.AdvanceClock(99);
    EXPECT_TRUE(fired().empty()) << "nothing is due before its time";
    desktop.AdvanceClock(1);
    EXPECT_EQ(fired(), (std::vector<WPARAM>{7}));
    desktop.AdvanceClock(400);  // to t = 500
    EXPECT_EQ(fired(), (std::vector<WPARAM>{7, 8, 7, 7, 7, 8}));  // t = 200, 250, 300, 400, 500, 500
    EXPECT_TRUE(KillTimer(w, 8));
    EXPECT_FALSE(KillTimer(w, 8));

    // Destroying the window ends its timers.
    DestroyWindow(w);
    desktop.AdvanceClock(100);
    EXPECT_EQ(tq3::fw::TimeToNextTimer(), INFINITE);
}

// ---- Painting ------------------------------------------------------------------------

TEST_F(WindowTest, PaintIsGeneratedOnlyWhenTheQueueIsOtherwiseEmpty) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    desktop.RunUntilIdle();
    spy.IncludeNoise(true);
    spy.Clear();
    InvalidateRect(w, nullptr, TRUE);
    PostMessageW(w, WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER);
    // WM_PAINT stays until the window is validated, whatever PM_REMOVE says.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.message, WM_PAINT);
    }
    DispatchMessageW(&m);  // DefWindowProc erases and validates; the frame is valid
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(Same(spy.Compare(Msgs({WM_PAINT, WM_ERASEBKGND}))));  // WM_USER was retrieved, never dispatched
    // A procedure that ignores WM_PAINT does not make the queue spin.
    On(w, WM_PAINT, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
    InvalidateRect(w, nullptr, FALSE);
    EXPECT_EQ(backend.RunUntilIdle(), 1);
}

TEST_F(WindowTest, UpdateRegionsFollowInvalidateValidateAndRedrawFlags) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = Child(top, {100, 100, 150, 150});
    desktop.RunUntilIdle();
    RECT r;
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    RECT a{10, 10, 20, 20};
    InvalidateRect(top, &a, FALSE);
    RECT b{30, 10, 40, 30};
    InvalidateRect(top, &b, FALSE);
    ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
    EXPECT_EQ(CRect(r), CRect(10, 10, 40, 30));
    ValidateRect(top, nullptr);
    // Without WS_CLIPCHILDREN the children share the invalidation; RDW_NOCHILDREN keeps it to the parent.
    RECT over{90, 90, 120, 120};
    InvalidateRect(top, &over, FALSE);
    ASSERT_TRUE(GetUpdateRect(child, &r, FALSE));
    EXPECT_EQ(r.right, 20);
    ValidateRect(child, nullptr);
    ValidateRect(top, nullptr);
    RedrawWindow(top, &over, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
    EXPECT_TRUE(GetUpdateRect(top, &r, FALSE));
    // RDW_UPDATENOW paints before returning, children included; RDW_FRAME makes
    // the next paint draw the frame first.
    spy.IncludeNoise(true);
    spy.KeepOnly({WM_PAINT, WM_NCPAINT, WM_ERASEBKGND});
    spy.Clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    UpdateWindow(top);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_PAINT).In(top), Msg(WM_ERASEBKGND).In(top), Msg(WM_PAINT).In(child),
                                  Msg(WM_NCPAINT).In(child).Optional(), Msg(WM_ERASEBKGND).In(child).Optional(),
                                  Msg(WM_PAINT).In(top), Msg(WM_NCPAINT).In(top)})));
    // RDW_ERASENOW draws the frame and erases before returning; the paint itself
    // waits for its turn.
    spy.Clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ERASENOW | RDW_NOCHILDREN);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_NCPAINT).In(top), Msg(WM_ERASEBKGND).In(top)})));
    EXPECT_TRUE(GetUpdateRect(top, &r, FALSE));
    // Hidden windows take no invalidation.
    ShowWindow(child, SW_HIDE);
    ValidateRect(top, nullptr);
    InvalidateRect(child, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
}

TEST_F(WindowTest, PaintingDrawsThroughTheUpdateRegionOnly) {
    Register(u"WhiteWindow", 0, LoadCursorW(nullptr, IDC_ARROW),
             reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1)));
    HWND w = Top(WS_POPUP | WS_VISIBLE, {20, 20, 120, 120}, u"WhiteWindow");
    desktop.RunUntilIdle();
    const COLORREF white = GetSysColor(COLOR_WINDOW), red = RGB(255, 0, 0);
    EXPECT_EQ(WindowPixel(w, {5, 5}), white) << "erased with the class brush when first shown";
    // A red square over the whole client area, with only a corner invalid.
    HBRUSH brush = CreateSolidBrush(red);
    On(w, WM_PAINT, [brush](HWND h, WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all{0, 0, 100, 100};
        if (dc != nullptr) FillRect(dc, &all, brush);
        EndPaint(h, &ps);
        return 0;
    });
    RECT corner{0, 0, 10, 10};
    InvalidateRect(w, &corner, TRUE);
    desktop.RunUntilIdle();
    EXPECT_EQ(WindowPixel(w, {5, 5}), red);
    EXPECT_EQ(WindowPixel(w, {15, 15}), white) << "outside the update region: untouched";
    DeleteObject(brush);
}

TEST_F(WindowTest, TheCaretInvertsItsRectangleAndBlinksOnTheClock) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    desktop.RunUntilIdle();
    const COLORREF before = WindowPixel(w, {10, 10});
    const COLORREF inverted = tq3::testing::Inverted(before);
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 12));
    SetCaretPos(10, 10);
    ASSERT_TRUE(ShowCaret(w));
    EXPECT_TRUE(tq3::testing::CaptureWindow(w, RECT{10, 10, 12, 22}).FilledWith(inverted));
    EXPECT_EQ(WindowPixel(w, {12, 10}), before) << "two pixels wide";
    desktop.AdvanceClock(GetCaretBlinkTime());
    EXPECT_EQ(WindowPixel(w, {10, 10}), before) << "blinked off";
    desktop.AdvanceClock(GetCaretBlinkTime());
    EXPECT_EQ(WindowPixel(w, {10, 10}), inverted);
    // Painting takes the caret off the surface and puts it back afterwards.
    PAINTSTRUCT ps;
    InvalidateRect(w, nullptr, FALSE);
    BeginPaint(w, &ps);
    EXPECT_EQ(WindowPixel(w, {10, 10}), before);
    EndPaint(w, &ps);
    EXPECT_EQ(WindowPixel(w, {10, 10}), inverted);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(WindowPixel(w, {10, 10}), before);
}

}  // namespace
}  // namespace tq3::test
