// Cell texts, line texts and column lists of CTableView.
//
// A cell is field c of its line's tab-separated text; SetCellText is the one setter
// that applies the column's edit mode (list, numeric, text; the rules are in
// model/cell_rules.cpp) and tells the host of a change. SetLineText converts a whole
// line at once; SetTabbedString stores a text as given.
//
// SetCellText -> CellTextForColumn (unless the column KeepsTextAsGiven)
//             -> ReplaceSettledField (the usual case, in place)
//             or RebuildLine (any other line, through SetPartsOfTabSeparatedString)
//             -> OnCellChanged inside the language resources.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "framework/system/resources.h"
#include "model/cell_rules.h"
#include "settings/language.h"
#include "text/field_scan.h"
#include "text/tab_text.h"
#include "view/table_view.h"

namespace {

int Length(LPCWSTR text) {
    int n = 0;
    while (text[n] != 0) ++n;
    return n;
}

// Cell texts are short: a loop the compiler keeps inline beats a call of memcmp.
bool SameUnits(LPCWSTR a, LPCWSTR b, int count) {
    for (int i = 0; i < count; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

enum class FieldChange { Unchanged, Changed, NotSettled };

bool Inside(LPCWSTR p, const CString& text) {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    const auto base = reinterpret_cast<std::uintptr_t>(text.GetString());
    return at >= base && at <= base + static_cast<std::uintptr_t>(text.GetAllocLength()) * sizeof(WCHAR);
}

// A line is settled once a cell of it has been set: no CR or LF inside its fields
// and one CR LF at its end. Storing a one-field cell text in such a line changes
// that field alone, so the field is replaced where it stands: one pass over the
// line finds the field and proves the rest free of line breaks, a text of the
// field's length is written over it, and any other length moves the rest once.
// Any other line or cell text (a line given without CR LF, a text holding TAB, CR
// or LF, a field the line does not have, a text that lies in the line itself) is
// NotSettled and goes the general way.
FieldChange ReplaceSettledField(CString& line, int column, LPCWSTR cell) {
    const long cellLength = tq3::SingleFieldLength(cell);
    if (cellLength < 0 || Inside(cell, line)) return FieldChange::NotSettled;
    const LPCWSTR base = line.GetString();
    const int length = line.GetLength();
    if (length < 2 || base[length - 2] != u'\r' || base[length - 1] != u'\n') return FieldChange::NotSettled;
    LPCWSTR fieldStart = nullptr;
    LPCWSTR fieldEnd = nullptr;
    if (!tq3::FindSettledField(base, base + length - 2, static_cast<std::size_t>(column), fieldStart, fieldEnd)) {
        return FieldChange::NotSettled;
    }

    const int start = static_cast<int>(fieldStart - base);
    const int oldLength = static_cast<int>(fieldEnd - fieldStart);
    const int newLength = static_cast<int>(cellLength);
    if (oldLength == newLength) {
        if (SameUnits(cell, fieldStart, newLength)) return FieldChange::Unchanged;
        // The line holds text, so its block is its own: the field is overwritten
        // where it stands and the length stays as it is. Cell texts are short, so
        // the copy is a loop kept inline rather than a call.
        const LPWSTR field = const_cast<LPWSTR>(fieldStart);
        for (int i = 0; i < newLength; ++i) field[i] = cell[i];
        return FieldChange::Changed;
    }
    if (length - oldLength > CString::kMaxLength - newLength) throw std::bad_alloc();

    // Growing may move the text to a larger block, and throws before anything is
    // written when it cannot: the line then keeps its text.
    const int lineLength = length - oldLength + newLength;
    LPWSTR text = line.GetBuffer(lineLength);
    const int rest = length - start - oldLength;
    std::memmove(text + start + newLength, text + start + oldLength, static_cast<std::size_t>(rest) * sizeof(WCHAR));
    std::memcpy(text + start, cell, static_cast<std::size_t>(newLength) * sizeof(WCHAR));
    line.ReleaseBuffer(lineLength);
    return FieldChange::Changed;
}

// Any line: rebuilt in the view's scratch buffer, at most the old line, the new
// field and CR LF long. Out of memory inside the field functions leaves the copy as
// it was, so the line keeps its text and nothing changed.
FieldChange RebuildLine(CString& line, int column, LPCWSTR cell, std::vector<WCHAR>& scratch) {
    const int oldLength = line.GetLength();
    const size_t room = static_cast<size_t>(oldLength) + static_cast<size_t>(Length(cell)) + 10;
    if (scratch.size() < room) scratch.resize(room);
    const LPCWSTR old = line.GetString();
    std::copy(old, old + oldLength + 1, scratch.data());
    SetPartsOfTabSeparatedString(scratch.data(), cell, column);

    const int newLength = Length(scratch.data());
    if (newLength == oldLength && std::equal(old, old + oldLength, scratch.data())) return FieldChange::Unchanged;
    // Assigned in one step: the line's text changes only once the new one is whole.
    line.SetString(scratch.data(), newLength);
    return FieldChange::Changed;
}

FieldChange StoreField(CString& line, int column, LPCWSTR cell, std::vector<WCHAR>& scratch) {
    const FieldChange change = ReplaceSettledField(line, column, cell);
    return change != FieldChange::NotSettled ? change : RebuildLine(line, column, cell, scratch);
}

// Makes a resource module the view holds current for the hook's call and puts the
// previous handle back after it; nothing to do when the module is current already,
// which then costs a load and a compare. The handle is read where it is kept:
// when nobody has set one, the previous handle is the application's module that
// AfxGetResourceHandle answers, and that is what goes back, as CSwitchResource does.
class LanguageResourcesAround {
public:
    explicit LanguageResourcesAround(HMODULE held) : previous(tq3::fw::currentResourceHandle) {
        if (previous == held) return;
        if (previous == nullptr) {
            previous = AfxGetResourceHandle();
            if (previous == held) return;
        }
        switched = true;
        tq3::fw::currentResourceHandle = held;
    }
    ~LanguageResourcesAround() {
        if (switched) tq3::fw::currentResourceHandle = previous;
    }
    LanguageResourcesAround(const LanguageResourcesAround&) = delete;
    LanguageResourcesAround& operator=(const LanguageResourcesAround&) = delete;

private:
    HINSTANCE previous;
    bool switched = false;
};

}  // namespace

CString CTableView::GetTabbedString(int sheet, int line) const {
    const CLineProp* l = GetLineProp(sheet, line);
    return l != nullptr ? l->text : CString();
}

int CTableView::SetTabbedString(int sheet, int line, LPCWSTR text) {
    CLineProp* l = GetLineProp(sheet, line);
    if (l == nullptr) return 0;
    return l->SetText(text != nullptr ? text : u"") ? 1 : 0;
}

CString CTableView::GetCellText(int sheet, int line, int column) const {
    const CLineProp* l = GetLineProp(sheet, line);
    if (l == nullptr || l->text.IsEmpty() || column < 0) return CString();
    try {
        const size_t room = static_cast<size_t>(l->text.GetLength()) + 3;
        if (scratch.size() < room) scratch.resize(room);
        if (GetPartsOfTabSeparatedString(l->text, scratch.data(), column, column) != 1) return CString();
        return CString(scratch.data());
    } catch (const std::bad_alloc&) {
        return CString();
    }
}

int CTableView::SetCellText(int sheet, int line, int column, LPCWSTR text) {
    if (text == nullptr) return 0;
    // The sheet's records are reached through the lists' inline lookups: this is
    // the per-cell path of a host that fills a large table.
    const CSheetObj* s = sheets.GetAt(sheet);
    if (s == nullptr) return 0;
    CLineProp* l = s->lines.GetAt(line);
    if (l == nullptr || l->text.IsEmpty()) return 0;
    const CColumnProp* c = s->columns.GetAt(column);
    try {
        // A column that keeps any text as given stores `text` itself; any other
        // converts it first, into storage made only then.
        std::optional<CString> storage;
        LPCWSTR cell = text;
        if (!tq3::KeepsTextAsGiven(c)) {
            if (!tq3::CellTextForColumn(c, text, storage.emplace(), cell)) return 0;
            // A negative column names no field: the line stays exactly as it is.
            if (column < 0) return 1;
        }
        if (StoreField(l->text, column, cell, scratch) == FieldChange::Unchanged) return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    // The host's code runs with the view's language resources current, so that what
    // it loads by id comes from the language the view speaks. The hook may run once
    // per cell of a large table, so the library the view already holds for the
    // language is found and made current inline, as a CSwitchResource lending it
    // would, without the scope object's calls; the first hook of a language, or a
    // language outside the five, asks HeldLanguageResources.
    HMODULE held = KeptLanguageLibrary(tq3::LibraryLanguage());
    if (held == nullptr) held = HeldLanguageResources();
    if (held == nullptr) {
        // Without the language's library the resources stay as they are.
        OnCellChanged(line, column);
        return 1;
    }
    LanguageResourcesAround hook(held);
    OnCellChanged(line, column);
    return 1;
}

void CTableView::SetLineText(int sheet, int line, LPCWSTR text, int* sameAs, int count) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr || text == nullptr || line < 0) return;
    try {
        const int length = Length(text);
        std::vector<WCHAR> copy(text, text + length + 1);
        int fields = DivideString(copy.data());
        if (fields > s->GetColumnCount()) fields = s->GetColumnCount();

        // Field i of the cut copy: each field ends at its TAB, CR or LF, and a CR or
        // LF leaves empty pieces up to the next TAB.
        std::vector<LPCWSTR> fieldStart;
        fieldStart.reserve(static_cast<size_t>(fields));
        for (int at = 0, i = 0; i < fields; ++i) {
            fieldStart.push_back(copy.data() + at);
            while (at < length && text[at] != u'\t') ++at;
            ++at;
        }

        // `sameAs` names a master column first, then the columns that take the
        // master's converted text instead of their own field.
        CString master;
        bool haveMaster = false;
        int used = 0;
        CString joined;
        for (int i = 0; i < fields; ++i) {
            const CColumnProp* column = s->GetColumn(i);
            CString cell;
            bool fromMaster = false;
            if (haveMaster && used < count && i == sameAs[used]) {
                ++used;
                fromMaster = !master.IsEmpty();
                if (fromMaster) cell = master;
            }
            if (!fromMaster) cell = tq3::LineFieldForColumn(*column, fieldStart[static_cast<size_t>(i)]);
            if (sameAs != nullptr && count > 0 && i == sameAs[0]) {
                master = cell;
                haveMaster = true;
                used = 1;
            }
            if (i > 0) joined += u'\t';
            joined += cell;
        }
        joined += u"\r\n";
        SetTabbedString(sheet, line, joined);
    } catch (const std::bad_alloc&) {
        // The line keeps its old text.
    }
}

// ---- Column lists and modes -----------------------------------------------------------

int CTableView::AddColumnString(int sheet, int column, LPCWSTR text) {
    CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr) return -1;
    try {
        c->listStrings.emplace_back(text != nullptr ? text : u"");
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return static_cast<int>(c->listStrings.size()) - 1;
}

// An index at or past the end appends the string, and that is reported as the
// success it is (1): a host testing the result must not take an append for a
// failure.
int CTableView::InsertColumnString(int sheet, int column, int index, LPCWSTR text) {
    CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr || index < 0) return 0;
    try {
        CString item(text != nullptr ? text : u"");
        if (index >= static_cast<int>(c->listStrings.size())) {
            c->listStrings.push_back(std::move(item));
        } else {
            c->listStrings.insert(c->listStrings.begin() + index, std::move(item));
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int CTableView::DeleteColumnString(int sheet, int column, UINT index) {
    CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr) return -1;
    if (index < c->listStrings.size()) c->listStrings.erase(c->listStrings.begin() + index);
    return static_cast<int>(c->listStrings.size());
}

void CTableView::ResetColumnContent(int sheet, int column) {
    if (CColumnProp* c = GetColumnProp(sheet, column)) c->listStrings.clear();
}

// The search starts after position `start` and the result counts from `start`:
// hosts call it that way to step through equal strings one after another, so the
// established answers are kept exactly (the string at `start` itself, and the first
// string for a negative `start`, are never examined).
int CTableView::FindColumnString(int sheet, int column, int start, LPCWSTR text) {
    const CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr || text == nullptr) return -1;
    if (start < 0) start = 0;
    const int count = static_cast<int>(c->listStrings.size());
    if (start >= count) return -1;
    for (int i = start + 1; i < count; ++i) {
        if (c->listStrings[static_cast<size_t>(i)] == text) return i - start;
    }
    return -1;
}

// The column's digits and decimals are stored as given: a count of decimals as
// large as the digits (or larger) is not refused, and the numeric cut then keeps the
// digits before the point and the point's decimals within the total.
void CTableView::SetColumnEditMode(int sheet, int column, BYTE numeric, int maxLength, BYTE digits, BYTE decimals) {
    CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr) return;
    c->numeric = c->IsListColumn() ? 0 : (numeric != 0 ? 1 : 0);
    if (c->numeric == 1) {
        c->digits = digits;
        c->decimals = decimals;
    } else {
        c->maxLength = maxLength;
    }
}

void CTableView::SetColumnDefaultString(int sheet, int column, LPCWSTR text) {
    CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr) return;
    try {
        c->defaultString = text != nullptr ? text : u"";
    } catch (const std::bad_alloc&) {
        // The column keeps its previous default.
    }
}
