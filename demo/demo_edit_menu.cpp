// The demo frame's menu bar in the demo's language: the Edit menu and its keys,
// and the View menu with the font dialog and the item that shows the table's bar
// again after its close button hid it (checked while the bar shows). The items carry the standard command
// ids, so the frame's command routing takes them to the view: the view's state
// handlers grey what cannot be done now (Paste with an empty clipboard, Undo with
// an empty undo buffer, Find and Replace on an empty sheet), and the commands
// themselves run in the view, Undo in the demo's own view class.
#include "demo/demo_frame.h"

#include "framework/menus/accelerator.h"
#include "framework/menus/menu.h"
#include "framework/window/virtual_keys.h"

namespace tq3::demo {

namespace {

struct EditItem {
    UINT command;
    LPCWSTR DemoTexts::*label;  // the label in the demo's language
    const char16_t* keyName;    // shown after a tab
    WORD key;
};

constexpr EditItem kEditItems[] = {
    {ID_EDIT_UNDO, &DemoTexts::undo, u"Ctrl+Z", 'Z'},   {0, nullptr, nullptr, 0},
    {ID_EDIT_CUT, &DemoTexts::cut, u"Ctrl+X", 'X'},     {ID_EDIT_COPY, &DemoTexts::copy, u"Ctrl+C", 'C'},
    {ID_EDIT_PASTE, &DemoTexts::paste, u"Ctrl+V", 'V'}, {0, nullptr, nullptr, 0},
    {ID_EDIT_FIND, &DemoTexts::find, u"Ctrl+F", 'F'},   {ID_EDIT_REPLACE, &DemoTexts::replace, u"Ctrl+H", 'H'},
};

}  // namespace

void CDemoFrame::AddMenus() {
    HMENU bar = ::CreateMenu();
    HMENU edit = ::CreatePopupMenu();
    HMENU view = ::CreatePopupMenu();
    if (bar == nullptr || edit == nullptr || view == nullptr) {
        // Without memory for a menu the demo runs on without one.
        for (HMENU made : {bar, edit, view}) {
            if (made != nullptr) ::DestroyMenu(made);
        }
        return;
    }
    const DemoTexts& texts = TextsFor(language_);
    std::vector<ACCEL> keys;
    for (const EditItem& item : kEditItems) {
        if (item.command == 0) {
            ::AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::u16string label = std::u16string(texts.*item.label) + u"\t" + item.keyName;
        ::AppendMenuW(edit, MF_STRING, item.command, label.c_str());
        keys.push_back(ACCEL{static_cast<BYTE>(FVIRTKEY | FCONTROL), item.key, static_cast<WORD>(item.command)});
    }
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), texts.editMenu);
    ::AppendMenuW(view, MF_STRING, kFontCommand, texts.font);
    ::AppendMenuW(view, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(view, MF_STRING, CDemoBar::kId, texts.tableMenu);
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), texts.viewMenu);
    if (!::SetMenu(m_hWnd, bar)) {
        ::DestroyMenu(bar);
        return;
    }
    // The frame destroys its menu bar and its key table with itself; a bar in the
    // previous language goes now.
    if (m_hMenuDefault != nullptr && m_hMenuDefault != bar) ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = bar;
    if (m_hAccelTable != nullptr) DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

BOOL CDemoFrame::PreTranslateMessage(MSG* pMsg) {
    // While a cell's editor has the focus, Ctrl+C, Ctrl+V and the rest belong to its
    // text, not to the cells: the menu's keys are left out then.
    if (view_ != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        const HWND focus = ::GetFocus();
        const HWND editors[] = {view_->GetCellEdit().m_hWnd, view_->GetCellCombo().m_hWnd};
        for (HWND editor : editors) {
            if (editor != nullptr && focus != nullptr && (focus == editor || ::IsChild(editor, focus))) {
                return CWnd::PreTranslateMessage(pMsg);
            }
        }
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

}  // namespace tq3::demo
