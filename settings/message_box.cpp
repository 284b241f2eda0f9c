// VALMExMessageBox: a message box whose text is a string of the library
// language's resource library, owned by the window the user is working in.
//
// Call flow: VALMExMessageBox -> GetVALMExDLLString -> SafeOwner -> MessageBoxW.
#include "framework/dialogs/message_box.h"

#include <new>

#include "framework/app/afxwin.h"
#include "framework/window/winuser.h"
#include "settings/language.h"

namespace {

// The window a box belongs to, and the application's top-level window when that
// is another one.
struct Owners {
    HWND owner = nullptr;
    HWND top = nullptr;
};

// The application's top-level window, or the one the user works in when there
// is no application window. A modal dialog of the application (the find and
// replace dialog, for one) is active while its owner is disabled: the box
// belongs to the dialog then, so that it comes up in front of it.
Owners SafeOwner() {
    Owners owners;
    HWND active = GetActiveWindow();
    CWnd* main = AfxGetMainWnd();
    HWND top = main != nullptr && main->m_hWnd != nullptr ? GetAncestor(main->m_hWnd, GA_ROOT) : nullptr;
    if (top == nullptr) top = active != nullptr ? GetAncestor(active, GA_ROOT) : nullptr;
    owners.top = top;
    owners.owner = top;
    if (active != nullptr && top != nullptr && GetAncestor(active, GA_ROOTOWNER) == GetAncestor(top, GA_ROOTOWNER))
        owners.owner = GetAncestor(active, GA_ROOT);
    return owners;
}

}  // namespace

int VALMExMessageBox(UINT idPrompt, UINT type, LPCWSTR caption) {
    try {
        CString text;
        GetVALMExDLLString(idPrompt, text);
        if (text.IsEmpty()) return -1;

        // A box that asks the user something and names no icon warns; the
        // abort/retry/ignore and retry/cancel sets stay plain.
        const UINT buttons = type & MB_TYPEMASK;
        if ((type & MB_ICONMASK) == 0 &&
            (buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL || buttons == MB_YESNO)) {
            type |= MB_ICONEXCLAMATION;
        }

        CString title;
        if (caption != nullptr && caption[0] != 0) {
            title = caption;
        } else if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pszAppName != nullptr) {
            title = app->m_pszAppName;
        }

        // The application's top-level window stays disabled while the box is up,
        // also when the box belongs to one of its dialogs.
        const Owners owners = SafeOwner();
        const bool disabledTop =
            owners.top != nullptr && owners.top != owners.owner && IsWindowEnabled(owners.top) != FALSE;
        if (disabledTop) EnableWindow(owners.top, FALSE);
        const int result = MessageBoxW(owners.owner, text, title, type);
        if (disabledTop) EnableWindow(owners.top, TRUE);
        return result;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}
