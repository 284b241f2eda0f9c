// The view as the benchmarks measure it: one frame on a headless desktop whose
// view has a client area of exactly 1920x1080, showing sheet "Points" of 10
// columns 185 pixels wide that hold "r<line>c<column>" texts, beside two empty
// sheets.
#pragma once

#include <string>

#include "tq3view/testing.h"
#include "view/table_view.h"

namespace tq3::bench {

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr int kViewColumns = 10;
constexpr int kViewColumnWidth = 185;

// The tab-separated text of one line.
inline std::u16string BenchLineText(int line) {
    std::string text;
    for (int c = 0; c < kViewColumns; ++c) {
        if (c > 0) text += '\t';
        text += 'r' + std::to_string(line) + 'c' + std::to_string(c);
    }
    return std::u16string(text.begin(), text.end());
}

// The view's constructor is for dynamic creation; a host derives its own.
class BenchView : public CTableView {
public:
    BenchView() = default;
};

struct ViewScene {
    tq3::testing::Desktop desktop{kViewWidth + 200, kViewHeight + 200};
    tq3::testing::TestApp app;
    BenchView* view;
    CFrameWnd* frame = nullptr;

    // The frame owns `own`, which a benchmark may give to count the host's hooks.
    explicit ViewScene(int lines, BenchView* own = new BenchView) : view(own) {
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, kViewWidth, kViewHeight});
        view->InsertSheet(0, u"Points");
        view->InsertSheet(1, u"Devices");
        view->InsertSheet(2, u"Alarms");
        for (int c = 0; c < kViewColumns; ++c) {
            const std::u16string title = u"Column " + std::u16string(1, static_cast<char16_t>(u'0' + c));
            view->InsertColumn(0, c, title.c_str(), 0);
        }
        // Widths are set once every column is in: each insertion lays the columns
        // out again from their titles, over whatever widths were set before it.
        for (int c = 0; c < kViewColumns; ++c) {
            view->GetColumnProp(0, c)->extent =
                CRect(c * kViewColumnWidth, 0, (c + 1) * kViewColumnWidth, view->GetLineHeight());
        }
        for (int l = 0; l < lines; ++l) view->InsertLine(0, l, BenchLineText(l).c_str());
        view->SetSelSheet(0);
        CRect client;
        view->GetClientRect(&client);
        CRect outer;
        frame->GetWindowRect(&outer);
        frame->MoveWindow(0, 0, outer.Width() + kViewWidth - client.Width(),
                          outer.Height() + kViewHeight - client.Height());
        desktop.RunUntilIdle();
    }

    SCROLLINFO VerticalScroll() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        view->GetScrollInfo(SB_VERT, &info, SIF_ALL);
        return info;
    }

    void RepaintAll() {
        ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
};

}  // namespace tq3::bench
