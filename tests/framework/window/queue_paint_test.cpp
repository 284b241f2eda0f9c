// The queue: sent versus posted, retrieval order and filters, WM_QUIT,
// translation to characters; invalid regions and painting only when idle.
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/window/gdi_seam.h"
#include "tests/framework/window/message_log.h"

namespace tq3::fw::testing {
namespace {

using Seq = std::vector<UINT>;

// An empty region handle from the drawing layer's handle table.
HRGN NewRegion() {
    auto o = std::make_unique<gdi::Object>();
    o->kind = gdi::Kind::Region;
    return static_cast<HRGN>(gdi::Insert(std::move(o)));
}

TEST_F(WindowTest, SentMessagesRunAtOnceAndPostedOnesWaitForTheLoop) {
    HWND w = Top(WS_POPUP | WS_VISIBLE);
    desktop->RunUntilIdle();
    log().Clear();
    // A handler that posts, then sends re-entrantly while handling a sent message.
    On(w, WM_USER, [](HWND h, WPARAM, LPARAM) -> LRESULT {
        PostMessageW(h, WM_USER + 1, 0, 0);
        return SendMessageW(h, WM_USER + 2, 0, 0) + 1;
    });
    On(w, WM_USER + 2, [](HWND, WPARAM, LPARAM) -> LRESULT { return 41; });
    EXPECT_EQ(SendMessageW(w, WM_USER, 0, 0), 42);
    EXPECT_EQ(log().Of(w), (Seq{WM_USER, WM_USER + 2}));
    PostMessageW(w, WM_USER + 3, 0, 0);
    EXPECT_EQ(desktop->RunUntilIdle(), 2);
    EXPECT_EQ(log().Of(w), (Seq{WM_USER, WM_USER + 2, WM_USER + 1, WM_USER + 3}));
}

TEST_F(WindowTest, PeekMessageFiltersByWindowAndRangeAndCanLeaveMessages) {
    HWND a = Top(WS_POPUP);
    HWND b = Top(WS_POPUP);
    HWND bChild = Child(b, {0, 0, 1, 1}, WS_CHILD);
    desktop->RunUntilIdle();  // the desktop's own first paint
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
}

TEST_F(WindowTest, QuitComesAfterPostedMessagesAndEndsGetMessage) {
    HWND w = Top(WS_POPUP);
    PostQuitMessage(3);
    PostMessageW(w, WM_USER, 0, 0);
    MSG m;
    EXPECT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    PostQuitMessage(4);
    desktop->RunUntilIdle();
    EXPECT_TRUE(desktop->QuitReceived());
    EXPECT_EQ(desktop->QuitCode(), 4);
}

TEST_F(WindowTest, PaintIsGeneratedOnlyWhenTheQueueIsOtherwiseEmpty) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    desktop->RunUntilIdle();
    log().ignored.clear();
    log().Clear();
    InvalidateRect(w, nullptr, TRUE);
    PostMessageW(w, WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_PAINT);
    // WM_PAINT stays until the window is validated, whatever PM_REMOVE says.
    ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_PAINT);
    DispatchMessageW(&m);  // DefWindowProc paints: WM_NCPAINT? no, the frame is valid; WM_ERASEBKGND, validated
    EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
    std::vector<UINT> got;
    for (auto& e : log().entries) got.push_back(e.message);
    EXPECT_EQ(got, (Seq{WM_PAINT, WM_ERASEBKGND}));  // WM_USER was retrieved, never dispatched
    // A procedure that ignores WM_PAINT does not make the queue spin.
    On(w, WM_PAINT, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
    InvalidateRect(w, nullptr, FALSE);
    EXPECT_EQ(desktop->RunUntilIdle(), 1);
}

TEST_F(WindowTest, UpdateRegionsFollowInvalidateValidateAndRedrawFlags) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = Child(top, {100, 100, 150, 150});
    desktop->RunUntilIdle();
    RECT r;
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    RECT a{10, 10, 20, 20};
    InvalidateRect(top, &a, FALSE);
    RECT b{30, 10, 40, 30};
    InvalidateRect(top, &b, FALSE);
    ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 40);
    EXPECT_EQ(r.bottom, 30);
    HRGN rgn = NewRegion();
    EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), COMPLEXREGION);
    ValidateRect(top, &a);
    EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), SIMPLEREGION);
    ValidateRect(top, nullptr);
    EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), NULLREGION);
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
    // RDW_UPDATENOW paints before returning, children included.
    log().Clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(log().Find(top, WM_PAINT).size(), 1u);
    EXPECT_EQ(log().Find(child, WM_PAINT).size(), 1u);
    EXPECT_EQ(log().Find(top, WM_ERASEBKGND).size(), 1u);
    EXPECT_FALSE(GetUpdateRect(top, &r, FALSE));
    // RDW_FRAME makes the next paint draw the frame first.
    log().Clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    UpdateWindow(top);
    std::vector<UINT> got;
    for (auto& e : log().entries) {
        if (e.hwnd == top) got.push_back(e.message);
    }
    EXPECT_EQ(got, (Seq{WM_PAINT, WM_NCPAINT}));
    // Hidden windows and bad handles take no invalidation.
    ShowWindow(child, SW_HIDE);
    ValidateRect(top, nullptr);
    InvalidateRect(child, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(child, &r, FALSE));
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x777)), nullptr, TRUE));
    EXPECT_FALSE(RedrawWindow(top, nullptr, reinterpret_cast<HRGN>(static_cast<LONG_PTR>(0x999)), RDW_INVALIDATE));
    DeleteObject(rgn);
}

TEST_F(WindowTest, BeginPaintReportsTheUpdateAreaAndWhetherItWasErased) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    desktop->RunUntilIdle();
    RECT a{5, 6, 15, 16};
    InvalidateRect(w, &a, TRUE);
    On(w, WM_ERASEBKGND, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });  // declines to erase
    PAINTSTRUCT ps;
    BeginPaint(w, &ps);
    EXPECT_EQ(ps.rcPaint.left, 5);
    EXPECT_EQ(ps.rcPaint.bottom, 16);
    EXPECT_TRUE(ps.fErase);
    EndPaint(w, &ps);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(w, &r, FALSE));
    InvalidateRect(w, &a, FALSE);
    BeginPaint(w, &ps);
    EXPECT_FALSE(ps.fErase);
    EndPaint(w, &ps);
    EXPECT_EQ(BeginPaint(nullptr, &ps), nullptr);
}

TEST_F(WindowTest, MovingAWindowUncoversWhatWasBelowIt) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = Child(top, {0, 0, 50, 50});
    desktop->RunUntilIdle();
    SetWindowPos(child, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    ASSERT_TRUE(GetUpdateRect(top, &r, FALSE));
    // The parent repaints where the child was; the child repaints itself where it is.
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 50);
    ASSERT_TRUE(GetUpdateRect(child, &r, FALSE));
    EXPECT_EQ(r.right, 50);
    desktop->ClearPresented();
    desktop->RunUntilIdle();
    EXPECT_TRUE(desktop->Presented().Contains(10, 10));
}

TEST_F(WindowTest, TranslateMessageTypesTheUsLayoutsCharacters) {
    HWND w = Top();
    SetFocus(w);
    struct Case {
        std::vector<int> held;  // keys held down before the key
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
        {{}, false, VK_OEM_1, u";"},
        {{VK_SHIFT}, false, VK_OEM_7, u"\""},
        {{VK_CONTROL}, false, 'C', u"\x03"},
        {{VK_CONTROL}, false, VK_OEM_4, u"\x1B"},
        {{VK_CONTROL}, false, VK_RETURN, u"\n"},
        {{}, false, VK_RETURN, u"\r"},
        {{}, false, VK_BACK, u"\b"},
        {{VK_CONTROL}, false, VK_BACK, u"\x7F"},
        {{}, false, VK_TAB, u"\t"},
        {{}, false, VK_ESCAPE, u"\x1B"},
        {{}, false, VK_LEFT, u""},
        {{}, false, VK_F2, u""},
        {{VK_CONTROL, VK_MENU}, false, 'Q', u""},
        {{}, false, VK_ADD, u"+"},
    };
    for (const Case& c : cases) {
        if (c.caps) desktop->KeyPress(VK_CAPITAL);
        for (int k : c.held) desktop->KeyDown(k);
        // What a backend is told the key will type, before it is pressed.
        EXPECT_EQ(CharOfKeyPressedNow(c.vk), c.chars.empty() ? u'\0' : c.chars[0]) << "vk " << c.vk;
        desktop->KeyDown(c.vk);
        desktop->KeyUp(c.vk);
        for (int k : c.held) desktop->KeyUp(k);
        if (c.caps) desktop->KeyPress(VK_CAPITAL);
        log().Clear();
        desktop->RunUntilIdle();
        std::u16string got;
        for (auto& e : log().entries) {
            if (e.message == WM_CHAR || e.message == WM_SYSCHAR) got.push_back(static_cast<char16_t>(e.wParam));
        }
        EXPECT_EQ(got, c.chars) << "vk " << c.vk;
    }
    // The character comes right after its key, with the key's lParam.
    log().Clear();
    desktop->KeyPress('B');
    desktop->RunUntilIdle();
    EXPECT_EQ(log().Of(w), (Seq{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_EQ(log().Find(w, WM_CHAR)[0].lParam, log().Find(w, WM_KEYDOWN)[0].lParam);
    EXPECT_EQ((log().Find(w, WM_KEYDOWN)[0].lParam >> 16) & 0xFF, 0x30);  // the US scan code of B
    EXPECT_NE(static_cast<DWORD>(log().Find(w, WM_KEYUP)[0].lParam) & 0xC0000000u, 0u);
}

}  // namespace
}  // namespace tq3::fw::testing

namespace tq3::fw::testing {
namespace {

TEST_F(WindowTest, PaintingDrawsThroughTheUpdateRegionOnly) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MessageLog::Proc;
    wc.lpszClassName = u"WhiteWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND w = CreateWindowExW(0, u"WhiteWindow", nullptr, WS_POPUP | WS_VISIBLE, 20, 20, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    desktop->RunUntilIdle();
    Surface& s = DesktopSurface();
    Pixel window = ToPixel(GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(s.At(25, 25), window);  // erased with the class brush when first shown
    // Paint a red square over the whole client area, with only a corner invalid.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    On(w, WM_PAINT, [red](HWND h, WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all{0, 0, 100, 100};
        if (dc != nullptr) FillRect(dc, &all, red);
        EndPaint(h, &ps);
        return 0;
    });
    RECT corner{0, 0, 10, 10};
    InvalidateRect(w, &corner, TRUE);
    desktop->ClearPresented();
    desktop->RunUntilIdle();
    EXPECT_EQ(s.At(25, 25), ToPixel(RGB(255, 0, 0)));
    EXPECT_EQ(s.At(35, 35), window);  // outside the update region: untouched
    EXPECT_TRUE(desktop->Presented().Contains(25, 25));
    EXPECT_FALSE(desktop->Presented().Contains(35, 35));
    // A DC from GetDC draws anywhere visible, outside WM_PAINT too, and names its window.
    HDC dc = GetDC(w);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), w);
    RECT mid{40, 40, 50, 50};
    FillRect(dc, &mid, red);
    EXPECT_EQ(ReleaseDC(w, dc), 1);
    EXPECT_EQ(ReleaseDC(w, dc), 0);  // not twice
    EXPECT_EQ(s.At(65, 65), ToPixel(RGB(255, 0, 0)));
    DeleteObject(red);
}

}  // namespace
}  // namespace tq3::fw::testing
