// CToolTipCtrl: the object for the tooltip control. A thin wrapper: every call is a
// message to the control, whose window procedure lives in framework/controls/.
//
// A tool given without a rectangle is the whole window `pWnd`, held by its parent
// (which hears TTN_GETDISPINFO for a callback text); a tool given with a rectangle
// and an id is that rectangle of `pWnd`.
#pragma once

#include "framework/app/wnd.h"
#include "framework/controls/tooltip.h"

class TQ3FW_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    using CWnd::Create;
    // A hidden pop-up window owned by `pParentWnd`.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    // The text is string resource `nIDText` of the current resource handle.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    int GetToolCount() const;
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);

    void Activate(BOOL bActivate);
    // Offers a mouse message of the owner's windows; the tip shows and hides from these.
    void RelayEvent(LPMSG lpMsg);
    void Pop();
    // All three delays from one (TTDT_AUTOMATIC), or one of them.
    void SetDelayTime(UINT nDelay);
    void SetDelayTime(DWORD dwDuration, int iTime);
    int GetDelayTime(DWORD dwDuration) const;

private:
    static TOOLINFOW ToolInfo(CWnd* pWnd, LPCRECT lpRectTool, UINT_PTR nIDTool);
};
