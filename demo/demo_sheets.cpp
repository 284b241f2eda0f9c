// Sections: helpers | time zones and countries | I/O points | equipment list |
// column widths | AddDemoSheets (which calls the sheet builders in tab order).
#include "demo/demo_sheets.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <new>

#include "demo/coordinates.h"
#include "demo/tab_file.h"
#include "framework/core/utf.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "view/table_view.h"

namespace tq3::demo {

namespace {

// ---- helpers -------------------------------------------------------------------

// The codes of a zone table's first field: one country, or several separated by
// commas ("AE,OM,RE,SC,TF").
std::vector<std::u16string> CountryCodesOf(const std::u16string& field) {
    std::vector<std::u16string> codes;
    for (size_t start = 0; start <= field.size();) {
        size_t comma = field.find(u',', start);
        if (comma == std::u16string::npos) comma = field.size();
        codes.push_back(field.substr(start, comma - start));
        start = comma + 1;
    }
    return codes;
}

struct ColumnSpec {
    std::u16string title;
    BYTE numeric = 0;
    int maxLength = 0;
    BYTE digits = 0;
    BYTE decimals = 0;
    std::vector<std::u16string> list;  // list strings: makes a list column
};

// Appends a sheet with its columns; returns its index, or -1.
int AddSheet(CTableView& view, LPCWSTR name, DWORD data, const std::vector<ColumnSpec>& columns) {
    const int sheet = view.GetSheetCount();
    if (view.InsertSheet(sheet, name) < 0) return -1;
    view.SetSheetData(sheet, data);
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnSpec& spec = columns[i];
        const int column = static_cast<int>(i);
        if (view.InsertColumn(sheet, column, spec.title.c_str(), spec.numeric) < 0) return -1;
        for (const std::u16string& item : spec.list) view.AddColumnString(sheet, column, item.c_str());
        view.SetColumnEditMode(sheet, column, spec.numeric, spec.maxLength, spec.digits, spec.decimals);
    }
    return sheet;
}

void AppendLine(CTableView& view, int sheet, const std::u16string& text) {
    view.InsertLine(sheet, view.GetLineCount(sheet), text.c_str());
}

std::u16string Join(const std::vector<std::u16string>& fields) {
    std::u16string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += u'\t';
        line += fields[i];
    }
    return line;
}

std::u16string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return tq3::fw::Utf8ToU16(buffer);
}

// A sheet that says why its data is missing, so the user sees it in the window.
void AddProblemSheet(CTableView& view, LPCWSTR name, DWORD data, const DemoTexts& texts, const std::string& problem) {
    const int sheet = AddSheet(view, name, data, {ColumnSpec{texts.problemTitle, 0, 0, 0, 0, {}}});
    if (sheet >= 0) AppendLine(view, sheet, tq3::fw::Utf8ToU16(problem));
}

std::u16string TitleOr(const TabTable& table, size_t index, const char16_t* fallback) {
    return index < table.titles.size() ? table.titles[index] : std::u16string(fallback);
}

std::string RejectedNote(const std::string& file, const TabTable& table) {
    // Built by appending: GCC 12 at -O3 misreads a literal joined to a temporary
    // string with operator+ as an overlapping copy.
    std::string note = file;
    note += ": ";
    note += std::to_string(table.rejectedLines.size());
    note += " malformed line(s) skipped (line";
    for (size_t i = 0; i < table.rejectedLines.size() && i < 5; ++i) {
        note += ' ';
        note += std::to_string(table.rejectedLines[i]);
    }
    note += table.rejectedLines.size() > 5 ? " ...)" : ")";
    return note;
}

// ---- time zones and countries -----------------------------------------------------

void AddZonesSheet(CTableView& view, const DemoTexts& texts, const TabTable& zones, const TabTable& countries) {
    // Every country code the user may pick from: the country table's, or the codes
    // met in the zone table when the country table is missing.
    std::vector<std::u16string> codes;
    if (!countries.rows.empty()) {
        for (const auto& row : countries.rows) codes.push_back(row[0]);
    } else {
        std::map<std::u16string, bool> seen;
        for (const auto& row : zones.rows) {
            for (const std::u16string& code : CountryCodesOf(row[0])) seen[code] = true;
        }
        for (const auto& entry : seen) codes.push_back(entry.first);
    }
    std::vector<ColumnSpec> columns = {
        {TitleOr(zones, 0, u"codes"), 0, 0, 0, 0, codes},
        {TitleOr(zones, 1, u"coordinates"), 0, 15, 0, 0, {}},
        {TitleOr(zones, 2, u"TZ"), 0, 0, 0, 0, {}},
        {TitleOr(zones, 3, u"comments"), 0, 0, 0, 0, {}},
        {texts.latitude, 1, 0, 6, 4, {}},
        {texts.longitude, 1, 0, 7, 4, {}},
    };
    const int sheet = AddSheet(view, texts.zonesSheet, kZonesSheetData, columns);
    if (sheet < 0) return;
    for (const auto& row : zones.rows) {
        std::vector<std::u16string> fields(6);
        for (size_t i = 0; i < 4 && i < row.size(); ++i) fields[i] = row[i];
        if (std::optional<GeoPosition> at = ParseIso6709(row[1])) {
            fields[4] = Fixed(at->latitude, 4);
            fields[5] = Fixed(at->longitude, 4);
        }
        AppendLine(view, sheet, Join(fields));
    }
}

void AddCountriesSheet(CTableView& view, const DemoTexts& texts, const TabTable& countries, const TabTable& zones) {
    // How many time zones each country shares in: a number the user can sort by.
    std::map<std::u16string, int> zoneCount;
    for (const auto& row : zones.rows) {
        for (const std::u16string& code : CountryCodesOf(row[0])) ++zoneCount[code];
    }
    std::vector<ColumnSpec> columns = {
        {TitleOr(countries, 0, u"code"), 0, 2, 0, 0, {}},
        {TitleOr(countries, 1, u"name"), 0, 0, 0, 0, {}},
        {texts.zoneCount, 1, 0, 3, 0, {}},
    };
    const int sheet = AddSheet(view, texts.countriesSheet, kCountriesSheetData, columns);
    if (sheet < 0) return;
    for (const auto& row : countries.rows) {
        auto found = zoneCount.find(row[0]);
        const int count = found == zoneCount.end() ? 0 : found->second;
        AppendLine(view, sheet, Join({row[0], row[1], tq3::fw::Utf8ToU16(std::to_string(count))}));
    }
}

// ---- I/O points --------------------------------------------------------------------

// A small, well-mixed hash so that neighbouring lines differ.
uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

struct PointKind {
    const char* prefix;
    const char* type;         // AI AO DI DO
    const char* measurement;  // end of the description
    const char* unit;
    double low;
    double high;
};

constexpr PointKind kKinds[] = {
    {"TT", "AI", "temperature", "\u00B0C", -50, 400},
    {"PT", "AI", "pressure", "bar", 0, 40},
    {"FT", "AI", "flow", "m\u00B3/h", 0, 500},
    {"LT", "AI", "level", "%", 0, 100},
    {"ST", "AI", "speed", "rpm", 0, 3000},
    {"FCV", "AO", "flow valve position", "%", 0, 100},
    {"PCV", "AO", "pressure valve position", "%", 0, 100},
    {"ZSO", "DI", "open limit switch", "-", 0, 1},
    {"ZSC", "DI", "closed limit switch", "-", 0, 1},
    {"HS", "DI", "hand switch", "-", 0, 1},
    {"XY", "DO", "solenoid valve", "-", 0, 1},
    {"MTR", "DO", "motor start", "-", 0, 1},
};

constexpr const char* kEquipment[] = {"Reactor R", "Pump P",   "Tank T",           "Boiler B",
                                      "Compressor K", "Column C", "Heat exchanger E", "Dryer D"};
constexpr int kScanPeriods[] = {100, 250, 500, 1000, 2000};

}  // namespace

std::u16string IoPointLine(int index) {
    const uint32_t h = Mix(static_cast<uint32_t>(index) * 2654435761U + 1);
    const PointKind& kind = kKinds[h % (sizeof kKinds / sizeof kKinds[0])];
    const char* equipment = kEquipment[(h >> 8) % (sizeof kEquipment / sizeof kEquipment[0])];
    const bool analog = kind.type[0] == 'A';
    // Analogue ranges vary a little per point, the way instruments are calibrated.
    double low = kind.low;
    double high = kind.high;
    if (analog && kind.unit[0] != '%') high = kind.high * (0.5 + ((h >> 12) % 101) / 100.0);
    const int scan = kind.type[0] == 'A' && kind.type[1] == 'I' ? kScanPeriods[(h >> 20) % 5]
                     : kind.type[1] == 'I'                        ? 100
                                                                  : 500;
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%s-A%02d-%04d\t%s%d %s\t%s\tR%d:S%02d:C%02d\t%.2f\t%.2f\t%s\t%d\t%s",
                  kind.prefix, index / 5000, index % 5000, equipment, 100 + (h >> 16) % 60, kind.measurement,
                  kind.type, index / 512, (index / 16) % 32, index % 16, low, high, kind.unit, scan,
                  (h >> 24) % 50 == 0 ? "No" : "Yes");
    return tq3::fw::Utf8ToU16(buffer);
}

int AddIoPointsSheet(CTableView& view, const DemoTexts& texts, int lines) {
    std::vector<ColumnSpec> columns = {
        {u"Tag", 0, 16, 0, 0, {}},
        {u"Description", 0, 48, 0, 0, {}},
        {u"Type", 0, 0, 0, 0, {u"AI", u"AO", u"DI", u"DO"}},
        {u"Address", 0, 12, 0, 0, {}},
        {u"Range low", 1, 0, 9, 2, {}},
        {u"Range high", 1, 0, 9, 2, {}},
        {u"Unit", 0, 0, 0, 0, {u"\u00B0C", u"bar", u"m\u00B3/h", u"%", u"rpm", u"-"}},
        {u"Scan (ms)", 1, 0, 5, 0, {}},
        {u"Enabled", 0, 0, 0, 0, {u"Yes", u"No"}},
    };
    const int sheet = AddSheet(view, texts.ioPointsSheet, kIoPointsSheetData, columns);
    if (sheet < 0) return -1;
    for (int i = 0; i < lines; ++i) {
        if (view.InsertLine(sheet, i, IoPointLine(i).c_str()) < 0) break;
    }
    return sheet;
}

namespace {

// ---- equipment list ------------------------------------------------------------------

void AddEquipmentSheet(CTableView& view) {
    std::vector<ColumnSpec> columns = {
        {u"機器番号", 0, 12, 0, 0, {}},
        {u"名称", 0, 32, 0, 0, {}},
        {u"種別", 0, 0, 0, 0, {u"ポンプ", u"バルブ", u"モータ", u"センサ", u"熱交換器"}},
        {u"定格出力 (kW)", 1, 0, 6, 1, {}},
        {u"設置場所", 0, 32, 0, 0, {}},
    };
    const int sheet = AddSheet(view, u"設備一覧", kEquipmentSheetData, columns);
    if (sheet < 0) return;
    struct Item {
        const char16_t* number;
        const char16_t* name;
        const char16_t* kind;
        const char16_t* power;
        const char16_t* place;
    };
    const Item items[] = {
        {u"P-101", u"原料供給ポンプ", u"ポンプ", u"15.0", u"第1工場 A棟"},
        {u"P-102", u"冷却水循環ポンプ", u"ポンプ", u"7.5", u"第1工場 A棟"},
        {u"P-201", u"製品移送ポンプ", u"ポンプ", u"11.0", u"第2工場 出荷場"},
        {u"V-101", u"原料流量調節弁", u"バルブ", u"0.0", u"第1工場 A棟"},
        {u"V-102", u"蒸気圧力調節弁", u"バルブ", u"0.0", u"ボイラー室"},
        {u"V-301", u"排水遮断弁", u"バルブ", u"0.0", u"排水処理棟"},
        {u"M-101", u"反応槽撹拌機モータ", u"モータ", u"37.0", u"第1工場 反応棟"},
        {u"M-102", u"送風機モータ", u"モータ", u"22.0", u"屋上"},
        {u"M-201", u"コンベヤ駆動モータ", u"モータ", u"5.5", u"第2工場 包装室"},
        {u"S-101", u"反応槽温度センサ", u"センサ", u"0.0", u"第1工場 反応棟"},
        {u"S-102", u"タンク液位センサ", u"センサ", u"0.0", u"タンクヤード"},
        {u"S-103", u"配管圧力センサ", u"センサ", u"0.0", u"第1工場 A棟"},
        {u"E-101", u"原料予熱器", u"熱交換器", u"0.0", u"第1工場 反応棟"},
        {u"E-102", u"製品冷却器", u"熱交換器", u"0.0", u"第2工場 出荷場"},
    };
    for (const Item& item : items) {
        AppendLine(view, sheet, Join({item.number, item.name, item.kind, item.power, item.place}));
    }
}

}  // namespace

// ---- column widths ------------------------------------------------------------------

namespace {

int TextWidth(HDC dc, const CString& text) {
    SIZE size{0, 0};
    if (text.IsEmpty() || !GetTextExtentPoint32W(dc, text, text.GetLength(), &size)) return 0;
    return size.cx;
}

}  // namespace

void FitColumnWidths(CTableView& view, int sheet, int sampleLines) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return;  // the columns keep the widths their titles give them
    HGDIOBJ previous = SelectObject(dc, view.GetFont()->GetSafeHandle());
    const int margin = view.GetLineHeight();
    const int lines = std::min(sampleLines, view.GetLineCount(sheet));
    int x = 0;
    for (int column = 0; column < view.GetColumnCount(sheet); ++column) {
        CColumnProp* prop = view.GetColumnProp(sheet, column);
        int widest = TextWidth(dc, prop->title);
        for (int line = 0; line < lines; ++line) {
            widest = std::max(widest, TextWidth(dc, view.GetCellText(sheet, line, column)));
        }
        const int width = std::min(widest + margin, kMaxFittedWidth);
        prop->defaultWidth = width;
        prop->extent = CRect(x, 0, x + width, view.GetLineHeight());
        x += width;
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
}

// ---- AddDemoSheets -----------------------------------------------------------------------

std::vector<std::string> AddDemoSheets(CTableView& view, const DemoTexts& texts, const SheetSources& sources) {
    std::vector<std::string> problems;
    try {
        std::string zoneFile = sources.zoneFile;
        TabTable zones = LoadTabFile(zoneFile, 3);
        if (!zones.error.empty() && !sources.olderZoneFile.empty()) {
            TabTable older = LoadTabFile(sources.olderZoneFile, 3);
            if (older.error.empty()) {
                zoneFile = sources.olderZoneFile;
                zones = std::move(older);
            }
        }
        TabTable countries = LoadTabFile(sources.countryFile, 2);

        if (!zones.error.empty()) {
            problems.push_back("time zones not shown: " + zones.error + " (the tzdata package installs it)");
            AddProblemSheet(view, texts.zonesSheet, kZonesSheetData, texts, problems.back());
        } else {
            if (!zones.rejectedLines.empty()) problems.push_back(RejectedNote(zoneFile, zones));
            AddZonesSheet(view, texts, zones, countries);
        }
        if (!countries.error.empty()) {
            problems.push_back("countries not shown: " + countries.error + " (the tzdata package installs it)");
            AddProblemSheet(view, texts.countriesSheet, kCountriesSheetData, texts, problems.back());
        } else {
            if (!countries.rejectedLines.empty()) problems.push_back(RejectedNote(sources.countryFile, countries));
            AddCountriesSheet(view, texts, countries, zones);
        }
        AddIoPointsSheet(view, texts, sources.ioPointLines);
        AddEquipmentSheet(view);
        // A first start shows every column wide enough for what it holds; later
        // starts take the widths the user left.
        for (int sheet = 0; sheet < view.GetSheetCount(); ++sheet) FitColumnWidths(view, sheet, kFitSampleLines);
    } catch (const std::bad_alloc&) {
        problems.push_back("out of memory while building the sheets");
    }
    return problems;
}

}  // namespace tq3::demo
