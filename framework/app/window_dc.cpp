#include "framework/app/window_dc.h"

// The window owns these contexts: each destructor detaches before CDC's own
// destructor would delete what it holds.

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    HDC dc = ::BeginPaint(m_hWnd, &m_ps);
    if (dc != nullptr) Attach(dc);
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    HDC dc = ::GetDC(m_hWnd);
    if (dc != nullptr) Attach(dc);
}

CClientDC::~CClientDC() {
    HDC dc = Detach();
    if (dc != nullptr) ::ReleaseDC(m_hWnd, dc);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    HDC dc = ::GetWindowDC(m_hWnd);
    if (dc != nullptr) Attach(dc);
}

CWindowDC::~CWindowDC() {
    HDC dc = Detach();
    if (dc != nullptr) ::ReleaseDC(m_hWnd, dc);
}
