// What the dialog files share: the state behind a dialog window, the class's
// registration and the modal loop the message box runs too. Private to
// framework/dialogs/.
#pragma once

#include "framework/dialogs/dialog.h"

namespace tq3::fw::dialogs {

// One dialog window's own state, behind the last slot of its extra bytes.
struct DialogState {
    HFONT font = nullptr;     // the font the dialog and its controls draw with
    bool ownsFont = false;    // made from the template, so deleted with the dialog
    SIZE baseUnits{0, 0};     // average letter width and height of `font`
    int defId = 0;            // the id DM_GETDEFID answers; 0 for none
    HWND focus = nullptr;     // the control that gets the focus back on activation
    bool ended = false;       // EndDialog was called
    bool modal = false;       // a modal loop runs for it and must wake if it goes
    HWND disabledOwner = nullptr;  // the owner its modal run disabled, enabled again by EndDialog
    INT_PTR result = 0;       // what EndDialog was given first
};

// The state of a window of the dialog class; null for any other window.
DialogState* StateOf(HWND dialog);

// Registers "#32770" (done once when the framework loads); false on failure.
bool RegisterDialogClass();

// Creates a window of the dialog class whose procedure `proc` sees every message
// from WM_NCCREATE on. Null on failure.
HWND CreateDialogWindow(DWORD exStyle, LPCWSTR title, DWORD style, const RECT& frame, HWND owner, DLGPROC proc,
                        LPARAM userData);

// Runs the dialog's modal loop until EndDialog or the window goes. True when it
// ended through EndDialog; false when it was destroyed or the application quit
// (the quit is posted again for the loop that owns it).
bool RunModalLoop(HWND dialog);

// The top-level window a modal window belongs to: that of `named`, else that of
// the active window; null when there is none.
HWND ModalOwner(HWND named);

// Moves the default ring to the push button `to` (or back to the dialog's
// default when `to` is not a push button).
void FollowFocusWithDefault(HWND dialog, HWND to);

// A control that says it can select its text (an edit box) shows all of it
// selected when the dialog moves the focus to it, so typing replaces it.
void SelectAllIfEdit(HWND control);

// The framework's own texts: the message box's buttons and caption, the font
// dialog's labels, style names and messages. %1 and %2 in sizeRange stand for the
// smallest and the largest size.
struct SystemTexts {
    const char16_t* ok;
    const char16_t* cancel;
    const char16_t* yes;
    const char16_t* no;
    const char16_t* retry;
    const char16_t* abort;
    const char16_t* ignore;
    const char16_t* tryAgain;
    const char16_t* continueLabel;
    const char16_t* error;
    const char16_t* fontTitle;
    const char16_t* fontLabel;
    const char16_t* styleLabel;
    const char16_t* sizeLabel;
    const char16_t* sampleGroup;
    const char16_t* sampleText;
    const char16_t* scriptLabel;
    const char16_t* styles[4];  // regular, italic, bold, bold italic
    const char16_t* noSuchFont;
    const char16_t* sizeNotNumber;
    const char16_t* sizeRange;
};

// The texts in the calling thread's user-interface language (GetThreadUILanguage).
const SystemTexts& TextsForThread();

}  // namespace tq3::fw::dialogs
