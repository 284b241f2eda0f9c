// CSysButton: the small owner-drawn button of a control bar's caption (close,
// minimise). It draws a raised or sunken frame around a glyph icon; a flat button
// shows its frame only while pressed or while the pointer hovers over it.
#pragma once

#include "framework/app/afx_controls.h"
#include "framework/core/export.h"
#include "framework/core/geometry.h"

class TQ3VIEW_API CSysButton : public CButton {
    DECLARE_DYNAMIC(CSysButton)

public:
    CSysButton();
    ~CSysButton() override;

    // Gives the button its glyph, drawn stretched over the button; cx and cy are
    // the glyph's own size. The button takes the icon: it destroys the one it
    // held before and its last one when the object goes.
    void SetIcon(HICON icon, int cx, int cy);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    int iconCx = 0;            // the glyph's width, as given with the icon
    int iconCy = 0;            // the glyph's height
    CRect iconRect;            // where the glyph was last drawn, in client coordinates
    BOOL pressed = FALSE;      // the left button went down on it and is not yet up
    BOOL flat = TRUE;          // drawn flat, with a frame while hovered or pressed

    // The button that paints its hover frame: one pointer hovers one button at a
    // time, so every CSysButton of the process shares the flag.
    static BOOL hot;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();

private:
    bool PointerInside() const;
    void DrawGlyph(CDC* dc, const CRect& rect) const;
    void PaintHover();
    void EndHover();

    HICON ownIcon_ = nullptr;  // the icon given to SetIcon, destroyed with the button

    DECLARE_MESSAGE_MAP()
};
