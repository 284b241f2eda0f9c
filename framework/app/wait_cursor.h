// CWaitCursor: shows the application's wait cursor for the lifetime of the object.
#pragma once

#include "framework/app/win_app.h"

class CWaitCursor {
public:
    CWaitCursor() {
        if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
    }
    ~CWaitCursor() {
        if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(-1);
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again after something (a message box) replaced it.
    void Restore() {
        if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(0);
    }
};
