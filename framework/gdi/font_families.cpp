// Font family enumeration over the text engine's list of families.
#include "framework/gdi/font_families.h"

#include <algorithm>
#include <string>

#include "framework/core/ascii_case.h"
#include "framework/gdi/text/font_engine.h"

namespace {

// The name the platform gives each character set's script.
const char16_t* ScriptName(BYTE charSet) {
    switch (charSet) {
        case SHIFTJIS_CHARSET: return u"Japanese";
        case HANGUL_CHARSET: return u"Hangul";
        case GB2312_CHARSET: return u"CHINESE_GB2312";
        case CHINESEBIG5_CHARSET: return u"CHINESE_BIG5";
        default: return u"Western";
    }
}

void CopyName(WCHAR* to, int capacity, std::u16string_view name) {
    const auto n = std::min<size_t>(name.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(name.begin(), n, to);
    to[n] = 0;
}

}  // namespace

int EnumFontFamiliesExW(HDC, LOGFONTW* filter, FONTENUMPROCW proc, LPARAM param, DWORD) {
    if (filter == nullptr || proc == nullptr) return 0;
    WCHAR face[LF_FACESIZE + 1]{};
    std::copy_n(filter->lfFaceName, LF_FACESIZE, face);
    int last = 1;
    for (const tq3::fw::text::FamilyInfo& family : tq3::fw::text::ListFamilies()) {
        if (face[0] != 0 && !tq3::fw::EqualIgnoringAsciiCase(family.name, face)) continue;
        for (BYTE charSet : family.charSets) {
            if (filter->lfCharSet != DEFAULT_CHARSET && filter->lfCharSet != charSet) continue;
            ENUMLOGFONTEXW font{};
            font.elfLogFont.lfWeight = FW_NORMAL;
            font.elfLogFont.lfCharSet = charSet;
            font.elfLogFont.lfOutPrecision = 3;  // OUT_STROKE_PRECIS: a scalable face
            font.elfLogFont.lfQuality = 1;       // DRAFT_QUALITY
            font.elfLogFont.lfPitchAndFamily =
                static_cast<BYTE>(family.fixedPitch ? (FIXED_PITCH | FF_MODERN) : VARIABLE_PITCH);
            CopyName(font.elfLogFont.lfFaceName, LF_FACESIZE, family.name);
            CopyName(font.elfFullName, LF_FULLFACESIZE, family.name);
            CopyName(font.elfStyle, LF_FACESIZE, u"Regular");
            CopyName(font.elfScript, LF_FACESIZE, ScriptName(charSet));
            NEWTEXTMETRICEXW metrics{};
            metrics.ntmTm.tmWeight = FW_NORMAL;
            metrics.ntmTm.tmCharSet = charSet;
            metrics.ntmTm.tmPitchAndFamily =
                static_cast<BYTE>((family.fixedPitch ? FF_MODERN : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE);
            last = proc(&font.elfLogFont, &metrics.ntmTm, TRUETYPE_FONTTYPE, param);
            if (last == 0) return 0;
        }
    }
    return last;
}
