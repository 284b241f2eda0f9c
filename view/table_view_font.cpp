// The user's font choice: the font dialog opened on the view's font, and the
// chosen font handed to the cells, the header strips, the tab strip and the
// editors, with the line pitch that follows from its size.
#include <algorithm>

#include "framework/app/window_dc.h"
#include "framework/dialogs/commdlg.h"
#include "framework/gdi/font_families.h"
#include "text/system_font.h"
#include "view/table_view.h"

namespace {

// Sizes the dialog offers, in points: smaller texts are hard to read in a grid,
// larger ones leave too few rows on a screen.
constexpr int kSmallestChoice = 8;
constexpr int kLargestChoice = 14;

// What the dialog is asked for: screen fonts, started from the view's record,
// western scripts, no vector or vertical faces, sizes within the limits.
constexpr DWORD kChoiceFlags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_ANSIONLY |
                               CF_NOVECTORFONTS | CF_LIMITSIZE | CF_NOVERTFONTS;

// The same cap the constructor puts on the drawn size.
constexpr int kLargestDrawnPointSize = 7200;

bool FaceInstalled(const LOGFONTW& font) {
    if (font.lfFaceName[0] == 0) return false;
    LOGFONTW filter{};
    filter.lfCharSet = DEFAULT_CHARSET;
    std::copy(std::begin(font.lfFaceName), std::end(font.lfFaceName), filter.lfFaceName);
    bool found = false;
    EnumFontFamiliesExW(
        nullptr, &filter,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM param) {
            *reinterpret_cast<bool*>(param) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// Replaces `font` by a point font of `tenths` tenths of a point with the other
// fields of `base`, converted in the client context of `window` when it has one.
// The old font goes only once the new one exists, so that a failure keeps the
// strip or editor drawing in what it had.
void ReplacePointFont(CFont& font, const LOGFONTW& base, int tenths, CWnd* window) {
    LOGFONTW request = base;
    request.lfHeight = tenths;
    CFont made;
    if (window != nullptr && window->m_hWnd != nullptr) {
        CClientDC dc(window);
        made.CreatePointFontIndirect(&request, &dc);
    } else {
        made.CreatePointFontIndirect(&request);
    }
    if (made.m_hObject == nullptr) return;
    font.DeleteObject();
    font.Attach(made.Detach());
}

// An editor shown while its font changes takes the new one at once.
void Refont(CWnd& editor, CFont& font) {
    if (editor.m_hWnd != nullptr && editor.IsWindowVisible() && font.m_hObject != nullptr) {
        editor.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), TRUE);
    }
}

}  // namespace

void CTableView::ChangeDrawingElements() {
    // The dialog belongs to the view's window and measures in its context.
    if (m_hWnd == nullptr) return;
    LOGFONTW font{};
    int points = 0;
    GetLogFont(&font, points);
    CClientDC dc(this);
    font.lfHeight = -MulDiv(points / 10, dc.GetDeviceCaps(LOGPIXELSY), 72);
    CHOOSEFONTW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = m_hWnd;
    choice.hDC = dc.m_hDC;
    choice.lpLogFont = &font;
    choice.iPointSize = points;
    choice.Flags = kChoiceFlags;
    choice.nFontType = SCREEN_FONTTYPE;
    choice.nSizeMin = kSmallestChoice;
    choice.nSizeMax = kLargestChoice;
    if (ChooseFontW(&choice) != TRUE) return;
    ApplyChosenFont(font, choice.iPointSize);
}

void CTableView::ApplyChosenFont(LOGFONTW font, int points) {
    // A face the desktop cannot give (a record from another machine) would draw
    // in whatever the rasteriser substitutes; the user's system face at the
    // chosen size is a known, readable one.
    if (!FaceInstalled(font)) {
        LOGFONTW system{};
        GetSystemLogFont(&system);
        std::copy(std::begin(system.lfFaceName), std::end(system.lfFaceName), font.lfFaceName);
        font.lfCharSet = system.lfCharSet;
    }

    pointSize = points;
    lineHeight = pointSize / 5;
    columnHeader.titleMargin = lineHeight;
    lineHeader.lineHeight = lineHeight;
    sheetTab.tabHeight = 18;

    WriteLogFont(font, pointSize);

    const int drawnSize = std::min(pointSize, kLargestDrawnPointSize);
    ReplacePointFont(cellEdit.font, font, drawnSize, &cellEdit);
    ReplacePointFont(cellCombo.font, font, drawnSize, &cellCombo);
    ReplacePointFont(cellFont, font, drawnSize, this);
    ReplacePointFont(columnHeader.font, font, drawnSize, &columnHeader);
    ReplacePointFont(lineHeader.font, font, drawnSize, &lineHeader);
    ReplacePointFont(sheetTab.font, font, 90, nullptr);
    Refont(cellEdit, cellEdit.font);
    Refont(cellCombo, cellCombo.font);

    // The first pass lays the strips out at the new pitch, the second paints
    // the cells in the places the new layout gives them.
    RedrawWindow();
    RedrawWindow();
}
