// CLineHeaderWnd: the strip on the left of the cell area, a caption box on top and
// one numbered row per visible line below it. The view tells it which line is at the
// top and how many lines the sheet has; it never scrolls by itself.
#pragma once

#include "framework/app/wnd.h"
#include "framework/core/cstring.h"
#include "framework/gdi/gdi_classes.h"

// Control id of the strip within its view.
constexpr UINT kLineHeaderId = 30001;

class TQ3VIEW_API CLineHeaderWnd : public CWnd {
    DECLARE_DYNAMIC(CLineHeaderWnd)

public:
    CLineHeaderWnd();
    ~CLineHeaderWnd() override;

    // Creates the strip as a visible child of `parent` with id 30001.
    BOOL Create(CWnd* parent);

    int topLine = 0;            // the line shown in the first row under the caption box
    int previousTopLine = -1;   // the top line before the view's last change; -1 repaints all rows
    int headerLineCount = 0;    // the selected sheet's line count; rows past it are blank
    int pressState = 0;         // 1 after a press, counting moves until the release
    CFont font;                 // the label font, made by the view
    int lineHeight = 0;         // row pitch in pixels, the view's line height
    CString caption;            // the text of the caption box
};
