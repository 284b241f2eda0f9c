#include "demo/demo_reports.h"

#include "demo/script.h"
#include "framework/menus/menu.h"

namespace tq3::demo {

namespace {

// Built by appending: GCC 12 at -O3 misreads a literal joined to a string with
// operator+ as an overlapping copy.
std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    out += EscapeForReport(text);
    out += '"';
    return out;
}

std::string Quoted(const CString& text) { return Quoted(std::u16string_view(text.GetString(), text.GetLength())); }

}  // namespace

void WriteHookReports(CDemoView& view, std::ostream& out, bool noneLine) {
    std::vector<std::string> log = view.TakeHookLog();
    if (log.empty() && noneLine) out << "hooks (none)\n";
    for (const std::string& entry : log) out << "hook " << entry << "\n";
}

void WriteSelection(CDemoView& view, std::ostream& out) {
    CRect selection;
    CPoint cursor;
    if (!view.Selection(&selection, &cursor)) {
        out << "selection (no sheet)\n";
        return;
    }
    out << "selection lines " << selection.top << "-" << selection.bottom << " columns " << selection.left << "-"
        << selection.right << "\n";
}

void WriteCursor(CDemoView& view, std::ostream& out) {
    CRect selection;
    CPoint cursor;
    if (!view.Selection(&selection, &cursor)) {
        out << "cursor (no sheet)\n";
        return;
    }
    out << "cursor line " << cursor.y << " column " << cursor.x << "\n";
}

void WriteChangedCell(CDemoView& view, std::ostream& out) {
    const HookState& hooks = view.Hooks();
    if (hooks.changedLine < 0) {
        out << "changed cell (none)\n";
        return;
    }
    const CString text = view.GetCellText(view.GetSelSheet(), hooks.changedLine, hooks.changedColumn);
    out << "changed cell " << hooks.changedLine << " " << hooks.changedColumn << " " << Quoted(text) << "\n";
}

void WriteTitle(CDemoFrame& frame, std::ostream& out) {
    CString title;
    if (frame.m_hWnd != nullptr) {
        WCHAR buffer[512] = {};
        const int length = GetWindowTextW(frame.m_hWnd, buffer, 512);
        title = CString(buffer, length);
    }
    out << "title " << Quoted(title) << "\n";
}

void WriteSheet(CDemoView& view, std::ostream& out) {
    const int sheet = view.GetSelSheet();
    out << "sheet " << sheet << " " << Quoted(view.GetSheetName(sheet)) << "\n";
}

void WriteScroll(CDemoView& view, std::ostream& out) {
    out << "scroll top line " << view.GetLineHeader().topLine << " x " << view.GetColumnHeader().scrollX << "\n";
}

void WriteColumnWidths(CDemoView& view, std::ostream& out) {
    const int sheet = view.GetSelSheet();
    out << "columns";
    for (int column = 0; column < view.GetColumnCount(sheet); ++column) {
        const CRect& extent = view.GetColumnProp(sheet, column)->extent;
        out << " " << extent.right - extent.left;
    }
    out << "\n";
}

void WriteFont(CDemoView& view, std::ostream& out) {
    LOGFONTW font{};
    if (view.GetFont()->GetSafeHandle() == nullptr || view.GetFont()->GetLogFont(&font) == 0) {
        out << "font (none) line " << view.GetLineHeight() << "\n";
        return;
    }
    out << "font " << Quoted(std::u16string_view(font.lfFaceName)) << " height " << font.lfHeight << " line "
        << view.GetLineHeight() << "\n";
}

void WriteBar(CDemoFrame& frame, std::ostream& out) {
    CDemoBar& bar = frame.Bar();
    const char* place = "floating";
    switch (bar.IsFloating() ? 0 : bar.dockBarId) {
        case AFX_IDW_DOCKBAR_TOP: place = "top"; break;
        case AFX_IDW_DOCKBAR_BOTTOM: place = "bottom"; break;
        case AFX_IDW_DOCKBAR_LEFT: place = "left"; break;
        case AFX_IDW_DOCKBAR_RIGHT: place = "right"; break;
        default: break;
    }
    CRect window;
    bar.GetWindowRect(&window);
    // The menu as it opens: the frame's command-state handlers check the item.
    bool checked = false;
    if (HMENU menuBar = ::GetMenu(frame.m_hWnd)) {
        HMENU viewMenu = ::GetSubMenu(menuBar, 1);
        frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), 1);
        checked = (::GetMenuState(viewMenu, CDemoBar::kId, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    out << "bar " << place << " width " << window.Width() << " height " << window.Height() << " "
        << (bar.IsVisible() ? "shown" : "hidden") << " menu " << (checked ? "checked" : "unchecked") << "\n";
}

void WritePane(const CDetailPane& pane, std::ostream& out) {
    out << "pane " << Quoted(pane.Heading());
    for (const DetailRow& row : pane.Rows()) out << " | " << Quoted(row.title) << " " << Quoted(row.text);
    out << "\n";
}

void WriteClipboard(const std::optional<std::u16string>& text, std::ostream& out) {
    out << "clipboard " << (text ? Quoted(*text) : std::string("(no text)")) << "\n";
}

}  // namespace tq3::demo
