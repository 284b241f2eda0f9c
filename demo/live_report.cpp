#include "demo/live_report.h"

#include <signal.h>

#include <atomic>

#include "demo/demo_reports.h"
#include "demo/demo_targets.h"
#include "text/clipboard_text.h"

namespace tq3::demo {

namespace {

// Set by the handlers, taken by the message loop: nothing else is safe to do
// inside a signal handler.
std::atomic<bool> reportAsked{false};
std::atomic<bool> closeAsked{false};

void OnReportSignal(int) { reportAsked = true; }
void OnCloseSignal(int) { closeAsked = true; }

void Handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

constexpr UINT kPollMs = 50;

}  // namespace

LiveReport::LiveReport(CDemoFrame& frame, std::ostream& out) : frame_(frame), out_(out) {
    reportAsked = false;
    closeAsked = false;
    Handle(SIGUSR1, OnReportSignal);
    Handle(SIGTERM, OnCloseSignal);
    Handle(SIGINT, OnCloseSignal);
    frame_.SetReportListener([this] {
        if (frame_.View() != nullptr) WriteHookReports(*frame_.View(), out_, false);
        out_.flush();
    });
    frame_.SetTicker([this] { Poll(); }, kPollMs);
    // What the first update reported before anyone listened.
    if (frame_.View() != nullptr) WriteHookReports(*frame_.View(), out_, false);
    out_.flush();
}

LiveReport::~LiveReport() {
    Handle(SIGUSR1, SIG_DFL);
    Handle(SIGTERM, SIG_DFL);
    Handle(SIGINT, SIG_DFL);
}

void LiveReport::Poll() {
    if (reportAsked.exchange(false) && frame_.View() != nullptr) {
        CDemoView& view = *frame_.View();
        WriteSheet(view, out_);
        WriteTitle(frame_, out_);
        WriteCursor(view, out_);
        WriteChangedCell(view, out_);
        CString text;
        std::optional<std::u16string> clipboard;
        if (GetClipboardText(frame_.m_hWnd, &text)) clipboard.emplace(text.GetString(), text.GetLength());
        WriteClipboard(clipboard, out_);
        // Where a program driving the pointer from outside finds things, in
        // desktop coordinates (the OS window's client area).
        WriteScroll(view, out_);
        Target target;
        POINT at{0, 0};
        std::string problem;
        if (TargetPoint(view, target, &at, &problem)) out_ << "view at " << at.x << " " << at.y << "\n";
        WriteColumnWidths(view, out_);
        target.kind = Target::Kind::Divider;
        for (target.a = 0; target.a < view.GetColumnCount(view.GetSelSheet()); ++target.a) {
            if (TargetPoint(view, target, &at, &problem)) {
                out_ << "divider " << target.a << " at " << at.x << " " << at.y << "\n";
            }
        }
        target.kind = Target::Kind::Tab;
        for (target.a = 0; target.a < view.GetSheetCount(); ++target.a) {
            if (TargetPoint(view, target, &at, &problem)) {
                out_ << "tab " << target.a << " at " << at.x << " " << at.y << "\n";
            } else {
                out_ << "tab " << target.a << " not shown\n";
            }
        }
        out_ << "end of report\n";
        out_.flush();
    }
    if (closeAsked.exchange(false)) frame_.PostMessage(WM_CLOSE);
}

}  // namespace tq3::demo
