// CScrollBar: the object for a scroll-bar control ("SCROLLBAR" class), as handed
// to OnHScroll/OnVScroll when a control rather than the window's own bar scrolled.
#pragma once

#include "framework/app/wnd.h"

class TQ3FW_API CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)

public:
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
        return CWnd::SetScrollInfo(SB_CTL, lpScrollInfo, bRedraw);
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) {
        return CWnd::GetScrollInfo(SB_CTL, lpScrollInfo, nMask);
    }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return CWnd::SetScrollPos(SB_CTL, nPos, bRedraw); }
    int GetScrollPos() const { return CWnd::GetScrollPos(SB_CTL); }
};
