#include "demo/demo_frame.h"

#include "framework/system/registry.h"
#include "settings/language.h"
#include "settings/registry_location.h"

namespace tq3::demo {

BEGIN_MESSAGE_MAP(CDemoFrame, CFrameWnd)
ON_WM_DESTROY()
ON_WM_TIMER()
// The View menu's item for the table's bar: the command shows or hides the bar,
// and the item is checked while it shows (the frame's own handler).
ON_COMMAND_EX(CDemoBar::kId, &CDemoFrame::OnBarCommand)
ON_UPDATE_COMMAND_UI(CDemoBar::kId, &CFrameWnd::OnUpdateControlBarMenu)
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kTickTimer = 1;
}  // namespace

namespace {

std::u16string Pair(const DemoTexts& texts, int line, int column) {
    if (line < 0 && column < 0) return texts.noneText;
    std::string text = std::to_string(line) + ", " + std::to_string(column);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

std::u16string FormatStatus(const DemoTexts& texts, const HookState& hooks, const CString& sheetName) {
    std::u16string title = texts.appTitle;
    title += u" - ";
    title += texts.sheetLabel;
    title += u": ";
    title += sheetName.IsEmpty() ? std::u16string(texts.noneText) : std::u16string(sheetName.GetString());
    title += u" | ";
    title += texts.cursorLabel;
    title += u": " + Pair(texts, hooks.cursorLine, hooks.cursorColumn);
    title += u" | ";
    title += texts.changedLabel;
    title += u": " + Pair(texts, hooks.changedLine, hooks.changedColumn);
    return title;
}

void CDemoFrame::SetLanguage(int language) {
    language_ = language;
    VALMExSetLanguage(language);
    SetLanguageRegistry(language);
    if (m_hWnd != nullptr) AddMenus();
    if (bar_.m_hWnd != nullptr) {
        bar_.SetWindowText(TextsFor(language).tableBar);
        // A floating bar's title is its floating frame's caption.
        if (bar_.IsFloating()) {
            if (CFrameWnd* floating = bar_.GetParentFrame(); floating != nullptr && floating != this) {
                floating->SetWindowText(TextsFor(language).tableBar);
            }
        }
    }
    UpdateStatus();
}

void CDemoFrame::UpdateStatus() {
    if (m_hWnd == nullptr || view_ == nullptr) return;
    const HookState& hooks = view_->Hooks();
    SetWindowText(FormatStatus(TextsFor(language_), hooks, view_->GetSheetName(hooks.sheet)).c_str());
    UpdatePane();
}

void CDemoFrame::UpdatePane() {
    if (pane_ == nullptr || view_ == nullptr) return;
    // The line the cursor hook named last, on the sheet the sheet hook named:
    // while a switch of sheets is under way the two may not match yet, and the
    // pane shows no rows until the cursor of the new sheet is reported.
    const HookState& hooks = view_->Hooks();
    const CString name = view_->GetSheetName(hooks.sheet);
    pane_->ShowLine(std::u16string(name.GetString(), name.GetLength()),
                    LineDetails(*view_, hooks.sheet, hooks.cursorLine));
}

CDemoFrame* CDemoFrame::Open(int language, const SheetSources& sources, const RECT& rect,
                             std::vector<std::string>* problems) {
    VALMExSetLanguage(language);
    auto* view = new CDemoView;
    // The sheets are filled before the window exists, so that the first update
    // finds them: it reads their stored column widths and shows sheet 0.
    std::vector<std::string> found = AddDemoSheets(*view, TextsFor(language), sources);
    if (problems != nullptr) *problems = std::move(found);

    auto* frame = new CDemoFrame;
    frame->view_ = view;
    frame->language_ = language;
    view->SetReportListener([frame] {
        frame->UpdateStatus();
        if (frame->reportListener_) frame->reportListener_();
    });
    view->SetClosingListener([frame] { frame->OnViewClosing(); });
    // The pane is the frame's own view; the table comes into the bar after it.
    auto* pane = new CDetailPane;
    pane->SetFontSource([frame]() -> CFont* { return frame->view_ != nullptr ? frame->view_->GetFont() : nullptr; });
    CCreateContext context;
    context.m_pNewView = pane;
    if (!frame->Create(nullptr, TextsFor(language).appTitle, WS_OVERLAPPEDWINDOW, rect, nullptr, nullptr, 0,
                       &context)) {
        // The frame deleted itself; a pane it never got to create is ours, and
        // so is the table view with its sheets.
        if (context.m_pNewView != nullptr) delete context.m_pNewView;
        view->DeleteAllSheets();
        delete view;
        return nullptr;
    }
    frame->pane_ = pane;
    if (!frame->MakeBar(view)) {
        // A view that never got its window is ours still; one that has it goes
        // with the frame, and one that failed to be made has deleted itself.
        if (frame->view_ != nullptr && frame->view_->m_hWnd == nullptr) {
            frame->view_ = nullptr;
            view->DeleteAllSheets();
            delete view;
        }
        frame->DestroyWindow();
        return nullptr;
    }
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == nullptr) app->m_pMainWnd = frame;
    frame->AddMenus();
    frame->InitialUpdateFrame(TRUE);
    // Moved only now: a bar that floats holds a view outside the frame, which
    // the frame's first update would not reach.
    frame->RestoreBarPlace();
    frame->SetActiveView(view);
    frame->UpdateStatus();
    return frame;
}

BOOL CDemoFrame::OnBarCommand(UINT nID) {
    if (!OnBarCheck(nID)) return FALSE;
    // Hiding the bar left the focus with the dock bar that held it; shown
    // again, the table takes the keys back.
    if (bar_.IsVisible() && view_ != nullptr) view_->SetFocus();
    return TRUE;
}

void CDemoFrame::SetTicker(std::function<void()> tick, UINT ms) {
    ticker_ = std::move(tick);
    if (m_hWnd == nullptr) return;
    if (ticker_) {
        SetTimer(kTickTimer, ms);
    } else {
        KillTimer(kTickTimer);
    }
}

void CDemoFrame::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kTickTimer && ticker_) {
        // The ticker may replace itself; it runs from a copy.
        std::function<void()> tick = ticker_;
        tick();
        return;
    }
    CFrameWnd::OnTimer(nIDEvent);
}

void CDemoFrame::SaveColumnWidths() {
    // The settings base key is made here and not at start: while it does not
    // exist the view lays its columns out from their titles, which is what a
    // first start should show, instead of reading a width of 0 for every column.
    CString base;
    CanOpenRegistory(base);
    HKEY key = nullptr;
    if (!base.IsEmpty() &&
        RegCreateKeyExW(HKEY_CURRENT_USER, base, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    view_->WriteWidthOfColumns();
}

void CDemoFrame::OnViewClosing() {
    // The view is still whole here (its children go after it hears of the end),
    // so the widths the user gave the columns can be saved, and the bar that
    // holds it is still where the user left it.
    SaveColumnWidths();
    SaveBarPlace();
    view_->SetReportListener(nullptr);
    view_ = nullptr;
}

void CDemoFrame::OnDestroy() {
    // A docked view goes after the frame: it reports to nobody meanwhile. The
    // pane goes after the frame too and hears nothing more.
    if (view_ != nullptr) view_->SetReportListener(nullptr);
    pane_ = nullptr;
    ticker_ = nullptr;
    reportListener_ = nullptr;
    CFrameWnd::OnDestroy();
}

}  // namespace tq3::demo
