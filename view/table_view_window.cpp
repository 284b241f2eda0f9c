// The window life of CTableView: construction with its fonts and line height,
// window creation with the header strips and the tab strip, the sheet switch that
// the tab strip triggers, and destruction.
#include <algorithm>
#include <cstring>

#include "framework/controls/commctrl.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/module.h"
#include "settings/language.h"
#include "text/system_font.h"
#include "view/table_view.h"

IMPLEMENT_DYNCREATE(CTableView, CView)

BEGIN_MESSAGE_MAP(CTableView, CView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_NOTIFY(TCN_SELCHANGE, kSheetTabId, &CTableView::OnTabSheetSelchange)
ON_NOTIFY(HDN_BEGINTRACKW, kColumnHeaderId, &CTableView::OnHeaderColumnBeginTrack)
ON_NOTIFY(HDN_TRACKW, kColumnHeaderId, &CTableView::OnHeaderColumnTrack)
ON_NOTIFY(HDN_ENDTRACKW, kColumnHeaderId, &CTableView::OnHeaderColumnEndTrack)
ON_NOTIFY(HDN_DIVIDERDBLCLICKW, kColumnHeaderId, &CTableView::OnHeaderColumnDividerDblClick)
ON_NOTIFY(HDN_ITEMCLICKW, kColumnHeaderId, &CTableView::OnHeaderColumnItemClick)
ON_NOTIFY(HDN_BEGINDRAG, kColumnHeaderId, &CTableView::OnHeaderColumnBeginDrag)
ON_NOTIFY(HDN_ENDDRAG, kColumnHeaderId, &CTableView::OnHeaderColumnEndDrag)
ON_NOTIFY(HDN_BEGINDRAG, kLineHeaderId, &CTableView::OnHeaderLineBeginDrag)
ON_NOTIFY(HDN_TRACKW, kLineHeaderId, &CTableView::OnHeaderLineTrack)
ON_NOTIFY(HDN_ENDDRAG, kLineHeaderId, &CTableView::OnHeaderLineEndDrag)
ON_NOTIFY(HDN_ITEMCLICKW, kLineHeaderId, &CTableView::OnHeaderLineItemClick)
ON_EN_KILLFOCUS(kCellEditId, &CTableView::OnEditCellKillfocus)
ON_CBN_KILLFOCUS(kCellComboId, &CTableView::OnComboCellKillfocus)
ON_CBN_SELENDOK(kCellComboId, &CTableView::OnComboCellSelendok)
ON_CBN_DROPDOWN(kCellComboId, &CTableView::OnComboDropDown)
// The edit commands: view/table_view_clipboard.cpp and view/table_view_commands.cpp.
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_EDIT_COPY, &CTableView::OnEditCopy)
ON_COMMAND(ID_EDIT_CUT, &CTableView::OnEditCut)
ON_COMMAND(ID_EDIT_PASTE, &CTableView::OnEditPaste)
ON_COMMAND(ID_EDIT_UNDO, &CTableView::OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CTableView::OnUpdateEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CTableView::OnUpdateEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CTableView::OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, &CTableView::OnUpdateEditFind)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, &CTableView::OnUpdateEditReplace)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, &CTableView::OnUpdateEditUndo)
ON_COMMAND(ID_EDIT_FIND, &CTableView::OnEditFind)
ON_COMMAND(ID_EDIT_REPLACE, &CTableView::OnEditReplace)
END_MESSAGE_MAP()

namespace {

// The largest font the view draws with, in tenths of a point: 720 points, a line
// 1440 pixels high. The stored size is kept as it is (and written back so), but a
// damaged store must not make the view rasterise glyphs many thousands of pixels
// high nor push its geometry towards overflowing.
constexpr int kLargestDrawnPointSize = 7200;

// A point font of `tenths` tenths of a point with the other fields of `base`.
void CreatePointFont(CFont& font, const LOGFONTW& base, int tenths) {
    LOGFONTW request = base;
    request.lfHeight = tenths;
    font.CreatePointFontIndirect(&request);
}

}  // namespace

CTableView::CTableView() {
    // The font the user last chose, when the host keeps settings: its size sets
    // the line pitch. Without settings the view takes the user's system font at 9
    // points, and the line pitch follows the menu bar's height, so that rows match
    // the rest of the desktop.
    if (ReadLogFont(&logFont, pointSize)) {
        lineHeight = std::min(pointSize, kLargestDrawnPointSize) / 5;
    } else {
        lineHeight = GetSystemLogFont(&logFont) + 2;
        pointSize = 90;
    }
    const int drawnSize = std::min(pointSize, kLargestDrawnPointSize);
    CreatePointFont(cellFont, logFont, drawnSize);
    CreatePointFont(lineHeader.font, logFont, drawnSize);
    CreatePointFont(columnHeader.font, logFont, drawnSize);
    CreatePointFont(sheetTab.font, logFont, 90);
    lineHeader.lineHeight = lineHeight;
    sheetTab.tabHeight = lineHeight;
}

CTableView::~CTableView() {
    for (HMODULE& library : keptLanguageLibraries) {
        if (library != nullptr) FreeLibrary(library);
        library = nullptr;
    }
}

HMODULE CTableView::HeldLanguageResources() {
    const int language = tq3::LibraryLanguage();
    if (language < 0 || language >= kKeptLanguages) return tq3::OwnModule();
    if (HMODULE kept = KeptLanguageLibrary(language)) return kept;
    // A library that is not there is not looked for again: the view runs on
    // without it, and the hook of every cell a paste or a Replace All changes
    // would otherwise search the disk for it.
    if (missingLanguageLibraries[language]) return nullptr;
    HMODULE loaded = tq3::LoadViewResourceLibrary(language);
    missingLanguageLibraries[language] = loaded == nullptr;
    return keptLanguageLibraries[language] = loaded;
}

void CTableView::SwitchToLanguageResources(CSwitchResource& scope) {
    // The view holds its language libraries for its whole life, so the scope
    // borrows the one it needs instead of loading it again for every call.
    // Without the library the resources stay as they are, as a switch that
    // cannot load it leaves them.
    if (HMODULE held = HeldLanguageResources()) scope.SwitchHeld(tq3::LibraryLanguage(), held);
}

BOOL CTableView::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
    return CView::PreCreateWindow(cs);
}

BOOL CTableView::Create(LPCWSTR /*lpszClassName*/, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext) {
    LPCWSTR cls =
        AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_WINDOW), nullptr);
    return CView::Create(cls, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

int CTableView::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1) return -1;
    columnHeader.titleMargin = lineHeight;
    // A strip that cannot be made leaves its part of the view blank; the view
    // itself still works.
    columnHeader.Create(this);
    lineHeader.Create(this);
    sheetTab.Create(this);
    // The editors are made in the library's language, so that what they load
    // comes from it; without them the view cannot edit and is not made.
    CSwitchResource scope;
    SwitchToLanguageResources(scope);
    return CreateEditors() ? 0 : -1;
}

void CTableView::OnDestroy() {
    CView::OnDestroy();
    // The font survives the window even when the host never saves anything.
    LOGFONTW font{};
    int points = 0;
    GetLogFont(&font, points);
    WriteLogFont(font, points);
    DeleteAllSheets();
    if (cellEdit.m_hWnd != nullptr) cellEdit.DestroyWindow();
    if (cellCombo.m_hWnd != nullptr) cellCombo.DestroyWindow();
    paintBuffer.Release();
}

void CTableView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    ReadWidthOfColumns();
    CSwitchResource scope;
    SwitchToLanguageResources(scope);
    if (GetSheetCount() > 0) OnSheetChanged(0);
}

void CTableView::OnTabSheetSelchange(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    OnSheetChanged(sheetTab.GetCurSel());
    // The host's window learns of the switch as from a control of id 0.
    NMHDR header{m_hWnd, 0, TCN_SELCHANGE};
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    if (pResult != nullptr) *pResult = 0;
}

void CTableView::OnSheetChanged(int sheet) {
    // An edit belongs to the sheet it was opened on.
    HideEditors();
    selSheet = sheet;
    CSheetObj* s = GetSheetObj(sheet);
    if (s != nullptr) {
        columnHeader.ResetColumns();
        lineHeader.previousTopLine = lineHeader.topLine;
        lineHeader.topLine = s->topLine;
        lineHeader.headerLineCount = s->headerLineCount;
        columnHeader.scrollX = s->scrollX;
        FillColumnHeader(s);
    } else {
        lineHeader.topLine = 0;
        columnHeader.scrollX = 0;
    }
    if (m_hWnd != nullptr) {
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Invalidate(TRUE);
        if (columnHeader.m_hWnd != nullptr) columnHeader.Invalidate(TRUE);
        if (lineHeader.m_hWnd != nullptr) lineHeader.Invalidate(TRUE);
        if (sheetTab.m_hWnd != nullptr) sheetTab.Invalidate(TRUE);
    }
    // The hook is the host's: it may open windows of its own, so nothing below
    // relies on state read before it.
    if (s != nullptr) {
        TellCursorMoved(s->cursor.y, s->cursor.x);
    }
}

void CTableView::OnCellChanged(int /*line*/, int /*column*/) {}

void CTableView::OnCursorMoved(int /*line*/, int /*column*/) {}
