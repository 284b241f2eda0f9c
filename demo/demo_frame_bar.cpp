// The demo frame's table bar: made with the view inside it and docked at the
// left, moved where the last run left it, and its place and sizes stored for
// the next start.
//
// Call flow: Open -> MakeBar (the left dock) -> the first update ->
// RestoreBarPlace (the settings). The view's closing -> OnViewClosing -> SaveBarPlace.
#include <algorithm>

#include "demo/demo_frame.h"

namespace tq3::demo {

namespace {

// The bar's settings, below the application's own key.
constexpr LPCWSTR kBarSection = u"Table bar";
constexpr LPCWSTR kDock = u"Dock";  // the dock bar's id, 0 floating; none yet: a first start
constexpr LPCWSTR kShown = u"Shown";
constexpr LPCWSTR kWidth = u"Width";    // docked left or right
constexpr LPCWSTR kHeight = u"Height";  // docked at the top or bottom
constexpr LPCWSTR kFloatWidth = u"Float width";
constexpr LPCWSTR kFloatHeight = u"Float height";
constexpr LPCWSTR kFloatX = u"Float x";  // the floating frame's client corner on the screen
constexpr LPCWSTR kFloatY = u"Float y";
constexpr int kNone = -1;

bool IsDockId(int id) {
    return id == static_cast<int>(AFX_IDW_DOCKBAR_TOP) || id == static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM) ||
           id == static_cast<int>(AFX_IDW_DOCKBAR_LEFT) || id == static_cast<int>(AFX_IDW_DOCKBAR_RIGHT);
}

int Setting(CWinApp& app, LPCWSTR entry) { return static_cast<int>(app.GetProfileInt(kBarSection, entry, kNone)); }

}  // namespace

bool CDemoFrame::MakeBar(CDemoView* view) {
    if (!EnableDocking(CBRS_ALIGN_ANY)) return false;
    // At first the table takes four fifths of the width, the pane the rest; at
    // the top or bottom, or floating, half the height.
    CRect client;
    GetClientRect(&client);
    const CSize size(std::max(200, client.Width() * 4 / 5), std::max(120, client.Height() / 2));
    if (!bar_.Create(this, CDemoBar::kId, TextsFor(language_).tableBar, size, WS_CHILD | WS_VISIBLE | CBRS_LEFT)) {
        return false;
    }
    bar_.sizeFloat = CSize(std::max(200, client.Width() / 2), size.cy);
    bar_.EnableDocking(CBRS_ALIGN_ANY);
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), &bar_, CDemoBar::kContentId,
                      nullptr)) {
        view_ = nullptr;  // a view that failed to be made has deleted itself
        return false;
    }
    bar_.SetContent(view);
    return DockControlBar(&bar_, AFX_IDW_DOCKBAR_LEFT) != FALSE;
}

bool CDemoFrame::RestoreBarPlace() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return false;
    const int dock = Setting(*app, kDock);
    if (dock != 0 && !IsDockId(dock)) return false;  // a first start: the bar stays at the left
    // Sizes out of all reason (a hand-edited store) give way to the bar's limits.
    auto size = [&](LPCWSTR entry, int now, int least) {
        const int stored = Setting(*app, entry);
        return stored >= least && stored <= 32767 ? stored : now;
    };
    bar_.sizeVert.cx = size(kWidth, bar_.sizeVert.cx, bar_.sizeMin.cx);
    bar_.sizeHorz.cy = size(kHeight, bar_.sizeHorz.cy, bar_.sizeMin.cy);
    bar_.sizeFloat = CSize(size(kFloatWidth, bar_.sizeFloat.cx, bar_.sizeMin.cx),
                           size(kFloatHeight, bar_.sizeFloat.cy, bar_.sizeMin.cy));
    bool placed = false;
    if (dock == 0) {
        // The floating frame keeps itself on the screen wherever the point lies.
        const CPoint at(static_cast<int>(app->GetProfileInt(kBarSection, kFloatX, 0)),
                        static_cast<int>(app->GetProfileInt(kBarSection, kFloatY, 0)));
        placed = FloatControlBar(&bar_, at) != FALSE;
    } else {
        placed = DockControlBar(&bar_, static_cast<UINT>(dock)) != FALSE;
    }
    if (placed && Setting(*app, kShown) == 0) ShowControlBar(&bar_, FALSE, FALSE);
    return placed;
}

void CDemoFrame::SaveBarPlace() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || bar_.m_hWnd == nullptr) return;
    const bool floating = bar_.IsFloating() != FALSE;
    app->WriteProfileInt(kBarSection, kDock, floating ? 0 : static_cast<int>(bar_.dockBarId));
    app->WriteProfileInt(kBarSection, kShown, bar_.IsVisible() ? 1 : 0);
    app->WriteProfileInt(kBarSection, kWidth, bar_.sizeVert.cx);
    app->WriteProfileInt(kBarSection, kHeight, bar_.sizeHorz.cy);
    app->WriteProfileInt(kBarSection, kFloatWidth, bar_.sizeFloat.cx);
    app->WriteProfileInt(kBarSection, kFloatHeight, bar_.sizeFloat.cy);
    if (CFrameWnd* holder = bar_.GetParentFrame(); floating && holder != nullptr && holder != this) {
        CRect client;
        holder->GetClientRect(&client);
        holder->ClientToScreen(&client);
        app->WriteProfileInt(kBarSection, kFloatX, client.left);
        app->WriteProfileInt(kBarSection, kFloatY, client.top);
    }
}

}  // namespace tq3::demo
