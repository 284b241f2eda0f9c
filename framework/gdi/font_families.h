// The font families a program can choose from, as the platform enumerates them:
// installed families and the platform's face names that stand for installed
// faces, each once for every character set its faces cover.
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"

constexpr int LF_FULLFACESIZE = 64;

// Font types given to the enumeration procedure. Every face here is scalable.
constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

// Pitch and family (LOGFONTW::lfPitchAndFamily).
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_MODERN = 0x30;
// TEXTMETRICW::tmPitchAndFamily: note that this bit set means a variable pitch.
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;

struct ENUMLOGFONTEXW {
    LOGFONTW elfLogFont;
    WCHAR elfFullName[LF_FULLFACESIZE];
    WCHAR elfStyle[LF_FACESIZE];
    WCHAR elfScript[LF_FACESIZE];
};
struct NEWTEXTMETRICW : TEXTMETRICW {
    DWORD ntmFlags;
    UINT ntmSizeEM;
    UINT ntmCellHeight;
    UINT ntmAvgWidth;
};
struct FONTSIGNATURE {
    DWORD fsUsb[4];
    DWORD fsCsb[2];
};
struct NEWTEXTMETRICEXW {
    NEWTEXTMETRICW ntmTm;
    FONTSIGNATURE ntmFontSig;
};
using ENUMLOGFONTEX = ENUMLOGFONTEXW;
using NEWTEXTMETRICEX = NEWTEXTMETRICEXW;

// Called with an ENUMLOGFONTEXW and a NEWTEXTMETRICEXW behind the two pointers;
// returns 0 to stop the enumeration.
using FONTENUMPROCW = int (*)(const LOGFONTW* logFont, const TEXTMETRICW* metrics, DWORD fontType, LPARAM param);

// Calls `proc` for every family whose name is `filter->lfFaceName` (every family
// when it is empty) in the character set `filter->lfCharSet` (each set a family
// covers, one call each, for DEFAULT_CHARSET), in order of name. The metrics give
// the pitch, character set and a regular weight; sizes are not measured (realise
// the font for them). Returns the last value `proc` returned, 1 when it was never
// called, 0 for a null filter or procedure.
TQ3FW_EXPORT_C int EnumFontFamiliesExW(HDC dc, LOGFONTW* filter, FONTENUMPROCW proc, LPARAM param, DWORD flags);

inline int EnumFontFamiliesEx(HDC dc, LOGFONTW* filter, FONTENUMPROCW proc, LPARAM param, DWORD flags) {
    return EnumFontFamiliesExW(dc, filter, proc, param, flags);
}
