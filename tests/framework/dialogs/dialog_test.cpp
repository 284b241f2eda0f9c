// Dialogs made from templates, driven through their modal loop as a user drives
// them: how one starts (messages, focus, default button), how the keyboard moves
// through it, how its controls are laid out in dialog units, and what it does
// with bad templates, bad ids, ending twice or early and a vanishing owner.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/controls/button.h"
#include "framework/controls/edit.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/framework/dialogs/owner_fixture.h"
#include "tests/support/spy_expect.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::ModalAnswer;
using tq3::testing::Msg;

constexpr int kMatch = 101, kUp = 102, kDown = 103, kApply = 104, kSide = 105;

constexpr DWORD kChildVisible = WS_CHILD | WS_VISIBLE;
constexpr DLGITEMTEMPLATEW kItems[] = {
    {kChildVisible, 0, 7, 7, 60, 8, 0xFFFF, u"Static", u"&Name:"},
    {kChildVisible | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0, 7, 20, 80, 10, kMatch, u"Button", u"&Match"},
    {kChildVisible | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 7, 34, 60, 10, kUp, u"Button", u"&Up"},
    {kChildVisible | BS_AUTORADIOBUTTON, 0, 7, 46, 60, 10, kDown, u"Button", u"Do&wn"},
    {kChildVisible | BS_AUTORADIOBUTTON, 0, 70, 34, 40, 10, kSide, u"Button", u"Si&de"},
    {kChildVisible | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 120, 7, 50, 14, IDOK, u"Button", u"OK"},
    {kChildVisible | WS_TABSTOP, 0, 120, 25, 50, 14, IDCANCEL, u"Button", u"Cancel"},
    {kChildVisible | WS_TABSTOP, 0, 120, 43, 50, 14, kApply, u"Button", u"&Apply"},
};
constexpr DLGTEMPLATEW kTemplate = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                    0, 10, 10, 180, 70, u"Options", 8, u"MS Shell Dlg", 8, kItems};

// Ends the dialog with the id of any button pressed; TRUE from WM_INITDIALOG
// gives the focus to the first tab stop.
INT_PTR EndOnButton(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && HIWORD(static_cast<DWORD>(wParam)) == BN_CLICKED) {
        int id = LOWORD(static_cast<DWORD>(wParam));
        if (id == IDOK || id == IDCANCEL || id == kApply) EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

// A key as the user presses it, with Shift or Alt held when asked.
struct Key {
    int vk;
    int held = 0;  // VK_SHIFT, VK_MENU or 0
};

ModalAnswer Press(std::vector<Key> keys) {
    return ModalAnswer{kDialogClass, {}, [keys](HWND) {
                           for (const Key& k : keys) {
                               if (k.held != 0) Backend().KeyDown(k.held);
                               Backend().KeyPress(k.vk);
                               if (k.held != 0) Backend().KeyUp(k.held);
                           }
                       }};
}

// The id of the button showing the default ring, 0 when none does.
int RingOf(HWND dialog) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return GetDlgCtrlID(c);
    }
    return 0;
}

class DialogTest : public OwnerTest {
protected:
    INT_PTR Run(const DLGTEMPLATEW* t, std::vector<ModalAnswer> answers, DLGPROC proc = EndOnButton) {
        return Answered(std::move(answers), [&] { return DialogBoxIndirectParamW(nullptr, t, owner, proc, 0); });
    }
};

TEST_F(DialogTest, StartsWithInitDialogThenFocusOnTheFirstTabStopAndTheDefaultButton) {
    tq3::testing::MessageSpy spy;
    ASSERT_TRUE(spy.WatchClass(kDialogClass));
    ASSERT_TRUE(spy.WatchClass(u"Button"));
    spy.KeepOnly({WM_INITDIALOG, WM_ACTIVATE, WM_SETFOCUS});
    HWND dialog = nullptr, match = nullptr;
    INT_PTR result = Run(&kTemplate, {Inspect([&](HWND d) {
                                          dialog = d;
                                          match = GetDlgItem(d, kMatch);
                                          EXPECT_EQ(SendMessageW(d, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
                                          EXPECT_EQ(RingOf(d), IDOK);
                                          EXPECT_FALSE(IsWindowEnabled(owner));
                                      }),
                                      Press({{VK_RETURN}})});
    EXPECT_EQ(result, IDOK) << "Enter on a check box presses the default button";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    // WM_INITDIALOG names the first tab stop, which gets the focus once the
    // dialog is shown and active.
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_INITDIALOG).In(dialog).WParam(reinterpret_cast<WPARAM>(match)),
                                  Msg(WM_ACTIVATE).In(dialog).WParam(WA_ACTIVE), Msg(WM_SETFOCUS).In(match),
                                  Msg(WM_ACTIVATE).In(dialog).WParam(WA_INACTIVE)})));
}

TEST_F(DialogTest, KeyboardMovesTheFocusAndTheDefaultRingAndAnswers) {
    struct Case {
        const char* name;
        std::vector<Key> keys;
        int focus;        // the control with the focus after the keys
        int ring;         // the button showing the default ring then
        bool matched;     // the check box ticked
        bool down;        // the second radio button chosen
        Key end;          // the key that ends the dialog
        INT_PTR result;
    };
    const std::vector<Case> cases = {
        {"arrow within the group chooses", {{VK_TAB}, {VK_DOWN}}, kDown, IDOK, false, true, {VK_RETURN}, IDOK},
        {"Alt+mnemonic of a radio button chooses it", {{'W', VK_MENU}}, kDown, IDOK, false, true, {VK_ESCAPE},
         IDCANCEL},
        {"Alt+key that is no mnemonic does nothing", {{'Q', VK_MENU}}, kMatch, IDOK, false, false, {'A', VK_MENU},
         kApply},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto look = [&](HWND d) {
            EXPECT_EQ(std::tuple(GetDlgCtrlID(GetFocus()), RingOf(d), IsDlgButtonChecked(d, kMatch) == BST_CHECKED,
                                 IsDlgButtonChecked(d, kDown) == BST_CHECKED),
                      std::tuple(c.focus, c.ring, c.matched, c.down));
        };
        EXPECT_EQ(Run(&kTemplate, {Press(c.keys), Inspect(look), Press({c.end})}), c.result);
    }
}

// Dialog units measured here letter by letter from the template's font, apart
// from how the dialog measures them (one run of all 52 letters).
SIZE MeasuredUnits(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    int sum = 0;
    for (WCHAR ch : std::u16string(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) {
        SIZE one{0, 0};
        GetTextExtentPoint32W(dc, &ch, 1, &one);
        sum += one.cx;
    }
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{(sum * 2 + 52) / 104, tm.tmHeight};  // the average, rounded to the nearest pixel
}

TEST_F(DialogTest, ControlsAreLaidOutInDialogUnitsOfTheTemplateFont) {
    HWND dialog = CreateDialogIndirectParamW(nullptr, &kTemplate, owner, EndOnButton, 0);
    ASSERT_NE(dialog, nullptr);
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    const SIZE units = MeasuredUnits(font);
    // Units to pixels, rounded to the nearest.
    auto x = [&](int du) { return (2 * du * units.cx + 4) / 8; };
    auto y = [&](int du) { return (2 * du * units.cy + 8) / 16; };

    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(CRect(client), CRect(0, 0, x(180), y(70)));
    for (const DLGITEMTEMPLATEW& item : kItems) {
        HWND c = item.id == 0xFFFF ? GetWindow(dialog, GW_CHILD) : GetDlgItem(dialog, item.id);
        ASSERT_NE(c, nullptr) << item.id;
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(CRect(r), CRect(x(item.x), y(item.y), x(item.x + item.cx), y(item.y + item.cy))) << item.id;
        EXPECT_EQ(SendMessageW(c, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font)) << item.id;
    }
    // The template's position counts from the owner's client area.
    POINT ownerOrigin{0, 0};
    ClientToScreen(owner, &ownerOrigin);
    CRect frame;
    GetWindowRect(dialog, &frame);
    EXPECT_EQ(frame.TopLeft(), CPoint(ownerOrigin.x + x(10), ownerOrigin.y + y(10)));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, BadTemplatesAndIdsFailCleanly) {
    DLGITEMTEMPLATEW unknown[] = {kItems[1], {kChildVisible, 0, 7, 60, 50, 14, 300, u"NoSuchClass", u"?"}};
    DLGTEMPLATEW unknownClass = kTemplate;
    unknownClass.items = unknown;
    unknownClass.itemCount = 2;
    DLGTEMPLATEW tolerant = unknownClass;
    tolerant.style |= DS_NOFAILCREATE;
    HWND gone = CreateWindowExW(0, kOwnerClass, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    struct Case {
        const char* name;
        std::function<INT_PTR()> call;
        INT_PTR result;
    };
    const std::vector<Case> cases = {
        {"null template", [] { return DialogBoxIndirectParamW(nullptr, nullptr, nullptr, EndOnButton, 0); }, -1},
        {"unknown class", [&] { return DialogBoxIndirectParamW(nullptr, &unknownClass, owner, EndOnButton, 0); },
         -1},
        {"no such template id",
         [&] { return DialogBoxParamW(nullptr, MAKEINTRESOURCEW(4321), owner, EndOnButton, 0); }, -1},
        {"owner that is gone", [&] { return DialogBoxIndirectParamW(nullptr, &kTemplate, gone, EndOnButton, 0); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(FindWindowW(kDialogClass, nullptr), nullptr) << "nothing left behind";
        EXPECT_TRUE(IsWindowEnabled(owner));
    }

    // DS_NOFAILCREATE makes the dialog without the control it cannot make.
    HWND dialog = CreateDialogIndirectParamW(nullptr, &tolerant, owner, EndOnButton, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(CheckDlgButton(dialog, kMatch, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kMatch), BST_CHECKED);

    // Ids that name no control.
    WCHAR text[8] = u"x";
    EXPECT_EQ(GetDlgItemTextW(dialog, 300, text, 8), 0u);
    EXPECT_EQ(text[0], 0);
    EXPECT_FALSE(CheckDlgButton(dialog, 300, BST_CHECKED));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, EndingOrLosingTheOwnerGivesInputBack) {
    // The first EndDialog decides; a later one changes nothing.
    auto endTwice = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message != WM_COMMAND || LOWORD(static_cast<DWORD>(wParam)) != IDOK) return message == WM_INITDIALOG;
        EndDialog(dialog, 7);
        EndDialog(dialog, 8);
        return TRUE;
    };
    EXPECT_EQ(Run(&kTemplate, {Press({{VK_RETURN}})}, endTwice), 7);

    // Ended, a modal dialog leaves the screen at once and its owner takes input
    // again, before its loop winds down: a message shown next stands alone.
    static bool shownAfterEnd = true;
    static bool ownerEnabledAfterEnd = false;
    auto endThenLook = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(static_cast<DWORD>(wParam)) == IDOK) {
            EndDialog(dialog, 3);
            shownAfterEnd = IsWindowVisible(dialog) != FALSE;
            ownerEnabledAfterEnd = IsWindowEnabled(GetWindow(dialog, GW_OWNER)) != FALSE;
            return TRUE;
        }
        return message == WM_INITDIALOG;
    };
    EXPECT_EQ(Run(&kTemplate, {Press({{VK_RETURN}})}, endThenLook), 3);
    EXPECT_FALSE(shownAfterEnd);
    EXPECT_TRUE(ownerEnabledAfterEnd);
    EXPECT_EQ(GetActiveWindow(), owner);

    // Ended while it starts: it never shows, so no answer is needed.
    auto endAtInit = [](HWND dialog, UINT message, WPARAM, LPARAM param) -> INT_PTR {
        if (message == WM_INITDIALOG) EndDialog(dialog, param + 1);
        return FALSE;
    };
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kTemplate, owner, endAtInit, 41), 42);
    EXPECT_TRUE(IsWindowEnabled(owner));

    // The owner destroyed under the running dialog takes the dialog with it.
    EXPECT_EQ(Run(&kTemplate, {Inspect([&](HWND) { DestroyWindow(owner); })}), -1);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_EQ(FindWindowW(kDialogClass, nullptr), nullptr);
    owner = nullptr;
}

TEST_F(DialogTest, AnEditBoxReachedByFocusShowsItsTextSelectedSoTypingReplacesIt) {
    constexpr DLGITEMTEMPLATEW items[] = {
        {kChildVisible | WS_TABSTOP | WS_BORDER, 0, 7, 7, 100, 12, 201, u"Edit", u"alpha"},
        {kChildVisible | WS_TABSTOP | WS_BORDER, 0, 7, 25, 100, 12, 202, u"Edit", u"beta"},
    };
    const DLGTEMPLATEW form = {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0, 10, 10, 180, 50, u"Names", 8,
                               u"MS Shell Dlg", 2, items};
    DWORD first = 0, second = 0;
    EXPECT_EQ(Run(&form, {Inspect([&](HWND d) { first = SendDlgItemMessageW(d, 201, EM_GETSEL, 0, 0); }),
                          Press({{VK_TAB}}),
                          Inspect([&](HWND d) { second = SendDlgItemMessageW(d, 202, EM_GETSEL, 0, 0); }),
                          Press({{'X'}}), Inspect([&](HWND d) {
                              EXPECT_EQ(ItemText(d, 202), u"x");
                              EXPECT_EQ(ItemText(d, 201), u"alpha");
                              EndDialog(d, IDOK);
                          })}),
              IDOK);
    EXPECT_EQ(first, static_cast<DWORD>(MAKELONG(0, 5))) << "the first box, all of it";
    EXPECT_EQ(second, static_cast<DWORD>(MAKELONG(0, 4))) << "Tab selects the next box";
}

}  // namespace
}  // namespace tq3::test
