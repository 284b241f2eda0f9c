// What a table view remembers for the user between runs: the width of every
// column of every sheet and the cell font. Both live below the settings base key
// and go through the host's profile store, section by section:
//
//   WidthOfColumns\Info_<data word, 8 hex digits>   ColumnWidth_00001, ...  (widths)
//   LogFont                                         lfHeight ... lfFaceName, iPointSize
//
// A sheet's widths belong to its data word, not to its position or name, so a
// host that rebuilds its sheets in another order still finds each sheet's widths.
// Every rewrite deletes its section first, so entries of columns that no longer
// exist disappear; the delete and the writes form one store transaction, so a
// writer that dies halfway leaves the old section whole.
//
// Sections: names | column widths | font | key deletion
#include <algorithm>
#include <new>

#include "framework/app/win_app.h"
#include "settings/registry_location.h"
#include "settings/settings_transaction.h"
#include "view/table_view.h"

namespace {

// ---- names ---------------------------------------------------------------------------

constexpr int kDefaultPointSize = 90;

constexpr LPCWSTR kFontSection = u"LogFont";
constexpr LPCWSTR kFaceEntry = u"lfFaceName";
constexpr LPCWSTR kPointSizeEntry = u"iPointSize";
constexpr LPCWSTR kDefaultFace = u"MS UI Gothic";

// "WidthOfColumns\Info_0000001a" for data word 0x1A.
CString WidthSection(DWORD data) {
    CString section;
    section.Format(u"WidthOfColumns\\Info_%08x", static_cast<unsigned>(data));
    return section;
}

// "ColumnWidth_00001" for the first column.
CString WidthEntry(int number) {
    CString entry;
    entry.Format(u"%s_%05d", u"ColumnWidth", number);
    return entry;
}

// The integer fields of the font record, in the order they are stored, with the
// default each takes when its entry is missing. Byte fields keep the low 8 bits
// of what is stored.
struct FontField {
    LPCWSTR entry;
    int defaultValue;
    LONG LOGFONTW::*wide;  // a 32-bit field, or
    BYTE LOGFONTW::*byte;  // a byte field
};

constexpr FontField kFontFields[] = {
    {u"lfHeight", -12, &LOGFONTW::lfHeight, nullptr},
    {u"lfWidth", 0, &LOGFONTW::lfWidth, nullptr},
    {u"lfEscapement", 0, &LOGFONTW::lfEscapement, nullptr},
    {u"lfOrientation", 0, &LOGFONTW::lfOrientation, nullptr},
    {u"lfWeight", 400, &LOGFONTW::lfWeight, nullptr},
    {u"lfItalic", 0, nullptr, &LOGFONTW::lfItalic},
    {u"lfUnderline", 0, nullptr, &LOGFONTW::lfUnderline},
    {u"lfStrikeOut", 0, nullptr, &LOGFONTW::lfStrikeOut},
    {u"lfCharSet", 1, nullptr, &LOGFONTW::lfCharSet},
    {u"lfOutPrecision", 0, nullptr, &LOGFONTW::lfOutPrecision},
    {u"lfClipPrecision", 0, nullptr, &LOGFONTW::lfClipPrecision},
    {u"lfQuality", 0, nullptr, &LOGFONTW::lfQuality},
    {u"lfPitchAndFamily", 0, nullptr, &LOGFONTW::lfPitchAndFamily},
};

void SetFontField(LOGFONTW& font, const FontField& field, int value) {
    if (field.wide != nullptr) {
        font.*field.wide = value;
    } else {
        font.*field.byte = static_cast<BYTE>(value & 0xFF);
    }
}

// Copies at most LF_FACESIZE - 1 characters of `face`, stopping at its end, and
// terminates the field.
void CopyFaceName(LOGFONTW& font, const WCHAR* face, int available) {
    int length = 0;
    while (length < LF_FACESIZE - 1 && length < available && face[length] != 0) {
        font.lfFaceName[length] = face[length];
        ++length;
    }
    std::fill(font.lfFaceName + length, font.lfFaceName + LF_FACESIZE, WCHAR{0});
}

}  // namespace

// ---- column widths -----------------------------------------------------------------

int CTableView::ReadWidthOfColumns() {
    try {
        CString base;
        if (!CanOpenRegistory(base) || sheets.IsEmpty()) return 0;
        CWinApp* app = AfxGetApp();
        for (CSheetObj* sheet : sheets) {
            // A sheet without columns ends the walk: the sheets after it keep
            // their widths.
            if (sheet->GetColumnCount() == 0) return 0;
            const CString section = WidthSection(sheet->data);
            int x = 0;
            for (int i = 0; i < sheet->GetColumnCount(); ++i) {
                // A width is taken as stored, a negative one too; only the edges
                // it makes stop at the farthest edge the geometry allows.
                const int width = static_cast<int>(app->GetProfileInt(section, WidthEntry(i + 1), 0));
                CColumnProp* column = sheet->GetColumn(i);
                column->defaultWidth = width;
                const int right = tq3::MoveColumnEdge(x, width);
                column->extent.SetRect(x, 0, right, lineHeight);
                x = right;
            }
        }
    } catch (const std::bad_alloc&) {
        // The sheets read so far keep their new widths, the others their old ones.
    }
    return 0;
}

int CTableView::WriteWidthOfColumns() {
    try {
        CString base;
        if (!CanOpenRegistory(base) || sheets.IsEmpty()) return FALSE;
        CWinApp* app = AfxGetApp();
        tq3::SettingsTransaction transaction;
        for (CSheetObj* sheet : sheets) {
            const CString section = WidthSection(sheet->data);
            DeleteRegKey(base + u"\\" + section);
            if (sheet->GetColumnCount() == 0) {
                // The section is gone and stays gone; later sheets are not written.
                transaction.Commit();
                return FALSE;
            }
            for (int i = 0; i < sheet->GetColumnCount(); ++i) {
                const CRect& extent = sheet->GetColumn(i)->extent;
                // The width on screen now, which may differ from the natural
                // width the column started with.
                const auto width = static_cast<int>(static_cast<long long>(extent.right) - extent.left);
                app->WriteProfileInt(section, WidthEntry(i + 1), width);
            }
        }
        transaction.Commit();
        return TRUE;
    } catch (const std::bad_alloc&) {
        // The transaction is rolled back: the stored widths are the old ones.
        return FALSE;
    }
}

// ---- font ---------------------------------------------------------------------------

int CTableView::ReadLogFont(LOGFONTW* plf, int& nPointSize) {
    CString base;
    if (!CanOpenRegistory(base)) {
        if (plf != nullptr) *plf = LOGFONTW{};
        nPointSize = kDefaultPointSize;
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    // Every field starts at its default, so that running out of memory halfway
    // still gives a usable record.
    LOGFONTW font{};
    for (const FontField& field : kFontFields) SetFontField(font, field, field.defaultValue);
    CopyFaceName(font, kDefaultFace, LF_FACESIZE);
    int size = kDefaultPointSize;
    try {
        for (const FontField& field : kFontFields) {
            SetFontField(font, field,
                         static_cast<int>(app->GetProfileInt(kFontSection, field.entry, field.defaultValue)));
        }
        const CString face = app->GetProfileString(kFontSection, kFaceEntry, kDefaultFace);
        CopyFaceName(font, face.GetString(), face.GetLength());
        size = static_cast<int>(app->GetProfileInt(kFontSection, kPointSizeEntry, kDefaultPointSize));
    } catch (const std::bad_alloc&) {
        // What was read stands; the rest keeps its default.
    }
    // Any positive size is taken as stored; the view bounds the size it draws with.
    if (size <= 0) size = kDefaultPointSize;
    nPointSize = size;
    if (plf != nullptr) *plf = font;
    return TRUE;
}

int CTableView::WriteLogFont(LOGFONTW lf, int nPointSize) {
    try {
        CString base;
        if (!CanOpenRegistory(base)) return FALSE;
        CWinApp* app = AfxGetApp();
        tq3::SettingsTransaction transaction;
        DeleteRegKey(base + u"\\" + kFontSection);
        for (const FontField& field : kFontFields) {
            const int value = field.wide != nullptr ? static_cast<int>(lf.*field.wide) : lf.*field.byte;
            app->WriteProfileInt(kFontSection, field.entry, value);
        }
        // The record's field need not be terminated; at most 31 characters go out.
        LOGFONTW terminated{};
        CopyFaceName(terminated, lf.lfFaceName, LF_FACESIZE);
        app->WriteProfileString(kFontSection, kFaceEntry, terminated.lfFaceName);
        app->WriteProfileInt(kFontSection, kPointSizeEntry, nPointSize);
        transaction.Commit();
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

// ---- key deletion ----------------------------------------------------------------

long CTableView::DeleteRegKey(CString path) { return tq3::DeleteRegKey(path); }
