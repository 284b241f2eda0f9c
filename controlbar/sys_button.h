/// \file
/// CSysButton, the caption buttons of the docking control bar.
#pragma once

#include "framework/app/afx_controls.h"
#include "framework/core/export.h"
#include "framework/core/geometry.h"

/// The small owner-drawn button of a control bar's caption (close,
/// minimise). It draws a raised or sunken frame around a glyph icon; a flat button
/// shows its frame only while pressed or while the pointer hovers over it.
class TQ3VIEW_API CSysButton : public CButton {
    DECLARE_DYNAMIC(CSysButton)

public:
    CSysButton();
    ~CSysButton() override;

    /// Gives the button its glyph, drawn stretched over the button; cx and cy are
    /// the glyph's own size. The button takes the icon: it destroys the one it
    /// held before and its last one when the object goes.
    void SetIcon(HICON icon, int cx, int cy);

    /// Draws the button: its face, a raised frame (sunken while pushed) unless it is
    /// flat, and the glyph, one pixel down and right while the pointer holds it
    /// down.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    int iconCx = 0;            ///< the glyph's width, as given with the icon
    int iconCy = 0;            ///< the glyph's height
    CRect iconRect;            ///< where the glyph was last drawn, in client coordinates
    BOOL pressed = FALSE;      ///< the left button went down on it and is not yet up
    BOOL flat = TRUE;          ///< drawn flat, with a frame while hovered or pressed

    /// The button that paints its hover frame: one pointer hovers one button at a
    /// time, so every CSysButton of the process shares the flag.
    static BOOL hot;

protected:
    /// WM_LBUTTONDOWN: sets `pressed`, then the button's own handling.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: clears `pressed`, then the button's own handling.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    /// WM_MOUSEMOVE: starts the hover timer, which watches the pointer.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    /// WM_TIMER: while the pointer rests on a flat button not pressed, paints the
    /// hover frame; once the pointer left or the button is pressed, takes it away.
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    /// WM_DESTROY: stops the hover timer.
    afx_msg void OnDestroy();

private:
    bool PointerInside() const;
    void DrawGlyph(CDC* dc, const CRect& rect) const;
    void PaintHover();
    void EndHover();

    HICON ownIcon_ = nullptr;  // the icon given to SetIcon, destroyed with the button

    DECLARE_MESSAGE_MAP()
};
