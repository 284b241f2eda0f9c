// The common font dialog (see commdlg.h).
//
// Call flow: ChooseFontW -> CheckRecord -> ListFamilies (EnumFontFamiliesExW) ->
// RunDialog (the built-in template, a host's template by name or by handle) ->
// FontDialogProc: WM_INITDIALOG -> FillLists -> Preselect -> ShowSample; a family
// picked -> FillScripts -> ShowSample; a style, size or script -> ShowSample;
// IDOK -> ReadChoice (asks again on a bad size or an unknown family) -> Store ->
// EndDialog.
//
// The family and size boxes are editable drop-down combo boxes where the platform
// shows lists that stay open under their boxes; typing, the arrows and the choice
// work the same.
#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "framework/controls/button.h"
#include "framework/core/ascii_case.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/commdlg.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/dialogs_internal.h"
#include "framework/dialogs/message_box.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/font_families.h"
#include "framework/gdi/gdi_objects.h"

namespace {

DWORD g_lastError = 0;

// ============================================================================
// The built-in template
// ============================================================================

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kChild | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_HASSTRINGS;
constexpr DLGITEMTEMPLATEW kItems[] = {
    {kChild, 0, 7, 7, 98, 9, stc1, u"Static", u""},
    {kList | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 7, 17, 98, 120, cmb1, u"ComboBox", u""},
    {kChild, 0, 112, 7, 74, 9, stc2, u"Static", u""},
    {kList | CBS_DROPDOWNLIST, 0, 112, 17, 74, 80, cmb2, u"ComboBox", u""},
    {kChild, 0, 193, 7, 40, 9, stc3, u"Static", u""},
    {kList | CBS_DROPDOWN, 0, 193, 17, 40, 100, cmb3, u"ComboBox", u""},
    {kChild | WS_GROUP | BS_GROUPBOX, 0, 7, 36, 179, 52, grp2, u"Button", u""},
    {kChild | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0, 13, 46, 167, 38, stc5, u"Static", u""},
    {kChild, 0, 7, 93, 179, 9, stc7, u"Static", u""},
    {kList | CBS_DROPDOWNLIST, 0, 7, 103, 179, 60, cmb5, u"ComboBox", u""},
    {kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 193, 40, 40, 14, IDOK, u"Button", u""},
    {kChild | WS_TABSTOP, 0, 193, 57, 40, 14, IDCANCEL, u"Button", u""},
};
constexpr DLGTEMPLATEW kTemplate = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                    0, 13, 54, 240, 124, u"", 8, u"MS Shell Dlg",
                                    static_cast<uint16_t>(std::size(kItems)), kItems};

// The built-in template with its texts in the user-interface language: the
// layout above, the labels from the language's table.
struct LocalTemplate {
    DLGITEMTEMPLATEW items[std::size(kItems)];
    DLGTEMPLATEW dialog;
};

void Localise(LocalTemplate& t) {
    const tq3::fw::dialogs::SystemTexts& texts = tq3::fw::dialogs::TextsForThread();
    std::copy(std::begin(kItems), std::end(kItems), t.items);
    for (DLGITEMTEMPLATEW& item : t.items) {
        switch (item.id) {
            case stc1: item.text = texts.fontLabel; break;
            case stc2: item.text = texts.styleLabel; break;
            case stc3: item.text = texts.sizeLabel; break;
            case grp2: item.text = texts.sampleGroup; break;
            case stc5: item.text = texts.sampleText; break;
            case stc7: item.text = texts.scriptLabel; break;
            case IDOK: item.text = texts.ok; break;
            case IDCANCEL: item.text = texts.cancel; break;
            default: break;
        }
    }
    t.dialog = kTemplate;
    t.dialog.title = texts.fontTitle;
    t.dialog.items = t.items;
}

// The style list, in the order the index encodes: bit 0 italic, bit 1 bold. The
// names shown and returned are the user-interface language's; a style a host
// gives (CF_USESTYLE) may also be named in English.
constexpr const char16_t* kEnglishStyles[] = {u"Regular", u"Italic", u"Bold", u"Bold Italic"};
const char16_t* StyleName(int index) { return tq3::fw::dialogs::TextsForThread().styles[index & 3]; }
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// ============================================================================
// The dialog's state
// ============================================================================

struct Family {
    std::u16string name;
    BYTE pitchAndFamily;
    std::vector<BYTE> charSets;
    std::vector<std::u16string> scripts;
};

struct Session {
    CHOOSEFONTW* record;
    std::vector<Family> families;
    HFONT sample = nullptr;
    int logPixelsY = 96;
};

Session* SessionOf(HWND dialog) { return reinterpret_cast<Session*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

struct Collector {
    std::vector<Family>* families;
    DWORD flags;
};

// One entry a family, with every script it came with.
int CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
    auto* into = reinterpret_cast<Collector*>(param);
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
    if ((into->flags & CF_NOVERTFONTS) && font->lfFaceName[0] == u'@') return 1;
    if ((into->flags & CF_FIXEDPITCHONLY) && (font->lfPitchAndFamily & 0x03) != FIXED_PITCH) return 1;
    std::u16string name(font->lfFaceName);
    auto& list = *into->families;
    if (list.empty() || list.back().name != name) list.push_back(Family{name, font->lfPitchAndFamily, {}, {}});
    list.back().charSets.push_back(font->lfCharSet);
    list.back().scripts.emplace_back(full->elfScript);
    return 1;
}

// ============================================================================
// Reading and filling the boxes
// ============================================================================

std::u16string ItemText(HWND dialog, int id) {
    WCHAR text[LF_FACESIZE * 2]{};
    GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
    return std::u16string(text);
}

void AddString(HWND dialog, int id, const std::u16string& text, LPARAM data) {
    LRESULT at = SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0) SendDlgItemMessageW(dialog, id, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
}

int Selected(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

LPARAM SelectedData(HWND dialog, int id, LPARAM otherwise) {
    int at = Selected(dialog, id);
    return at < 0 ? otherwise : SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
}

const Family* FamilyNamed(const Session& s, const std::u16string& name) {
    for (const Family& f : s.families) {
        if (tq3::fw::EqualIgnoringAsciiCase(f.name, name)) return &f;
    }
    return nullptr;
}

// A size as typed: a whole number of points or one with a tenth ("10.5"), in
// tenths of a point; 0 when it is not one.
int ParseTenths(const std::u16string& text) {
    int tenths = 0;
    size_t i = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && tenths < 100000) {
        tenths = tenths * 10 + (text[i++] - u'0');
    }
    tenths *= 10;
    if (i < text.size() && text[i] == u'.' && i + 1 < text.size() && text[i + 1] >= u'0' && text[i + 1] <= u'9') {
        tenths += text[i + 1] - u'0';
        i += 2;
    }
    return i == text.size() && i > 0 ? tenths : 0;
}

std::u16string TenthsText(int tenths) {
    char text[24];
    if (tenths % 10 == 0)
        std::snprintf(text, sizeof text, "%d", tenths / 10);
    else
        std::snprintf(text, sizeof text, "%d.%d", tenths / 10, tenths % 10);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

// The scripts of the family in the box, keeping the one chosen when it has it.
void FillScripts(HWND dialog, const Session& s, BYTE wanted) {
    SendDlgItemMessageW(dialog, cmb5, CB_RESETCONTENT, 0, 0);
    const Family* family = FamilyNamed(s, ItemText(dialog, cmb1));
    if (family == nullptr) return;
    int select = 0;
    for (size_t i = 0; i < family->charSets.size(); ++i) {
        AddString(dialog, cmb5, family->scripts[i], family->charSets[i]);
        if (family->charSets[i] == wanted) select = static_cast<int>(i);
    }
    SendDlgItemMessageW(dialog, cmb5, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

void FillLists(HWND dialog, const Session& s) {
    for (const Family& f : s.families) AddString(dialog, cmb1, f.name, 0);
    for (int i = 0; i < 4; ++i) AddString(dialog, cmb2, StyleName(i), i);
    const CHOOSEFONTW& r = *s.record;
    for (int points : kSizes) {
        if ((r.Flags & CF_LIMITSIZE) && (points < r.nSizeMin || points > r.nSizeMax)) continue;
        AddString(dialog, cmb3, TenthsText(points * 10), points * 10);
    }
}

// The choice the dialog starts with: the record's font with
// CF_INITTOLOGFONTSTRUCT, else the first family; a face that is not installed
// falls back to the dialog font's family, the size to the limits.
void Preselect(HWND dialog, const Session& s) {
    const CHOOSEFONTW& r = *s.record;
    const LOGFONTW* lf = (r.Flags & CF_INITTOLOGFONTSTRUCT) ? r.lpLogFont : nullptr;
    const Family* family = lf != nullptr ? FamilyNamed(s, lf->lfFaceName) : nullptr;
    if (family == nullptr) family = FamilyNamed(s, u"MS Shell Dlg");
    if (family == nullptr) family = &s.families.front();
    SendDlgItemMessageW(dialog, cmb1, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(family->name.c_str()));
    SetDlgItemTextW(dialog, cmb1, family->name.c_str());

    int style = lf != nullptr ? ((lf->lfWeight >= FW_SEMIBOLD ? 2 : 0) | (lf->lfItalic ? 1 : 0)) : 0;
    if ((r.Flags & CF_USESTYLE) && r.lpszStyle != nullptr) {
        for (int i = 0; i < 4; ++i) {
            const std::u16string given(r.lpszStyle);
            if (given == StyleName(i) || given == kEnglishStyles[i]) style = i;
        }
    }
    SendDlgItemMessageW(dialog, cmb2, CB_SETCURSEL, static_cast<WPARAM>(style), 0);

    // A height alone gives the nearest whole size, as a character height rarely
    // makes an exact one (13 pixels at 96 per inch are 9.75 points).
    int tenths = 100;
    if (r.iPointSize > 0) {
        tenths = r.iPointSize;
    } else if (lf != nullptr && lf->lfHeight != 0) {
        tenths = 10 * MulDiv(lf->lfHeight < 0 ? -lf->lfHeight : lf->lfHeight, 72, s.logPixelsY);
    }
    if (r.Flags & CF_LIMITSIZE) tenths = std::clamp(tenths, r.nSizeMin * 10, r.nSizeMax * 10);
    std::u16string size = TenthsText(tenths);
    if (SendDlgItemMessageW(dialog, cmb3, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(size.c_str())) == CB_ERR ||
        ItemText(dialog, cmb3) != size) {
        SendDlgItemMessageW(dialog, cmb3, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetDlgItemTextW(dialog, cmb3, size.c_str());
    }
    FillScripts(dialog, s, lf != nullptr ? lf->lfCharSet : ANSI_CHARSET);
}

// The font the boxes describe now; *tenths gets the size (0 when the size box
// holds no number).
LOGFONTW CurrentFont(HWND dialog, const Session& s, int* tenths) {
    LOGFONTW lf{};
    if (s.record->lpLogFont != nullptr) {
        lf.lfUnderline = s.record->lpLogFont->lfUnderline;
        lf.lfStrikeOut = s.record->lpLogFont->lfStrikeOut;
    }
    std::u16string face = ItemText(dialog, cmb1);
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    const Family* family = FamilyNamed(s, face);
    const auto style = static_cast<int>(SelectedData(dialog, cmb2, 0));
    lf.lfWeight = (style & 2) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & 1) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(SelectedData(dialog, cmb5, ANSI_CHARSET));
    lf.lfOutPrecision = 3;   // OUT_STROKE_PRECIS
    lf.lfClipPrecision = 2;  // CLIP_STROKE_PRECIS
    lf.lfQuality = 1;        // DRAFT_QUALITY
    lf.lfPitchAndFamily = family != nullptr ? family->pitchAndFamily : VARIABLE_PITCH;
    *tenths = ParseTenths(ItemText(dialog, cmb3));
    lf.lfHeight = -MulDiv(*tenths, s.logPixelsY, 720);
    return lf;
}

// The sample is drawn in the font chosen so far; a size that is not a number
// yet keeps the last sample.
void ShowSample(HWND dialog, Session& s) {
    int tenths = 0;
    LOGFONTW lf = CurrentFont(dialog, s, &tenths);
    if (tenths <= 0) return;
    HFONT font = CreateFontIndirectW(&lf);
    if (font == nullptr) return;
    SendDlgItemMessageW(dialog, stc5, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (s.sample != nullptr) DeleteObject(s.sample);
    s.sample = font;
}

// Tells the user what is wrong with the choice and puts the focus where it is.
void Refuse(HWND dialog, int id, const std::u16string& text) {
    MessageBoxW(dialog, text.c_str(), tq3::fw::dialogs::TextsForThread().fontTitle, MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog, id));
    SendDlgItemMessageW(dialog, id, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

// OK: the choice goes into the record, unless the size or (with
// CF_FORCEFONTEXIST) the family is not one the dialog can give.
void ReadChoice(HWND dialog, Session& s) {
    CHOOSEFONTW& r = *s.record;
    const tq3::fw::dialogs::SystemTexts& texts = tq3::fw::dialogs::TextsForThread();
    int tenths = 0;
    LOGFONTW lf = CurrentFont(dialog, s, &tenths);
    if (lf.lfFaceName[0] == 0 || ((r.Flags & CF_FORCEFONTEXIST) && FamilyNamed(s, lf.lfFaceName) == nullptr)) {
        Refuse(dialog, cmb1, texts.noSuchFont);
        return;
    }
    if (tenths <= 0) {
        Refuse(dialog, cmb3, texts.sizeNotNumber);
        return;
    }
    if ((r.Flags & CF_LIMITSIZE) && (tenths < r.nSizeMin * 10 || tenths > r.nSizeMax * 10)) {
        std::u16string message = texts.sizeRange;
        message.replace(message.find(u"%1"), 2, TenthsText(r.nSizeMin * 10));
        message.replace(message.find(u"%2"), 2, TenthsText(r.nSizeMax * 10));
        Refuse(dialog, cmb3, message);
        return;
    }
    *r.lpLogFont = lf;
    r.iPointSize = tenths;
    r.nFontType = static_cast<WORD>(SCREEN_FONTTYPE | (lf.lfWeight >= FW_BOLD ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
                                    (lf.lfItalic ? ITALIC_FONTTYPE : 0));
    if (r.lpszStyle != nullptr) {
        const std::u16string style = StyleName(static_cast<int>(SelectedData(dialog, cmb2, 0)));
        std::copy(style.begin(), style.end(), r.lpszStyle);
        r.lpszStyle[style.size()] = 0;
    }
    EndDialog(dialog, IDOK);
}

// ============================================================================
// The dialog procedure
// ============================================================================

BOOL OnCommand(HWND dialog, Session& s, WORD id, WORD code) {
    switch (id) {
        case IDOK:
            ReadChoice(dialog, s);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case cmb1:
            if (code != CBN_SELCHANGE && code != CBN_EDITCHANGE) return FALSE;
            if (code == CBN_SELCHANGE) {
                // The edit part shows the new entry only after this notification.
                int at = Selected(dialog, cmb1);
                WCHAR name[LF_FACESIZE * 2]{};
                if (at >= 0 && SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXTLEN, static_cast<WPARAM>(at), 0) <
                                   static_cast<LRESULT>(std::size(name))) {
                    SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, static_cast<WPARAM>(at),
                                        reinterpret_cast<LPARAM>(name));
                    SetDlgItemTextW(dialog, cmb1, name);
                }
            }
            FillScripts(dialog, s, static_cast<BYTE>(SelectedData(dialog, cmb5, ANSI_CHARSET)));
            ShowSample(dialog, s);
            return TRUE;
        case cmb3:
            if (code == CBN_SELCHANGE) {
                int at = Selected(dialog, cmb3);
                if (at >= 0) {
                    auto tenths =
                        static_cast<int>(SendDlgItemMessageW(dialog, cmb3, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
                    SetDlgItemTextW(dialog, cmb3, TenthsText(tenths).c_str());
                }
            }
            [[fallthrough]];
        case cmb2:
        case cmb5:
            if (code != CBN_SELCHANGE && code != CBN_EDITCHANGE) return FALSE;
            ShowSample(dialog, s);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Session* s = message == WM_INITDIALOG ? reinterpret_cast<Session*>(lParam) : SessionOf(dialog);
    if (s == nullptr) return FALSE;
    const CHOOSEFONTW& r = *s->record;
    LPCFHOOKPROC hook = (r.Flags & CF_ENABLEHOOK) ? r.lpfnHook : nullptr;
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
        FillLists(dialog, *s);
        Preselect(dialog, *s);
        ShowSample(dialog, *s);
        // A hook sees the dialog ready, with the record it was given.
        return hook != nullptr ? static_cast<INT_PTR>(hook(dialog, message, wParam, reinterpret_cast<LPARAM>(&r)))
                               : TRUE;
    }
    if (hook != nullptr && hook(dialog, message, wParam, lParam) != 0) return TRUE;
    switch (message) {
        case WM_COMMAND:
            return OnCommand(dialog, *s, LOWORD(wParam), HIWORD(wParam));
        case WM_DESTROY:
            SendDlgItemMessageW(dialog, stc5, WM_SETFONT, 0, FALSE);
            if (s->sample != nullptr) DeleteObject(s->sample);
            s->sample = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

// Nothing may unwind into the dialog manager: a message that runs out of memory
// is left undone.
INT_PTR FontDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(dialog, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

// ============================================================================
// ChooseFontW
// ============================================================================

DWORD CheckRecord(const CHOOSEFONTW* r) {
    if (r == nullptr || r->lStructSize != sizeof(CHOOSEFONTW)) return CDERR_STRUCTSIZE;
    if (r->lpLogFont == nullptr) return CDERR_INITIALIZATION;
    if ((r->Flags & CF_LIMITSIZE) && r->nSizeMax < r->nSizeMin) return CFERR_MAXLESSTHANMIN;
    if ((r->Flags & CF_BOTH) == 0) return CFERR_NOFONTS;  // asked for neither screen nor printer fonts
    return 0;
}

INT_PTR RunDialog(const CHOOSEFONTW& r, Session& s) {
    auto param = reinterpret_cast<LPARAM>(&s);
    if (r.Flags & CF_ENABLETEMPLATEHANDLE) {
        return DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(r.hInstance), r.hwndOwner,
                                       &FontDialogProc, param);
    }
    if (r.Flags & CF_ENABLETEMPLATE) {
        return DialogBoxParamW(r.hInstance, r.lpTemplateName, r.hwndOwner, &FontDialogProc, param);
    }
    LocalTemplate local;
    Localise(local);
    return DialogBoxIndirectParamW(nullptr, &local.dialog, r.hwndOwner, &FontDialogProc, param);
}

}  // namespace

BOOL ChooseFontW(LPCHOOSEFONTW choice) {
    g_lastError = CheckRecord(choice);
    if (g_lastError != 0) return FALSE;
    try {
        Session s{choice, {}, nullptr, 96};
        LOGFONTW filter{};
        filter.lfCharSet = (choice->Flags & CF_ANSIONLY) ? ANSI_CHARSET : DEFAULT_CHARSET;
        Collector collector{&s.families, choice->Flags};
        EnumFontFamiliesExW(choice->hDC, &filter, &CollectFamily, reinterpret_cast<LPARAM>(&collector), 0);
        if (s.families.empty()) {
            g_lastError = CFERR_NOFONTS;
            return FALSE;
        }
        HDC dc = choice->hDC != nullptr ? choice->hDC : CreateCompatibleDC(nullptr);
        if (dc != nullptr) s.logPixelsY = std::max(GetDeviceCaps(dc, LOGPIXELSY), 1);
        if (choice->hDC == nullptr && dc != nullptr) DeleteDC(dc);
        INT_PTR result = RunDialog(*choice, s);
        if (result == -1) g_lastError = CDERR_DIALOGFAILURE;
        return result == IDOK;
    } catch (const std::bad_alloc&) {
        g_lastError = CDERR_DIALOGFAILURE;
        return FALSE;
    }
}

DWORD CommDlgExtendedError() { return g_lastError; }
