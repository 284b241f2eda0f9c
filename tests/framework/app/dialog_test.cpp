// CDialog as a host uses it: the values of its members shown in the controls and
// read back through data exchange, the user's answers played by the harness, a
// view running a dialog from a command handler, and what happens with values
// that are not valid or controls that are missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/controls/edit.h"
#include "framework/controls/list_box.h"
#include "framework/gdi/sysmetrics.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerCheck;
using tq3::testing::AnswerChoose;
using tq3::testing::AnswerClick;
using tq3::testing::AnswerKey;
using tq3::testing::AnswerType;
using tq3::testing::ModalAnswer;

constexpr int kName = 201, kCount = 202, kMatch = 203, kPick = 204, kMissing = 299;
constexpr UINT kOptionsCommand = 40001;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DLGITEMTEMPLATEW kItems[] = {
    {kVisible, 0, 7, 7, 40, 8, 0xFFFF, u"Static", u"&Name:"},
    {kVisible | WS_TABSTOP | WS_BORDER, 0, 50, 6, 100, 12, kName, WC_EDITW, u""},
    {kVisible, 0, 7, 23, 40, 8, 0xFFFF, u"Static", u"&Count:"},
    {kVisible | WS_TABSTOP | WS_BORDER, 0, 50, 22, 40, 12, kCount, WC_EDITW, u""},
    {kVisible | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 40, 100, 10, kMatch, u"Button", u"&Match case"},
    {kVisible | WS_TABSTOP | WS_BORDER, 0, 7, 54, 100, 30, kPick, WC_LISTBOXW, u""},
    {kVisible | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 160, 6, 50, 14, IDOK, u"Button", u"OK"},
    {kVisible | WS_TABSTOP, 0, 160, 24, 50, 14, IDCANCEL, u"Button", u"Cancel"},
};
constexpr DLGTEMPLATEW kTemplate = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                    0, 20, 20, 220, 90, u"Options", 8, u"MS Shell Dlg", 8, kItems};

class COptionsDlg : public CDialog {
public:
    explicit COptionsDlg(CWnd* parent = nullptr) { InitModalIndirect(&kTemplate, parent); }

    CString name;
    int count = 0;
    int match = 0;
    int picked = -1;
    bool exchangeMissing = false;
    CButton matchButton;
    HWND boundDuringRun = nullptr;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        boundDuringRun = matchButton.m_hWnd;
        for (LPCWSTR entry : {u"one", u"two", u"three"}) SendDlgItemMessageW(m_hWnd, kPick, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kMatch, matchButton);
        DDX_Text(pDX, kName, name);
        DDX_Text(pDX, kCount, count);
        DDX_Check(pDX, kMatch, match);
        if (exchangeMissing) DDX_Check(pDX, kMissing, match);
    }
    afx_msg void OnPick() { picked = static_cast<int>(SendDlgItemMessageW(m_hWnd, kPick, LB_GETCURSEL, 0, 0)); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
ON_CONTROL(LBN_SELCHANGE, kPick, &COptionsDlg::OnPick)
END_MESSAGE_MAP()

ModalAnswer Inspect(std::function<void(HWND)> look) {
    return ModalAnswer{u"#32770", {}, [look](HWND dialog) {
                           look(dialog);
                           PostMessageW(dialog, WM_NULL, 0, 0);
                       }};
}

std::u16string TextOf(HWND dialog, int id) {
    WCHAR text[64];
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

class CDialogTest : public ::testing::Test {
protected:
    void Queue(std::vector<ModalAnswer> answers) {
        for (auto& a : answers) desktop.QueueModalAnswer(std::move(a));
    }

    tq3::testing::Desktop desktop{800, 600};
};

TEST_F(CDialogTest, MembersGoToTheControlsAndComeBackOnOkButNotOnCancel) {
    COptionsDlg dlg;
    dlg.name = u"old";
    dlg.count = 3;
    Queue({Inspect([&](HWND dialog) { EXPECT_EQ(TextOf(dialog, kName) + u" " + TextOf(dialog, kCount), u"old 3"); }),
           AnswerType(kName, u"New name"), AnswerType(kCount, u"12x"), AnswerKey(VK_RETURN),
           // The count is no number: a message box says so, and the dialog stays
           // with the focus on the count.
           AnswerKey(VK_RETURN, u"#32770", u"Error"),
           Inspect([&](HWND dialog) { EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kCount)); }),
           AnswerType(kCount, u"42"), AnswerCheck(kMatch, true), AnswerChoose(kPick, 2),
           AnswerClick(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(dlg.name)), u"New name");
    EXPECT_EQ(dlg.count, 42);
    EXPECT_EQ(dlg.match, BST_CHECKED);
    EXPECT_EQ(dlg.picked, 2);
    EXPECT_NE(dlg.boundDuringRun, nullptr) << "DDX_Control bound the button";
    EXPECT_EQ(dlg.matchButton.m_hWnd, nullptr) << "and let go of it with the window";

    // Escape leaves the members as they were, whatever was typed.
    Queue({AnswerType(kName, u"changed"), AnswerKey(VK_ESCAPE)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(dlg.name)), u"New name");
}

class CDialogView : public CView {
public:
    INT_PTR result = 0;
    HWND dialogOwner = nullptr;
    bool frameEnabledDuring = true;

protected:
    void OnDraw(CDC*) override {}
    afx_msg void OnOptions() {
        COptionsDlg dlg(this);
        desktop_->QueueModalAnswer(Inspect([this](HWND dialog) {
            dialogOwner = ::GetWindow(dialog, GW_OWNER);
            frameEnabledDuring = GetParentFrame()->IsWindowEnabled() != FALSE;
        }));
        desktop_->QueueModalAnswer(AnswerKey(VK_ESCAPE));
        result = dlg.DoModal();
    }
    DECLARE_MESSAGE_MAP()

public:
    tq3::testing::Desktop* desktop_ = nullptr;
};

BEGIN_MESSAGE_MAP(CDialogView, CView)
ON_COMMAND(kOptionsCommand, &CDialogView::OnOptions)
END_MESSAGE_MAP()

TEST_F(CDialogTest, AViewRunsADialogFromACommandHandler) {
    tq3::testing::TestApp app;
    auto* view = new CDialogView;
    view->desktop_ = &desktop;
    CFrameWnd* frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 500, 400});
    ASSERT_NE(frame, nullptr);
    frame->SendMessage(WM_COMMAND, kOptionsCommand, 0);
    EXPECT_EQ(view->result, IDCANCEL);
    EXPECT_EQ(view->dialogOwner, frame->m_hWnd) << "a dialog belongs to the top-level window";
    EXPECT_FALSE(view->frameEnabledDuring);
    EXPECT_TRUE(frame->IsWindowEnabled());
    frame->DestroyWindow();
}

TEST_F(CDialogTest, MissingTemplatesAndControlsFailClearly) {
    CDialog noTemplate(4321);
    EXPECT_EQ(noTemplate.DoModal(), -1);
    EXPECT_FALSE(noTemplate.Create(4321));

    // A control the exchange names but the dialog lacks: OK refuses to close.
    COptionsDlg dlg;
    dlg.exchangeMissing = true;
    bool stillThere = false;
    Queue({AnswerKey(VK_RETURN), Inspect([&](HWND dialog) { stillThere = ::IsWindowVisible(dialog) != FALSE; }),
           AnswerKey(VK_ESCAPE)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillThere);
}

}  // namespace
}  // namespace tq3::test
