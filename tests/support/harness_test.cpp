// The harness itself: the spy's comparison and report, typing, scripted answers
// for modal loops, the clipboard helpers, pixel probes, the pointer, scratch
// settings, one desktop at a time, and the out-of-memory sweep.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/gdi/dc.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/clipboard.h"
#include "framework/system/registry.h"
#include "framework/window/cursor.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::Msg;

constexpr UINT kOk = 1;

// A window that logs characters and ends its modal loop on IDOK.
class CModalWnd : public CWnd {
public:
    std::u16string typed;
    bool done = false;
    afx_msg void OnChar(UINT ch, UINT, UINT) { typed += static_cast<char16_t>(ch); }
    afx_msg void OnOk() { done = true; }

    // Runs until OnOk, as a dialog's loop would.
    void RunModal() {
        while (!done && AfxPumpMessage()) {
        }
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
ON_WM_CHAR()
ON_COMMAND(kOk, &CModalWnd::OnOk)
END_MESSAGE_MAP()

class HarnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, u"Ask", WS_POPUP | WS_VISIBLE, CRect(10, 10, 200, 100), nullptr, 0));
        wnd.SetFocus();
        desktop.RunUntilIdle();
    }
    tq3::testing::Desktop desktop{640, 480};
    CModalWnd wnd;
};

TEST_F(HarnessTest, TypingUsesKeysWhereTheLayoutHasThemAndCharactersOtherwise) {
    tq3::testing::MessageSpy spy;
    spy.Watch(wnd.m_hWnd, "ask");
    spy.KeepOnly({WM_KEYDOWN, WM_CHAR});
    desktop.Type(u"aB1.\u00E9");
    EXPECT_EQ(wnd.typed, u"aB1.\u00E9");
    auto result = spy.Compare({
        Msg(WM_KEYDOWN).WParam('A'), Msg(WM_CHAR).WParam('a'),
        Msg(WM_KEYDOWN).WParam(VK_SHIFT), Msg(WM_KEYDOWN).WParam('B'), Msg(WM_CHAR).WParam('B'),
        Msg(WM_KEYDOWN).WParam('1'), Msg(WM_CHAR).WParam('1'),
        Msg(WM_KEYDOWN).WParam(VK_OEM_PERIOD), Msg(WM_CHAR).WParam('.'),
        Msg(WM_CHAR).WParam(0x00E9).Posted(),  // no key on the US layout: the character alone
    });
    EXPECT_TRUE(result) << result.report;
}

TEST_F(HarnessTest, ComparisonSkipsOptionalEntriesAndReportsDifferencesSideBySide) {
    tq3::testing::MessageSpy spy;
    spy.Watch(wnd.m_hWnd, "ask");
    spy.KeepOnly({WM_APP, WM_APP + 1});
    wnd.SendMessage(WM_APP, 1, 0);
    wnd.PostMessage(WM_APP + 1, 2, 0);
    desktop.RunUntilIdle();

    auto good = spy.Compare({Msg(WM_APP).WParam(1).Sent(), Msg(WM_NULL).Optional(), Msg(WM_APP + 1).Posted(),
                             Msg(WM_TIMER).Optional()});
    EXPECT_TRUE(good) << good.report;
    EXPECT_TRUE(spy.Compare(wnd.m_hWnd, {Msg(WM_APP), Msg(WM_APP + 1)}));

    auto bad = spy.Compare({Msg(WM_APP).WParam(1), Msg(WM_APP + 1).WParam(3)});
    EXPECT_FALSE(bad);
    // The first difference is marked, and each side shows its own entry.
    EXPECT_NE(bad.report.find("   * WM_APP w=0x1"), std::string::npos) << bad.report;
    EXPECT_NE(bad.report.find(">> * WM_APP+1 w=0x3"), std::string::npos) << bad.report;
    EXPECT_NE(bad.report.find("| ask WM_APP+1 w=0x2 l=0x0 posted"), std::string::npos) << bad.report;

    auto missing = spy.Compare({Msg(WM_APP), Msg(WM_APP + 1), Msg(WM_APP + 2)});
    EXPECT_FALSE(missing);
    auto extra = spy.Compare({Msg(WM_APP)});
    EXPECT_FALSE(extra);
}

TEST_F(HarnessTest, ModalLoopsTakeScriptedAnswersAndFailLoudlyWithoutOne) {
    desktop.QueueModalAnswer(tq3::testing::AnswerCommand(kOk, u"", u"Someone else"));  // never matches
    desktop.QueueModalAnswer(tq3::testing::AnswerCommand(kOk, u"", u"Ask"));
    wnd.RunModal();
    EXPECT_TRUE(wnd.done);
    EXPECT_EQ(desktop.PendingModalAnswers(), 1u);

    // No answer for this window: the failure handler hears of it, with the windows
    // it looked at; here it ends the loop instead of aborting.
    std::string failure;
    desktop.SetFailureHandler([&](const std::string& description) {
        failure = description;
        wnd.PostMessage(WM_COMMAND, kOk, 0);
    });
    wnd.done = false;
    wnd.RunModal();
    EXPECT_TRUE(wnd.done);
    EXPECT_NE(failure.find("no scripted answer"), std::string::npos) << failure;
    EXPECT_NE(failure.find("\"Ask\""), std::string::npos) << failure;
}

TEST_F(HarnessTest, ClipboardHelpersRoundTripAndRespectAnOpenClipboard) {
    ASSERT_TRUE(desktop.SetClipboardText(u"a\tb\r\n\u3042"));
    EXPECT_EQ(desktop.ClipboardText(), std::u16string(u"a\tb\r\n\u3042"));
    ASSERT_TRUE(OpenClipboard(wnd.m_hWnd));
    EXPECT_FALSE(desktop.SetClipboardText(u"other"));
    EXPECT_FALSE(desktop.ClipboardText().has_value());
    CloseClipboard();
    EXPECT_EQ(desktop.ClipboardText(), std::u16string(u"a\tb\r\n\u3042"));
}

TEST_F(HarnessTest, APressAndReleaseInPlaceMovesThePointerOnlyWhenItIsElsewhere) {
    tq3::testing::MessageSpy spy;
    spy.Watch(wnd.m_hWnd, "ask");
    spy.KeepOnly({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
    desktop.MouseDown(wnd.m_hWnd, {5, 6});
    desktop.MouseUp(wnd.m_hWnd, {5, 6});
    desktop.AdvanceClock(2000);  // no double click
    desktop.Click(wnd.m_hWnd, {5, 6});
    desktop.AdvanceClock(2000);
    desktop.Click(wnd.m_hWnd, {7, 6});
    auto result = spy.Compare({Msg(WM_MOUSEMOVE).Point(5, 6), Msg(WM_LBUTTONDOWN), Msg(WM_LBUTTONUP),
                               Msg(WM_LBUTTONDOWN), Msg(WM_LBUTTONUP), Msg(WM_MOUSEMOVE).Point(7, 6),
                               Msg(WM_LBUTTONDOWN), Msg(WM_LBUTTONUP)});
    EXPECT_TRUE(result) << result.report;
}

TEST_F(HarnessTest, PixelProbesReadWhatWasDrawnInTheirOwnCoordinates) {
    // The window is painted in the window colour; a red block goes on top.
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    const COLORREF red = RGB(220, 0, 0);
    HDC dc = ::GetDC(wnd.m_hWnd);
    RECT all{0, 0, 190, 90};
    ::FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    const tq3::testing::Capture before = tq3::testing::CaptureWindow(wnd.m_hWnd);
    HBRUSH brush = CreateSolidBrush(red);
    RECT block{10, 20, 30, 25};
    ::FillRect(dc, &block, brush);
    DeleteObject(brush);
    ::ReleaseDC(wnd.m_hWnd, dc);

    const tq3::testing::Capture after = tq3::testing::CaptureWindow(wnd.m_hWnd, RECT{0, 0, 40, 30});
    EXPECT_EQ(after.Count(red), 100);
    EXPECT_EQ(after.CountOther(red), 40 * 30 - 100);
    EXPECT_EQ(CRect(after.InkBounds(white)), CRect(block));
    EXPECT_EQ(after.At(10, 20), red);
    EXPECT_EQ(after.At(40, 0), CLR_INVALID) << "outside the capture";
    EXPECT_TRUE(tq3::testing::CaptureWindow(wnd.m_hWnd, block).FilledWith(red));
    const auto mixed = after.FilledWith(white);
    EXPECT_FALSE(mixed);
    EXPECT_NE(mixed.report.find("100 of 1200 pixels"), std::string::npos) << mixed.report;
    EXPECT_NE(mixed.report.find("(10, 20)"), std::string::npos) << mixed.report;
    EXPECT_EQ(tq3::testing::CaptureWindow(wnd.m_hWnd, RECT{9, 20, 12, 21}).Picture(red), ".##\n");

    // Window, desktop and screenshot agree on where the block is.
    CPoint corner(10, 20);
    wnd.ClientToScreen(&corner);
    EXPECT_EQ(tq3::testing::DesktopPixel(corner), red);
    EXPECT_EQ(tq3::testing::WindowPixel(wnd.m_hWnd, {9, 20}), white);
    EXPECT_EQ(tq3::testing::CountDiffering(before, tq3::testing::CaptureWindow(wnd.m_hWnd)), 100);
    EXPECT_EQ(tq3::testing::CountDiffering(before, after), -1) << "sizes differ";
    EXPECT_EQ(tq3::testing::Inverted(RGB(255, 0, 16)), RGB(0, 255, 239));
    const std::string path = (std::filesystem::temp_directory_path() / "tq3-harness-shot.png").string();
    ASSERT_TRUE(tq3::testing::SaveScreenshot(wnd.m_hWnd, path));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
    EXPECT_FALSE(tq3::testing::SaveScreenshot(nullptr, path));

    // A memory context reads the same way.
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 4, 3);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ::SetPixel(memory, 2, 1, red);
    EXPECT_EQ(tq3::testing::CaptureDC(memory, RECT{0, 0, 4, 3}).Count(red), 1);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST_F(HarnessTest, ThePointerShowsItsImageAndHotSpot) {
    tq3::fw::CursorImage image;
    image.width = 2;
    image.height = 2;
    image.hotSpot = POINT{1, 0};
    image.argb = {0xFF0000FFu, 0x00000000u, 0xFFFF0000u, 0xFF00FF00u};  // blue, transparent, red, green
    HCURSOR cursor = tq3::fw::CreateCursorFromImage(image);
    ASSERT_NE(cursor, nullptr);
    ::SetClassLongPtrW(wnd.m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    desktop.MouseMove(wnd.m_hWnd, {30, 30});
    tq3::testing::PointerLook look = desktop.Pointer();
    EXPECT_EQ(look.shape, tq3::fw::CursorShape::Custom);
    EXPECT_EQ(look.hotSpot.x, 1);
    EXPECT_EQ(look.hotSpot.y, 0);
    EXPECT_EQ(look.image.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(look.image.At(1, 0), CLR_INVALID) << "transparent";
    EXPECT_EQ(look.image.At(0, 1), RGB(255, 0, 0));
    ::SetClassLongPtrW(wnd.m_hWnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_ARROW)));
    desktop.MouseMove(wnd.m_hWnd, {31, 30});
    look = desktop.Pointer();
    EXPECT_EQ(look.shape, tq3::fw::CursorShape::Arrow);
    EXPECT_TRUE(look.image.Empty());
    ::DestroyCursor(cursor);
}

TEST_F(HarnessTest, ASecondDesktopIsRefusedAndTheFirstKeepsItsWindows) {
    std::string failure;
    desktop.SetFailureHandler([&](const std::string& description) { failure = description; });
    {
        tq3::testing::Desktop second(320, 200);
        EXPECT_NE(failure.find("second Desktop"), std::string::npos) << failure;
        EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    }
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd)) << "the refused desktop reset nothing as it went";
    EXPECT_EQ(desktop.Size().cx, 640);
}

TEST(ScratchSettings, BothStoresMoveToScratchFilesAndComeBack) {
    const std::string user = tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER);
    const std::string machine = tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE);
    std::string folder;
    {
        tq3::testing::TestApp app;
        folder = app.SettingsFolder();
        ASSERT_FALSE(folder.empty());
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExW(root, u"Software\\Scratch", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(key);
            EXPECT_EQ(tq3::fw::GetRegistryStorePath(root).rfind(folder + "/", 0), 0u)
                << tq3::fw::GetRegistryStorePath(root);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER), user);
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE), machine);
}

TEST(MessageSpyClass, AWatchedClassIsRecordedFromCreationOn) {
    tq3::testing::Desktop desktop(320, 200);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"SpiedFromBirth";
    if (!GetClassInfoW(nullptr, wc.lpszClassName, &wc)) {
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    tq3::testing::MessageSpy spy;
    EXPECT_FALSE(spy.WatchClass(u"NoSuchClass"));
    ASSERT_TRUE(spy.WatchClass(u"spiedfrombirth"));
    spy.KeepOnly({WM_NCCREATE, WM_CREATE, WM_USER});
    HWND a = CreateWindowExW(0, u"SpiedFromBirth", u"a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(a, nullptr);
    spy.Name(a, "a");
    EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0) << "the class's own procedure still answers";
    auto result = spy.Compare({Msg(WM_NCCREATE).In(a), Msg(WM_CREATE).In(a), Msg(WM_USER).In(a).Sent()});
    EXPECT_TRUE(result) << result.report;
    EXPECT_NE(spy.Describe(spy.Log().back()).find("a WM_USER"), std::string::npos);
    EXPECT_EQ(spy.Find(a, WM_CREATE).size(), 1u);
}

TEST(OutOfMemorySweep, EachAllocationOfTheOperationFailsOnceInTurn) {
    struct Case {
        bool sparse;
        long runs;
    };
    for (const Case& c : {Case{false, 4}, Case{true, 4}}) {
        std::vector<tq3::test::SweepRun> seen;
        seen.reserve(16);
        int prepared = 0;
        const auto result = tq3::test::SweepAllocations({
            .prepare = [&] { ++prepared; },
            .operation =
                [] {
                    // Called as functions, which a compiler may not leave out; what
                    // was got before a refusal is given back as the refusal unwinds.
                    struct Block {
                        void* p;
                        ~Block() { ::operator delete(p); }
                    };
                    Block a{::operator new(8)};
                    Block b{::operator new(16)};
                    Block d{::operator new(24)};
                },
            .check = [&](const tq3::test::SweepRun& run) { seen.push_back(run); },
            .sparse = c.sparse,
        });
        EXPECT_TRUE(result.completed);
        EXPECT_EQ(result.runs, c.runs);
        EXPECT_EQ(result.refusedRuns, 3);
        EXPECT_EQ(prepared, c.runs);
        ASSERT_EQ(seen.size(), 4u);
        for (long i = 0; i < 3; ++i) {
            EXPECT_EQ(seen[static_cast<size_t>(i)].allowed, i);
            EXPECT_TRUE(seen[static_cast<size_t>(i)].threw);
            EXPECT_EQ(seen[static_cast<size_t>(i)].refused, 1);
        }
        EXPECT_FALSE(seen.back().threw);
    }
    // An operation that never finishes within the limit is reported as such.
    const auto endless =
        tq3::test::SweepAllocations({.operation = [] { ::operator delete(::operator new(8)); }, .limit = 1});
    EXPECT_FALSE(endless.completed);
    EXPECT_EQ(endless.runs, 1);
}

}  // namespace
}  // namespace tq3::test
