#include "host.h"

#include <cstdio>
#include <fstream>

#include "framework/menus/accelerator.h"

void CHostView::OnSheetChanged(int sheet) {
    std::printf("sheet changed: %d\n", sheet);
    CTableView::OnSheetChanged(sheet);  // the view's own implementation switches the sheet
}
void CHostView::OnCellChanged(int line, int column) {
    std::string text = tq3::fw::ToUtf8(GetCellText(GetSelSheet(), line, column));
    std::printf("cell changed: line %d, column %d: \"%s\"\n", line, column, text.c_str());
}
void CHostView::OnCursorMoved(int line, int column) { std::printf("cursor moved: line %d, column %d\n", line, column); }

BEGIN_MESSAGE_MAP(CHostFrame, CFrameWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

// One sheet per new name in the file's first field, with a text, a numeric and a list column.
static int SheetFor(CHostView& view, const CString& name) {
    for (int s = 0; s < view.GetSheetCount(); ++s)
        if (view.GetSheetName(s) == name) return s;
    const int s = view.InsertSheet(view.GetSheetCount(), name);
    view.SetSheetData(s, s);  // the sheet's word also names where its column widths are stored
    view.InsertColumn(s, 0, u"Measuring point", 0);
    view.InsertColumn(s, 1, u"Value", 1);
    view.SetColumnEditMode(s, 1, 1, 0, 8, 2);  // numeric: 8 digits, 2 of them decimals
    view.InsertColumn(s, 2, u"Unit", 0);
    for (const char16_t* unit : {u"degC", u"bar", u"%", u"m3/h"}) view.AddColumnString(s, 2, unit);
    return s;
}

CHostFrame* CHostFrame::Open(const std::string& path, const RECT& rect) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return nullptr;
    }
    auto* view = new CHostView;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const int sheet = SheetFor(*view, tq3::fw::FromUtf8(line.substr(0, tab)));
        view->InsertLine(sheet, view->GetLineCount(sheet), tq3::fw::FromUtf8(line.substr(tab + 1)));
    }
    auto* frame = new CHostFrame;
    frame->view = view;
    CCreateContext context;
    context.m_pNewView = view;
    if (!frame->Create(nullptr, u"Minimal host", WS_OVERLAPPEDWINDOW, rect, nullptr, nullptr, 0, &context)) {
        std::fprintf(stderr, "cannot create the main window\n");
        return nullptr;  // the frame and the view it made deleted themselves
    }
    HMENU bar = CreateMenu(), edit = CreatePopupMenu();
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT}, {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY},
                    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE}, {FVIRTKEY | FCONTROL, 'F', ID_EDIT_FIND},
                    {FVIRTKEY | FCONTROL, 'H', ID_EDIT_REPLACE}};
    AppendMenuW(edit, MF_STRING, ID_EDIT_CUT, u"Cu&t\tCtrl+X");
    AppendMenuW(edit, MF_STRING, ID_EDIT_COPY, u"&Copy\tCtrl+C");
    AppendMenuW(edit, MF_STRING, ID_EDIT_PASTE, u"&Paste\tCtrl+V");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(edit, MF_STRING, ID_EDIT_FIND, u"&Find...\tCtrl+F");
    AppendMenuW(edit, MF_STRING, ID_EDIT_REPLACE, u"&Replace...\tCtrl+H");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), u"&Edit");
    SetMenu(frame->m_hWnd, bar);
    frame->m_hMenuDefault = bar;  // the frame destroys its menu and its keys with itself
    frame->m_hAccelTable = CreateAcceleratorTableW(keys, 5);
    frame->InitialUpdateFrame(TRUE);  // reads the stored column widths, shows sheet 0
    frame->SetActiveView(view);
    return frame;
}

void CHostFrame::OnDestroy() {
    view->WriteWidthOfColumns();  // the view is still whole here
    CFrameWnd::OnDestroy();
}
