// minimal_host FILE.tsv [--headless]: the smallest host of the table view. It
// shows the file's points in a window (on the in-memory desktop with --headless
// or without a display, where it paints once and ends) and prints what the
// view's hooks report.
#include <cstdio>
#include <cstring>

#include "framework/backends/headless/headless_backend.h"
#include "framework/window/interactive.h"
#include "host.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: minimal_host FILE.tsv [--headless]\n");
        return 2;
    }
    CWinApp app(u"MinimalHost");
    app.SetRegistryKey(u"MinimalHost");  // settings below HKEY_CURRENT_USER\Software\MinimalHost
    VALMExSetLanguage(0);  // English texts in the view's messages and dialogs
    const bool headless = argc > 2 && std::strcmp(argv[2], "--headless") == 0;
    // A real window on the display (each top-level window a system window of its
    // own), or, without a display, the in-memory desktop.
    const bool window =
        !headless && tq3::fw::InstallInteractiveBackend(tq3::fw::VirtualDesktopAsked(), 800, 600, nullptr);
    if (!window) tq3::fw::HeadlessBackend::Install(800, 600);
    CHostFrame* frame = CHostFrame::Open(argv[1], RECT{0, 0, 640, 400});
    if (frame == nullptr) return 1;
    app.m_pMainWnd = frame;
    // The first value written makes the host's key, which the view then stores its
    // column widths in. Only now: on a first start, with no key yet, the first update
    // lays the columns out from their titles.
    app.WriteProfileInt(u"Host", u"Starts", static_cast<int>(app.GetProfileInt(u"Host", u"Starts", 0)) + 1);
    if (window) return app.Run();
    tq3::fw::HeadlessBackend::Current()->RunUntilIdle();
    frame->DestroyWindow();
    return 0;
}
