// Device contexts bound to a window: CPaintDC for the span of WM_PAINT
// (BeginPaint/EndPaint), CClientDC for the client area at any time (GetDC), and
// CWindowDC for the whole window (GetWindowDC). Each gives its context back to the
// window when it is destroyed.
#pragma once

#include "framework/app/wnd.h"
#include "framework/gdi/gdi_classes.h"

class TQ3FW_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};     // what BeginPaint reported: the rectangle to paint, erase state
    HWND m_hWnd = nullptr;  // the window being painted
};

class TQ3FW_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

    HWND m_hWnd = nullptr;
};

class TQ3FW_API CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

    HWND m_hWnd = nullptr;
};
