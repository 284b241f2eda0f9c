#include "demo/demo_frame.h"

#include "framework/system/registry.h"
#include "settings/language.h"
#include "settings/registry_location.h"

namespace tq3::demo {

BEGIN_MESSAGE_MAP(CDemoFrame, CFrameWnd)
ON_WM_DESTROY()
ON_WM_TIMER()
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
    UpdateStatus();
}

void CDemoFrame::UpdateStatus() {
    if (m_hWnd == nullptr || view_ == nullptr) return;
    const HookState& hooks = view_->Hooks();
    SetWindowText(FormatStatus(TextsFor(language_), hooks, view_->GetSheetName(hooks.sheet)).c_str());
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
    CCreateContext context;
    context.m_pNewView = view;
    if (!frame->Create(nullptr, TextsFor(language).appTitle, WS_OVERLAPPEDWINDOW, rect, nullptr, nullptr, 0,
                       &context)) {
        // The frame deleted itself; a view it never got to create is ours.
        if (context.m_pNewView != nullptr) delete context.m_pNewView;
        return nullptr;
    }
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == nullptr) app->m_pMainWnd = frame;
    frame->AddMenus();
    frame->InitialUpdateFrame(TRUE);
    frame->SetActiveView(view);
    frame->UpdateStatus();
    return frame;
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

void CDemoFrame::OnDestroy() {
    // The view is still whole here (children go after their parent hears of the
    // end), so the widths the user gave the columns can be saved.
    if (view_ != nullptr) {
        view_->SetReportListener(nullptr);
        SaveColumnWidths();
    }
    ticker_ = nullptr;
    reportListener_ = nullptr;
    CFrameWnd::OnDestroy();
}

}  // namespace tq3::demo
