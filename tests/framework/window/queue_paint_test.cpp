// The queue: sent versus posted, retrieval order and filters, WM_QUIT, translation
// to characters, timers on the virtual clock and a loop's refusal to hang; invalid
// regions, painting only when idle and only inside the update region, the caret.
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

TEST_F(WindowTest, PeekMessageFiltersByWindowAndRangeAndCanLeaveMessages) {
    HWND a = Top(WS_POPUP);
    HWND b = Top(WS_POPUP);
    HWND bChild = Child(b, {0, 0, 1, 1}, WS_CHILD);
    desktop.RunUntilIdle();  // the desktop's own first paint
    PostMessageW(a, WM_USER + 1, 1, 0);
    PostMessageW(bChild, WM_USER + 2, 2, 0);
    PostMessageW(nullptr, WM_USER + 3, 3, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, b, 0, 0, PM_NOREMOVE));  // a window's filter takes its children too
    EXPECT_EQ(m.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)), 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 3);  // -1 takes only messages posted to no window
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER + 10, WM_USER + 20, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 1);
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE));
    // Posting to a window that is gone fails; messages already posted to it vanish.
    PostMessageW(a, WM_USER, 0, 0);
    DestroyWindow(a);
    EXPECT_FALSE(PostMessageW(a, WM_USER, 0, 0));
    EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
    // WM_QUIT comes after the messages posted before it and ends GetMessage.
    PostQuitMessage(3);
    PostMessageW(b, WM_USER, 0, 0);
    EXPECT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "a filter of WM_QUIT alone";
    EXPECT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    PostQuitMessage(4);
    backend.RunUntilIdle();
    EXPECT_TRUE(backend.QuitReceived());
    EXPECT_EQ(backend.QuitCode(), 4);
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
    // With a hook the loop gets what the hook scripts.
    HWND w = Top(WS_POPUP);
    int calls = 0;
    desktop.RunUntilIdle();
    backend.SetIdleHook([&]() {
        ++calls;
        PostMessageW(w, WM_USER, 0, 0);
        if (calls == 2) PostQuitMessage(0);
        return true;
    });
    MSG m;
    int got = 0;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        DispatchMessageW(&m);
        ++got;
    }
    EXPECT_EQ(got, 2);
    EXPECT_EQ(calls, 2);
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
        {{VK_SHIFT}, true, 'A', u"a"},
        {{VK_SHIFT}, false, '1', u"!"},
        {{VK_SHIFT}, true, '1', u"!"},
        {{VK_SHIFT}, false, VK_OEM_7, u"\""},
        {{VK_CONTROL}, false, 'C', u"\x03"},
        {{VK_CONTROL}, false, '1', u""},
        {{VK_CONTROL}, false, VK_OEM_4, u"\x1B"},
        {{VK_CONTROL}, false, VK_RETURN, u"\n"},
        {{}, false, VK_RETURN, u"\r"},
        {{}, false, VK_BACK, u"\b"},
        {{}, false, VK_ESCAPE, u"\x1B"},
        {{VK_CONTROL}, false, VK_BACK, u"\x7F"},
        {{}, false, VK_TAB, u"\t"},
        {{}, false, VK_LEFT, u""},
        {{VK_CONTROL, VK_MENU}, false, 'Q', u""},
        {{}, false, VK_ADD, u"+"},
        {{VK_CONTROL}, false, VK_ADD, u""},
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
    // The character comes right after its key, with the key's lParam (the US scan
    // code of B, 0x30); a release carries the previous-state and transition bits.
    spy.KeepOnly({});
    spy.Clear();
    desktop.KeyPress('B');
    const LPARAM down = MAKELPARAM(1, 0x30);
    EXPECT_TRUE(Same(spy.Compare(w, {Msg(WM_KEYDOWN).LParam(down), Msg(WM_CHAR).LParam(down),
                                     Msg(WM_KEYUP).LParam(static_cast<LPARAM>(0xC0300001u))})));
}

void CALLBACK_Record(HWND, UINT, UINT_PTR id, DWORD time);
std::vector<std::pair<UINT_PTR, DWORD>> procCalls;
void CALLBACK_Record(HWND, UINT, UINT_PTR id, DWORD time) { procCalls.emplace_back(id, time); }

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
    desktop.AdvanceClock(1000);
    EXPECT_EQ(fired().size(), 10u);
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x55)), 1, 10, nullptr), 0u);

    // Callbacks run instead of the window procedure; windowless timers get ids of
    // their own and are told the time.
    procCalls.clear();
    SetTimer(w, 3, 50, CALLBACK_Record);
    const UINT_PTR free1 = SetTimer(nullptr, 0, 30, CALLBACK_Record);
    const UINT_PTR free2 = SetTimer(nullptr, 0, 30, CALLBACK_Record);
    EXPECT_NE(free1, 0u);
    EXPECT_NE(free1, free2);
    EXPECT_TRUE(KillTimer(w, 7));
    desktop.AdvanceClock(50);
    EXPECT_TRUE(fired().empty());
    ASSERT_EQ(procCalls.size(), 3u);
    EXPECT_EQ(procCalls[0], std::make_pair(free1, static_cast<DWORD>(GetTickCount() - 20)));
    EXPECT_EQ(procCalls[2].first, 3u);
    EXPECT_TRUE(KillTimer(nullptr, free1));
    EXPECT_TRUE(KillTimer(nullptr, free2));
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
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), COMPLEXREGION);
    for (const RECT* valid : {static_cast<const RECT*>(&a), static_cast<const RECT*>(nullptr)}) {
        ValidateRect(top, valid);
        EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), valid != nullptr ? SIMPLEREGION : NULLREGION);
    }
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
    // Hidden windows and bad handles take no invalidation.
    ShowWindow(child, SW_HIDE);
    ValidateRect(top, nullptr);
    InvalidateRect(child, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x777)), nullptr, TRUE));
    EXPECT_FALSE(RedrawWindow(top, nullptr, reinterpret_cast<HRGN>(static_cast<LONG_PTR>(0x999)), RDW_INVALIDATE));
    DeleteObject(rgn);

    // BeginPaint reports the update area and whether the background still needs
    // erasing: the procedure here declines to erase.
    On(top, WM_ERASEBKGND, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
    PAINTSTRUCT ps;
    for (BOOL erase : {TRUE, FALSE}) {
        InvalidateRect(top, &a, erase);
        BeginPaint(top, &ps);
        EXPECT_EQ(CRect(ps.rcPaint), CRect(a));
        EXPECT_EQ(ps.fErase, erase);
        EndPaint(top, &ps);
        EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    }
    EXPECT_EQ(BeginPaint(nullptr, &ps), nullptr);
}

TEST_F(WindowTest, PaintingDrawsThroughTheUpdateRegionOnlyAndUncoversWhatMoved) {
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
    backend.ClearPresented();
    desktop.RunUntilIdle();
    EXPECT_EQ(WindowPixel(w, {5, 5}), red);
    EXPECT_EQ(WindowPixel(w, {15, 15}), white) << "outside the update region: untouched";
    EXPECT_TRUE(backend.Presented().Contains(25, 25));
    EXPECT_FALSE(backend.Presented().Contains(35, 35));
    // A DC from GetDC draws anywhere visible, outside WM_PAINT too, and names its window.
    HDC dc = GetDC(w);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), w);
    RECT mid{40, 40, 50, 50};
    FillRect(dc, &mid, brush);
    EXPECT_EQ(ReleaseDC(w, dc), 1);
    EXPECT_EQ(ReleaseDC(w, dc), 0);  // not twice
    EXPECT_EQ(ReleaseDC(w, nullptr), 0);
    EXPECT_EQ(WindowPixel(w, {45, 45}), red);
    DeleteObject(brush);

    // Moving a child uncovers what was below it: the parent repaints where the
    // child was, the child itself where it is.
    HWND top = Top(WS_POPUP | WS_VISIBLE, {200, 0, 500, 300});
    HWND child = Child(top, {0, 0, 50, 50});
    desktop.RunUntilIdle();
    SetWindowPos(child, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
    EXPECT_EQ(CRect(r), CRect(0, 0, 50, 50));
    ASSERT_TRUE(GetUpdateRect(child, &r, FALSE));
    EXPECT_EQ(r.right, 50);
    backend.ClearPresented();
    desktop.RunUntilIdle();
    EXPECT_TRUE(backend.Presented().Contains(210, 10));
    EXPECT_EQ(tq3::testing::DesktopPixel({600, 400}), GetSysColor(COLOR_DESKTOP)) << "the bare desktop's colour";
}

TEST_F(WindowTest, TheCaretInvertsItsRectangleAndBlinksOnTheClock) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    desktop.RunUntilIdle();
    const COLORREF before = WindowPixel(w, {10, 10});
    const COLORREF inverted = tq3::testing::Inverted(before);
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 12));
    SetCaretPos(10, 10);
    EXPECT_EQ(WindowPixel(w, {10, 10}), before) << "created hidden";
    ASSERT_TRUE(ShowCaret(w));
    EXPECT_TRUE(tq3::testing::CaptureWindow(w, RECT{10, 10, 12, 22}).FilledWith(inverted));
    EXPECT_EQ(WindowPixel(w, {12, 10}), before) << "two pixels wide";
    EXPECT_EQ(WindowPixel(w, {10, 22}), before) << "twelve high";
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
    CPoint pos;
    SetCaretPos(30, 40);
    ASSERT_TRUE(GetCaretPos(&pos));
    EXPECT_EQ(pos, CPoint(30, 40));
    EXPECT_EQ(WindowPixel(w, {10, 10}), before);
    // Hiding nests; showing again takes as many calls.
    EXPECT_TRUE(HideCaret(w));
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_EQ(WindowPixel(w, {30, 40}), before);
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_EQ(WindowPixel(w, {30, 40}), inverted);
    HWND other = Top(WS_POPUP);
    EXPECT_FALSE(ShowCaret(other)) << "not its caret";
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(WindowPixel(w, {30, 40}), before);
    EXPECT_FALSE(DestroyCaret());
    EXPECT_FALSE(SetCaretPos(1, 1));
    EXPECT_FALSE(CreateCaret(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x4444)), nullptr, 2, 12));
}

}  // namespace
}  // namespace tq3::test
