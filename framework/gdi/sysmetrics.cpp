#include "framework/gdi/sysmetrics.h"

#include <array>
#include <cstring>

#include "framework/gdi/gdi_objects.h"

namespace tq3::fw {

namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

// The desktop's colours, indexed by COLOR_*. Index 25 has no colour on the
// platform either and reads as black.
constexpr std::array<COLORREF, kColorCount> kSysColors = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(153, 180, 209),  // COLOR_ACTIVECAPTION
    RGB(191, 205, 219),  // COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(100, 100, 100),  // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(0, 0, 0),        // COLOR_CAPTIONTEXT
    RGB(180, 180, 180),  // COLOR_ACTIVEBORDER
    RGB(244, 247, 252),  // COLOR_INACTIVEBORDER
    RGB(171, 171, 171),  // COLOR_APPWORKSPACE
    RGB(0, 120, 215),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240),  // COLOR_BTNFACE
    RGB(160, 160, 160),  // COLOR_BTNSHADOW
    RGB(109, 109, 109),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(0, 0, 0),        // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105),  // COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(0, 0, 0),        // (no colour)
    RGB(0, 102, 204),    // COLOR_HOTLIGHT
    RGB(185, 209, 234),  // COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 120, 215),    // COLOR_MENUHILIGHT
    RGB(240, 240, 240),  // COLOR_MENUBAR
};

// Non-client sizes at 96 DPI. The caption and menu bar heights leave room for a
// 9-point face; the metrics add the one-pixel line under them.
constexpr int kBorder = 1;
constexpr int kScrollSize = 17;
constexpr int kCaptionButton = 18;
constexpr int kCaptionHeight = 18;
constexpr int kSmCaptionButton = 12;
constexpr int kSmCaptionHeight = 15;
constexpr int kMenuButton = 18;
constexpr int kMenuHeight = 18;
constexpr int kDlgFrame = 3;
constexpr int kSizeFrame = kBorder + 3;
constexpr int kEdge = 2;

// The face every desktop font uses; the text engine's aliases put it on the
// installed Japanese gothic face, which also carries Latin letters.
constexpr char16_t kDesktopFace[] = u"MS UI Gothic";
constexpr LONG kNinePoints = -12;  // -MulDiv(9, 96, 72)

struct Screen {
    int width = 1024;
    int height = 768;
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

void FillNonClientMetrics(NONCLIENTMETRICSW* m, UINT size) {
    NONCLIENTMETRICSW full{};
    full.cbSize = size;
    full.iBorderWidth = kBorder;
    full.iScrollWidth = kScrollSize;
    full.iScrollHeight = kScrollSize;
    full.iCaptionWidth = kCaptionButton;
    full.iCaptionHeight = kCaptionHeight;
    full.lfCaptionFont = DesktopFont(kNinePoints, FW_BOLD);
    full.iSmCaptionWidth = kSmCaptionButton;
    full.iSmCaptionHeight = kSmCaptionHeight;
    full.lfSmCaptionFont = DesktopFont(kNinePoints, FW_BOLD);
    full.iMenuWidth = kMenuButton;
    full.iMenuHeight = kMenuHeight;
    full.lfMenuFont = DesktopFont(kNinePoints, FW_NORMAL);
    full.lfStatusFont = DesktopFont(kNinePoints, FW_NORMAL);
    full.lfMessageFont = DesktopFont(kNinePoints, FW_NORMAL);
    full.iPaddedBorderWidth = 0;
    std::memcpy(m, &full, size);
}

template <typename T>
BOOL Answer(void* out, T value) {
    *static_cast<T*>(out) = value;
    return TRUE;
}

}  // namespace

void SetScreenSize(int width, int height) {
    TheScreen().width = width > 0 ? width : 0;
    TheScreen().height = height > 0 ? height : 0;
}

LOGFONTW DesktopFont(LONG height, LONG weight) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(lf.lfFaceName, kDesktopFace, sizeof(kDesktopFace));
    return lf;
}

LOGFONTW DefaultGuiLogFont() { return DesktopFont(kNinePoints, FW_NORMAL); }

// The platform's system font is a bold 16-pixel face.
LOGFONTW SystemLogFont() { return DesktopFont(-16, FW_BOLD); }

}  // namespace tq3::fw

using namespace tq3::fw;

DWORD GetSysColor(int index) {
    if (index < 0 || index >= kColorCount) return 0;
    return kSysColors[static_cast<std::size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index >= kColorCount) return nullptr;
    static std::array<HBRUSH, kColorCount> brushes{};
    HBRUSH& brush = brushes[static_cast<std::size_t>(index)];
    if (!brush) brush = gdi::CreatePermanentBrush(kSysColors[static_cast<std::size_t>(index)]);
    return brush;
}

int GetSystemMetrics(int index) {
    const Screen& s = TheScreen();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXVIRTUALSCREEN:
        case SM_CXFULLSCREEN:
        case SM_CXMAXTRACK:
            return s.width;
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN:
        case SM_CYMAXTRACK:
            return s.height;
        case SM_CYFULLSCREEN:  // the screen less a caption
            return s.height > kCaptionHeight + kBorder ? s.height - kCaptionHeight - kBorder : 0;
        case SM_CXMAXIMIZED:
            return s.width + 2 * kSizeFrame;
        case SM_CYMAXIMIZED:
            return s.height + 2 * kSizeFrame;
        case SM_XVIRTUALSCREEN:
        case SM_YVIRTUALSCREEN:
            return 0;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CXHTHUMB:
        case SM_CYVTHUMB:
            return kScrollSize;
        case SM_CYCAPTION:
            return kCaptionHeight + kBorder;
        case SM_CYSMCAPTION:
            return kSmCaptionHeight + kBorder;
        case SM_CYMENU:
            return kMenuHeight + kBorder;
        case SM_CXBORDER:
        case SM_CYBORDER:
        case SM_CXFOCUSBORDER:
        case SM_CYFOCUSBORDER:
            return kBorder;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return kEdge;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return kDlgFrame;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return kSizeFrame;
        case SM_CXSIZE:
        case SM_CYSIZE:
            return kCaptionButton;
        case SM_CXSMSIZE:
        case SM_CYSMSIZE:
            return kSmCaptionButton;
        case SM_CXMENUSIZE:
        case SM_CYMENUSIZE:
            return kMenuButton;
        case SM_CXMENUCHECK:
        case SM_CYMENUCHECK:
            return 13;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CXICONSPACING:
        case SM_CYICONSPACING:
            return 75;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
        case SM_CXDRAG:
        case SM_CYDRAG:
            return 4;
        case SM_CXMIN:
            return 112;
        case SM_CYMIN:
            return kCaptionHeight + kBorder + 2 * kSizeFrame;
        case SM_CXMINTRACK:
            return 112;
        case SM_CYMINTRACK:
            return kCaptionHeight + kBorder + 2 * kSizeFrame;
        case SM_MOUSEPRESENT:
        case SM_MOUSEWHEELPRESENT:
        case SM_CMONITORS:
        case SM_SAMEDISPLAYFORMAT:
            return 1;
        case SM_CMOUSEBUTTONS:
            return 3;
        case SM_DBCSENABLED:
            return 1;
        case SM_CYKANJIWINDOW:
        case SM_DEBUG:
        case SM_SWAPBUTTON:
        case SM_MENUDROPALIGNMENT:
        case SM_CXPADDEDBORDER:
        default:
            return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT /*uiParam*/, void* pvParam, UINT /*winIni*/) {
    if (!pvParam) return FALSE;
    switch (action) {
        case SPI_GETNONCLIENTMETRICS: {
            auto* m = static_cast<NONCLIENTMETRICSW*>(pvParam);
            UINT size = m->cbSize;
            if (size != kNonClientMetricsLegacySize && size != sizeof(NONCLIENTMETRICSW)) return FALSE;
            FillNonClientMetrics(m, size);
            return TRUE;
        }
        case SPI_GETICONTITLELOGFONT:
            return Answer(pvParam, DefaultGuiLogFont());
        case SPI_GETWORKAREA:
            return Answer(pvParam, RECT{0, 0, TheScreen().width, TheScreen().height});
        case SPI_GETWHEELSCROLLLINES:
        case SPI_GETWHEELSCROLLCHARS:
            return Answer<UINT>(pvParam, 3);
        case SPI_GETKEYBOARDDELAY:  // 0..3, in quarters of a second past the first
            return Answer<int>(pvParam, 1);
        case SPI_GETKEYBOARDSPEED:  // 0..31
            return Answer<DWORD>(pvParam, 31);
        case SPI_GETMENUSHOWDELAY:
            return Answer<DWORD>(pvParam, 400);
        case SPI_ICONHORIZONTALSPACING:
        case SPI_ICONVERTICALSPACING:
            return Answer<int>(pvParam, 75);
        case SPI_GETFOCUSBORDERWIDTH:
        case SPI_GETFOCUSBORDERHEIGHT:
            return Answer<UINT>(pvParam, 1);
        case SPI_GETBEEP:
        case SPI_GETDRAGFULLWINDOWS:
        case SPI_GETKEYBOARDCUES:
            return Answer<BOOL>(pvParam, TRUE);
        case SPI_GETFONTSMOOTHING:
        case SPI_GETFLATMENU:
            return Answer<BOOL>(pvParam, FALSE);
        default:
            return FALSE;
    }
}
