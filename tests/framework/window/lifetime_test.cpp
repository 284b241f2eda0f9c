// Window creation and destruction: message sequences, handles, classes, failures.
#include "framework/window/gdi_seam.h"
#include "tests/framework/window/message_log.h"

namespace tq3::fw::testing {
namespace {

using Seq = std::vector<UINT>;

TEST_F(WindowTest, VisibleChildCreationSendsTheCreateSequenceThenShows) {
    HWND top = Top();
    log().Clear();
    HWND child = Child(top, {5, 6, 105, 56});
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(log().Of(child), (Seq{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                    WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    // The parent hears of the new child between the child's WM_MOVE and its showing.
    auto notes = log().Find(top, WM_PARENTNOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(LOWORD(notes[0].wParam), WM_CREATE);
    EXPECT_EQ(HIWORD(notes[0].wParam), 1);
    EXPECT_EQ(reinterpret_cast<HWND>(notes[0].lParam), child);
    auto size = log().Find(child, WM_SIZE);
    ASSERT_EQ(size.size(), 1u);
    EXPECT_EQ(size[0].lParam, MAKELPARAM(100, 50));
    EXPECT_EQ(log().Find(child, WM_MOVE)[0].lParam, MAKELPARAM(5, 6));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetDlgCtrlID(child), 1);
    EXPECT_EQ(GetDlgItem(top, 1), child);
}

TEST_F(WindowTest, TopLevelCreationAsksForTrackSizesAndActivatesWhenShown) {
    HWND top = Top();
    ASSERT_NE(top, nullptr);
    Seq seq = log().Of(top);
    ASSERT_GE(seq.size(), 5u);
    EXPECT_EQ(log().entries.front().message, static_cast<UINT>(WM_GETMINMAXINFO));
    EXPECT_EQ((Seq{seq[0], seq[1], seq[2], seq[3], seq[4]}), (Seq{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetFocus(), top);  // DefWindowProc's WM_ACTIVATE gives the focus to the window
    EXPECT_EQ(log().Find(top, WM_ACTIVATE).size(), 1u);
    EXPECT_EQ(LOWORD(log().Find(top, WM_ACTIVATE)[0].wParam), WA_ACTIVE);
    // Overlapped windows always have a caption and clip their siblings.
    DWORD style = static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE));
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_CLIPSIBLINGS, 0u);
}

TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    HWND a = Child(top, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 1);
    HWND aa = Child(a, {0, 0, 5, 5}, WS_CHILD | WS_VISIBLE, 2);
    HWND b = Child(top, {20, 0, 30, 10}, WS_CHILD, 3);
    log().Clear();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> lifetime;
    for (auto& [h, m] : log().All()) {
        if (m == WM_DESTROY || m == WM_NCDESTROY) lifetime.emplace_back(h, m);
    }
    std::vector<std::pair<HWND, UINT>> expected{
        {top, WM_DESTROY}, {a, WM_DESTROY}, {aa, WM_DESTROY}, {b, WM_DESTROY},
        {aa, WM_NCDESTROY}, {a, WM_NCDESTROY}, {b, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(lifetime, expected);
    for (HWND h : {top, a, aa, b}) EXPECT_FALSE(IsWindow(h));
    // A stale handle is refused everywhere, never followed.
    EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(a, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(a));
    RECT r;
    EXPECT_FALSE(GetWindowRect(aa, &r));
    EXPECT_FALSE(SetWindowPos(b, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
}

TEST_F(WindowTest, ChildrenStackInCreationOrderAndZOrderCanChange) {
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    HWND a = Child(top, {0, 0, 10, 10}, WS_CHILD, 1);
    HWND b = Child(top, {0, 0, 10, 10}, WS_CHILD, 2);
    HWND c = Child(top, {0, 0, 10, 10}, WS_CHILD, 3);
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(top), c);
    SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), c);
    EXPECT_EQ(GetWindow(c, GW_HWNDLAST), a);
    // New top-level windows come out on top.
    HWND top2 = Top(WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetTopWindow(nullptr), top2);
}

TEST_F(WindowTest, CreationFailuresLeaveNoWindow) {
    // Unknown class, bad parent for a child.
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    HWND dead = Child(top, {0, 0, 1, 1});
    DestroyWindow(dead);
    EXPECT_EQ(Child(dead, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(Child(nullptr, {0, 0, 1, 1}), nullptr);
    // WM_NCCREATE refusing, then WM_CREATE refusing.
    On(nullptr, WM_NCCREATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return FALSE; });
    log().Clear();
    EXPECT_EQ(Child(top, {0, 0, 1, 1}), nullptr);
    ASSERT_FALSE(log().entries.empty());
    EXPECT_EQ(log().entries.back().message, static_cast<UINT>(WM_NCDESTROY));
    log().handlers.clear();
    On(nullptr, WM_CREATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; });
    log().Clear();
    EXPECT_EQ(Child(top, {0, 0, 1, 1}), nullptr);
    Seq all;
    for (auto& e : log().entries) all.push_back(e.message);
    EXPECT_NE(std::find(all.begin(), all.end(), static_cast<UINT>(WM_DESTROY)), all.end());
    EXPECT_EQ(all.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(WindowTest, ClassesRegisterOnceAndKeepTheirSettings) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MessageLog::Proc;
    wc.lpszClassName = u"testwindow";  // names compare without regard to case
    EXPECT_EQ(RegisterClassW(&wc), 0);
    wc.lpszClassName = nullptr;
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    wc.lpszClassName = u"Extra";
    wc.cbWndExtra = 16;
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND w = CreateWindowExW(0, u"EXTRA", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    WCHAR name[16];
    EXPECT_EQ(GetClassNameW(w, name, 16), 5);
    EXPECT_EQ(std::u16string(name), u"Extra");
    EXPECT_EQ(SetWindowLongPtrW(w, 8, 1234), 0);
    EXPECT_EQ(GetWindowLongPtrW(w, 8), 1234);
    EXPECT_EQ(GetWindowLongPtrW(w, 9), 0);   // past the extra bytes
    EXPECT_EQ(GetWindowLongPtrW(w, -100), 0);
    EXPECT_FALSE(UnregisterClassW(u"Extra", nullptr));  // a window still uses it
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(u"Extra", nullptr));
}

TEST_F(WindowTest, TextStylesAndPropertiesFollowThePlatform) {
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(SetWindowTextW(top, u"Hello"));
    EXPECT_EQ(GetWindowTextLengthW(top), 5);
    WCHAR buf[4];
    EXPECT_EQ(GetWindowTextW(top, buf, 4), 3);  // cut to the buffer, zero-terminated
    EXPECT_EQ(std::u16string(buf), u"Hel");
    log().Clear();
    EXPECT_EQ(InternalGetWindowText(top, buf, 4), 3);  // the same text, without WM_GETTEXT
    EXPECT_EQ(std::u16string(buf), u"Hel");
    EXPECT_TRUE(log().Of(top).empty());
    LONG old = SetWindowLongW(top, GWL_STYLE, GetWindowLongW(top, GWL_STYLE) | WS_VSCROLL);
    EXPECT_EQ(old & WS_VSCROLL, 0);
    EXPECT_EQ(log().Of(top), (Seq{WM_STYLECHANGING, WM_STYLECHANGED}));
    EXPECT_EQ(log().Find(top, WM_STYLECHANGED)[0].wParam, static_cast<WPARAM>(GWL_STYLE));
    // The frame only takes the new style on SWP_FRAMECHANGED.
    RECT before, after;
    GetClientRect(top, &before);
    SetWindowPos(top, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    GetClientRect(top, &after);
    EXPECT_EQ(before.right - after.right, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(SetPropW(top, u"Key", reinterpret_cast<HANDLE>(7)));
    EXPECT_EQ(GetPropW(top, u"KEY"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(RemovePropW(top, u"key"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetPropW(top, u"Key"), nullptr);
}

TEST_F(WindowTest, EnableWindowCancelsModeFirstAndDropsTheFocus) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    SetFocus(child);
    log().Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));  // was enabled
    EXPECT_EQ(log().Of(child), (Seq{WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, TRUE));  // was disabled
    EXPECT_TRUE(IsWindowEnabled(child));
}

TEST_F(WindowTest, DestroyingTheFocusedChildGivesTheFocusToItsParent) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    SetFocus(child);
    DestroyWindow(child);
    EXPECT_EQ(GetFocus(), top);
}

}  // namespace
}  // namespace tq3::fw::testing

namespace tq3::fw::testing {
namespace {

TEST_F(WindowTest, AFreshDesktopInheritsNoWindowsHandlesOrSettings) {
    auto placedByDefault = [] {
        HWND w = CreateWindowExW(0, kClass, u"default", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        RECT r{};
        GetWindowRect(w, &r);
        return POINT{r.left, r.top};
    };
    HWND old = Top(WS_POPUP);
    ASSERT_TRUE(IsWindow(old));
    placedByDefault();
    SetCaretBlinkTime(200);
    SetDoubleClickTime(900);
    HeadlessBackend::Install(320, 200);
    EXPECT_FALSE(IsWindow(old));
    Register(kClass, 0);
    HWND fresh = Top(WS_POPUP);
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(DesktopSurface().Width(), 320);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    POINT first = placedByDefault();
    EXPECT_EQ(first.x, 0);  // the cascade of default positions starts again
    EXPECT_EQ(placedByDefault().x, 26);
}

}  // namespace
}  // namespace tq3::fw::testing
