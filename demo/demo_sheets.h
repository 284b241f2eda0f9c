// The sheets of the demo: the system's time zone and country tables, a generated
// list of process I/O points, and a Japanese equipment list.
//
// Each sheet carries its own data word, which names its persisted column widths,
// so the widths stay with the sheet whatever order the sheets come in.
#pragma once

#include <string>
#include <vector>

#include "demo/demo_texts.h"
#include "framework/core/wintypes.h"

class CTableView;

namespace tq3::demo {

constexpr DWORD kZonesSheetData = 0x101;
constexpr DWORD kCountriesSheetData = 0x102;
constexpr DWORD kIoPointsSheetData = 0x103;
constexpr DWORD kEquipmentSheetData = 0x104;

constexpr int kIoPointLines = 100000;

struct SheetSources {
    std::string zoneFile = "/usr/share/zoneinfo/zone1970.tab";
    std::string olderZoneFile = "/usr/share/zoneinfo/zone.tab";  // tried when zoneFile cannot be read
    std::string countryFile = "/usr/share/zoneinfo/iso3166.tab";
    int ioPointLines = kIoPointLines;
};

// Adds the four sheets at the end of the view's sheets. Returns the problems met
// (a file that is missing or holds malformed lines), one sentence each; a sheet
// whose file could not be read shows the problem in its one cell instead of data.
std::vector<std::string> AddDemoSheets(CTableView& view, const DemoTexts& texts, const SheetSources& sources);

// The I/O points sheet on its own, and the text of its line `index` (the lines
// are generated from the index alone, so a run always shows the same table).
int AddIoPointsSheet(CTableView& view, const DemoTexts& texts, int lines);
std::u16string IoPointLine(int index);

// Lays the sheet's columns out edge to edge, each as wide as the widest of its
// title and its first `sampleLines` cells in the view's font (plus the margin the
// column header gives titles), but at most kMaxFittedWidth pixels.
void FitColumnWidths(CTableView& view, int sheet, int sampleLines);
constexpr int kMaxFittedWidth = 240;
constexpr int kFitSampleLines = 400;

}  // namespace tq3::demo
