// System colours, metrics and parameters: the look of the desktop in one table.
//
// Every size the window manager, the controls and the library read (scroll bar
// widths, borders, caption and menu heights) and every colour they paint with
// come from here, so that the whole desktop agrees with itself. Values are those of
// the platform's classic look at 96 DPI. The screen size follows the desktop
// surface: the window manager reports it with SetScreenSize.
#pragma once

#include "framework/core/wintypes.h"

// ---- Colour indexes (GetSysColor) --------------------------------------------
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;

// ---- Metric indexes (GetSystemMetrics) ---------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYKANJIWINDOW = 18;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_DEBUG = 22;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXICONSPACING = 38;
constexpr int SM_CYICONSPACING = 39;
constexpr int SM_MENUDROPALIGNMENT = 40;
constexpr int SM_DBCSENABLED = 42;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMAXTRACK = 59;
constexpr int SM_CYMAXTRACK = 60;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CXMENUCHECK = 71;
constexpr int SM_CYMENUCHECK = 72;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;
constexpr int SM_SAMEDISPLAYFORMAT = 81;
constexpr int SM_CXFOCUSBORDER = 83;
constexpr int SM_CYFOCUSBORDER = 84;
constexpr int SM_CXPADDEDBORDER = 92;

// ---- SystemParametersInfoW ---------------------------------------------------
constexpr UINT SPI_GETBEEP = 0x0001;
constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;
constexpr UINT SPI_ICONHORIZONTALSPACING = 0x000D;
constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;
constexpr UINT SPI_ICONVERTICALSPACING = 0x0018;
constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;
constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETFONTSMOOTHING = 0x004A;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETWHEELSCROLLCHARS = 0x006C;
constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_GETFOCUSBORDERWIDTH = 0x200E;
constexpr UINT SPI_GETFOCUSBORDERHEIGHT = 0x2010;

// The non-client metrics. Callers that predate the padded border pass a cbSize
// without iPaddedBorderWidth (500 bytes); both sizes are answered.
struct NONCLIENTMETRICSW {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
    int iPaddedBorderWidth;
};
using NONCLIENTMETRICS = NONCLIENTMETRICSW;

// Size of the structure without iPaddedBorderWidth.
constexpr UINT kNonClientMetricsLegacySize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
static_assert(sizeof(LOGFONTW) == 92, "LOGFONTW keeps the platform's layout");
static_assert(kNonClientMetricsLegacySize == 500, "NONCLIENTMETRICSW keeps the platform's layout");
static_assert(sizeof(NONCLIENTMETRICSW) == 504, "NONCLIENTMETRICSW keeps the platform's layout");

// Returns 0 for an index that is not a colour.
TQ3FW_EXPORT_C DWORD GetSysColor(int index);
// A shared brush of the colour; never deleted (DeleteObject leaves it alone).
// NULL for an index that is not a colour.
TQ3FW_EXPORT_C HBRUSH GetSysColorBrush(int index);
// Returns 0 for an unknown index.
TQ3FW_EXPORT_C int GetSystemMetrics(int index);
// Answers the SPI_GET* actions above; FALSE for other actions, a NULL pvParam or
// a structure size that is not the platform's.
TQ3FW_EXPORT_C BOOL SystemParametersInfoW(UINT action, UINT uiParam, void* pvParam, UINT winIni);
inline BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni) {
    return SystemParametersInfoW(action, uiParam, pvParam, winIni);
}

namespace tq3::fw {

// The window manager reports the desktop surface's size; SM_CXSCREEN,
// SM_CYSCREEN, the virtual screen and the work area follow it. Until then the
// screen is 1024x768.
TQ3FW_API void SetScreenSize(int width, int height);

// The platform's standard faces, as the text engine's face aliases know them.
// One place for the fonts of the desktop: captions, menus, dialogs, messages.
TQ3FW_API LOGFONTW DesktopFont(LONG height, LONG weight);
// DEFAULT_GUI_FONT: the dialog face at 9 points (lfHeight -12 at 96 DPI).
TQ3FW_API LOGFONTW DefaultGuiLogFont();
// SYSTEM_FONT: the face used when nothing was selected into a device context.
TQ3FW_API LOGFONTW SystemLogFont();

}  // namespace tq3::fw
