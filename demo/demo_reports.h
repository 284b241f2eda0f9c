// The lines the demo reports about its window, shared by the scripted mode and by
// a demo in a window that is asked from outside (see LiveReport).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "demo/demo_frame.h"

namespace tq3::demo {

// "hook sheet 2" ... for every hook report not yet written; "hooks (none)" when
// `noneLine` and there was none.
void WriteHookReports(CDemoView& view, std::ostream& out, bool noneLine);
void WriteSelection(CDemoView& view, std::ostream& out);
void WriteCursor(CDemoView& view, std::ostream& out);
// "changed cell 4 1 \"text\"": the cell the change hook named last and its text
// now; "changed cell (none)" before any change.
void WriteChangedCell(CDemoView& view, std::ostream& out);
void WriteTitle(CDemoFrame& frame, std::ostream& out);
void WriteSheet(CDemoView& view, std::ostream& out);
// "scroll top line 30 x 0": the first line shown and the horizontal offset.
void WriteScroll(CDemoView& view, std::ostream& out);
// "columns 120 80 64": the pixel width of every column of the current sheet.
void WriteColumnWidths(CDemoView& view, std::ostream& out);
// "font \"DejaVu Sans\" height -19 line 22": the cells' font, its height as the
// font gives it, and the view's line height in pixels.
void WriteFont(CDemoView& view, std::ostream& out);
// "bar left width 819 height 706 shown menu checked": where the table's bar
// sits (top, bottom, left, right or floating), the size of its window, whether
// it shows, and whether the View menu's item for it is checked when the menu opens.
void WriteBar(CDemoFrame& frame, std::ostream& out);
// "pane \"I/O points\" | \"tag\" \"AI-A00-0033\" | ...": the detail pane's heading
// and its rows, each a column's title and the cell's text.
void WritePane(const CDetailPane& pane, std::ostream& out);
void WriteClipboard(const std::optional<std::u16string>& text, std::ostream& out);

}  // namespace tq3::demo
