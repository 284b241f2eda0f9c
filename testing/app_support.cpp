// The harness's host application object and the frame-with-a-view helper.
#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "framework/system/registry.h"
#include "testing/run_until_idle.h"
#include "tq3view/testing.h"

namespace tq3::testing {

ScratchSettings::ScratchSettings() {
    previousUser_ = tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER);
    previousMachine_ = tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE);
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "tq3view-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        folder_ = pattern;
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, UserStore());
        tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, MachineStore());
    } else {
        // No scratch folder: the stores point where nothing can be written, never
        // at the real settings.
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, pattern + "/missing/user.db");
        tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, pattern + "/missing/machine.db");
    }
}

ScratchSettings::~ScratchSettings() {
    tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, previousUser_);
    tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, previousMachine_);
    if (folder_.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
}

TestApp::TestApp(LPCWSTR appName, LPCWSTR registryKey) : CWinApp(appName) {
    if (registryKey != nullptr) SetRegistryKey(registryKey);
}

TestApp::~TestApp() = default;

CFrameWnd* CreateFrameWithView(CView* view, const RECT& rect, LPCWSTR title, CFrameWnd* frame) {
    if (view == nullptr) return nullptr;
    if (frame == nullptr) frame = new CFrameWnd;
    CCreateContext context;
    context.m_pNewView = view;
    if (!frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW, rect, nullptr, nullptr, 0, &context)) {
        // The frame deleted itself; a view it never got to create is ours to delete.
        if (context.m_pNewView != nullptr) delete context.m_pNewView;
        return nullptr;
    }
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == nullptr) app->m_pMainWnd = frame;
    frame->InitialUpdateFrame(TRUE);
    frame->SetActiveView(view);
    // Let creation, showing and the first paint run their course.
    if (tq3::fw::HeadlessBackend* backend = tq3::fw::HeadlessBackend::Current()) detail::RunUntilIdle(*backend);
    return frame;
}

}  // namespace tq3::testing
