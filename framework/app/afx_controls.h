// CStatic and CButton: the objects for the "STATIC" and "BUTTON" controls. Thin
// wrappers: every call is a message to the control, whose window procedure lives
// in framework/controls/.
//
// An owner-drawn button (BS_OWNERDRAW) paints through DrawItem: its parent's
// WM_DRAWITEM is offered back to the button object first (reflection), so a class
// derived from CButton draws itself without help from the parent.
#pragma once

#include "framework/app/wnd.h"
#include "framework/controls/button.h"
#include "framework/controls/static_control.h"

class TQ3FW_API CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    using CWnd::Create;
    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class TQ3FW_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    using CWnd::Create;
    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const;
    void SetCheck(int nCheck);
    // The check state with BST_PUSHED and BST_FOCUS.
    UINT GetState() const;
    // Shows the button pressed (TRUE) or released, as a held mouse button would.
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    // Presses and releases the button: BN_CLICKED reaches the parent.
    void Click();

    // Paints an owner-drawn button; the default draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
