// The window manager's private state, shared by the files of framework/window/.
//
// One process-wide `State` holds the window table, the classes, the queues, the
// timers and the input state. Windows are addressed by handles that carry a slot
// and a generation, so a stale handle is refused rather than followed. A destroyed
// window keeps its memory until no message call is in progress (`callDepth` back at
// zero), so a window procedure that destroys its own window can still return
// through code holding a pointer to it.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"
#include "framework/window/backend.h"
#include "framework/window/gdi_seam.h"
#include "framework/window/hooks.h"
#include "framework/window/imm.h"
#include "framework/window/scroll_bar_parts.h"
#include "framework/window/window_watch.h"
#include "framework/window/winuser.h"

namespace tq3::fw::wm {

// The input context every window starts with (imm.cpp).
HIMC DefaultInputContext();

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::u16string menuName;  // a string menu name
    ULONG_PTR menuId = 0;     // an integer menu name (MAKEINTRESOURCE)
    std::vector<BYTE> classExtra;
    int windows = 0;          // live windows of the class: it cannot be unregistered while > 0
};

// State of one of a window's own scroll bars.
struct ScrollBar {
    int min = 0;
    int max = 100;   // windows start with the range 0..100, as on the platform
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool tracking = false;   // thumb is being dragged: trackPos is live
    UINT disabledArrows = 0; // ESB_DISABLE_* bits from EnableScrollBar or SIF_DISABLENOSCROLL
    bool stale = false;      // its look changed by SetScrollInfo without a redraw, and is not drawn again yet
};

struct Window {
    HWND handle = nullptr;
    WindowClass* cls = nullptr;
    Window* parent = nullptr;               // null only for the desktop window
    Window* owner = nullptr;                // owner of a popup or overlapped window
    std::vector<Window*> children;          // z-order, topmost first
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT window{};                          // in the parent's client coordinates
    RECT client{};                          // in the parent's client coordinates
    std::u16string text;
    UINT_PTR id = 0;                        // control id of a child; menu handle of a top-level window
    HINSTANCE instance = nullptr;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    std::vector<BYTE> extra;
    std::map<std::u16string, HANDLE> props;
    // Painting. `update` is in window coordinates (origin at the window's top-left).
    Region update;
    bool erase = false;                     // WM_ERASEBKGND due with the next BeginPaint
    bool ncPaint = false;                   // WM_NCPAINT due with the next BeginPaint
    bool internalPaint = false;             // WM_PAINT due even with an empty update region
    bool inPaint = false;
    bool redrawOff = false;                 // WM_SETREDRAW FALSE
    bool paintValidated = false;            // BeginPaint or a validation ran since the WM_PAINT was made
    RECT restore{};                         // the normal rectangle while minimised or maximised
    bool hasRestore = false;
    ScrollBar hbar;
    ScrollBar vbar;
    // A top-level window's own pixels, in its window coordinates (its top-left
    // corner is (0, 0)); made when it is first drawn on, kept at its size. Its
    // children draw here too. `damage` is the part drawn since the backend was
    // last shown it.
    std::unique_ptr<Surface> surface;
    Region damage;
    HIMC ime = DefaultInputContext();       // its input context; null: no composed text reaches it
    // Lifetime.
    bool created = false;                   // WM_NCCREATE accepted
    bool destroying = false;                // DestroyWindow under way
    bool dead = false;                      // handle no longer valid
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    ULONGLONG due = 0;
    bool system = false;  // internal (caret blink, scroll-bar repeat): handled, never dispatched to the window
};

// An input event waiting in the queue, with its message once it has been made.
struct QueuedInput {
    InputEvent event;
    ULONGLONG time = 0;
    bool converted = false;
    bool dropped = false;  // converted to nothing (e.g. a click eaten by a disabled window)
    MSG msg{};             // message fields known at delivery (keys: message, wParam, lParam; all: pt, time)
    WORD mouseKeys = 0;    // MK_* flags at delivery
    BYTE keysAfter[256]{}; // key state once this event has happened
};

struct Caret {
    HWND hwnd = nullptr;
    int width = 0;
    int height = 0;
    POINT pos{0, 0};
    int hideCount = 1;     // created hidden
    bool drawn = false;    // currently inverted on the surface
    bool blinkOn = true;
};

// A scroll-bar drag in progress in some window's non-client area.
struct ScrollTrack {
    HWND hwnd = nullptr;
    int bar = SB_VERT;
    ScrollBarPart part = ScrollBarPart::None;
    bool inside = true;            // pointer still over the pressed part
    int grabOffset = 0;            // pointer offset into the thumb when it was pressed
    bool active = false;
};

// The plain values of the window manager's state: a reset gives every one of
// them its first value again at once (and cannot fail: nothing here allocates).
// A new field that a fresh desktop must not inherit belongs here.
// A hook of the creation chain; the procedure is null once taken out.
struct CreationHook {
    HHOOK hook;
    HOOKPROC proc;
};

struct Session {
    bool quitPosted = false;
    int quitCode = 0;
    LONG messageTime = 0;
    DWORD messagePos = 0;
    UINT_PTR nextThreadTimer = 1;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    BYTE asyncKeys[256]{};   // bit 7: down, bit 0: toggled (as the hardware has it now)
    BYTE syncKeys[256]{};    // the same, as of the last message retrieved
    POINT cursorPos{0, 0};
    HCURSOR cursor = nullptr;
    int cursorShowCount = 0;
    UINT doubleClickTime = 500;
    // Double-click detection: the last button press.
    UINT lastClickMessage = 0;
    HWND lastClickWindow = nullptr;
    ULONGLONG lastClickTime = 0;
    POINT lastClickPos{0, 0};
    bool lastClickWasDouble = false;
    // Mouse tracking (TrackMouseEvent) and the window under the pointer.
    HWND trackWindow = nullptr;
    DWORD trackFlags = 0;
    DWORD hoverTime = 400;
    ULONGLONG hoverDue = 0;
    POINT hoverPos{0, 0};
    Caret caret;
    UINT caretBlinkTime = 530;
    int caretPaintDepth = 0;  // DCs open: the caret stays off the surface meanwhile
    ScrollTrack scrollTrack;
    int cascade = 0;          // top-level windows placed by CW_USEDEFAULT so far
    // What the backend was last told of its text input (imm.cpp).
    bool textInputKnown = false;
    bool textInputOn = true;
    RECT textInputArea{0, 0, 0, 0};
};

struct State : Session {
    // Kept by a reset: the backend and the screen's size, the classes, the
    // watchers and the slots' generations (so that a handle from before a reset
    // never names a window made after it).
    std::unique_ptr<Backend> backend;
    SIZE screen{0, 0};
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    std::vector<WindowWatcher*> watchers;  // told of every destruction and reset

    // Emptied by a reset.
    std::vector<std::unique_ptr<Window>> slots;  // by slot index
    std::vector<UINT> generations;               // by slot index
    std::vector<size_t> freeSlots;
    std::vector<std::unique_ptr<Window>> graveyard;  // destroyed, freed when callDepth is 0
    Window* desktopWindow = nullptr;
    int callDepth = 0;
    std::deque<MSG> posted;
    std::deque<QueuedInput> input;
    std::vector<Timer> timers;
    // Device contexts handed out for windows, with the screen area each may touch.
    struct WindowDc {
        HDC dc;
        HWND hwnd;
        HWND root;    // the drawing root whose surface it draws on
        Region clip;  // in that surface's coordinates
    };
    std::vector<WindowDc> windowDcs;
    // LockWindowUpdate: the locked window, and the screen area its DCs were kept
    // from drawing meanwhile (repainted when it is unlocked).
    HWND lockedWindow = nullptr;
    Region lockedArea;
    // What the screen DC draws (see surfaces.cpp), made on first use, and the
    // part of it drawn since the backend was last shown it.
    std::unique_ptr<Surface> overlay;
    Region overlayDamage;
    // Screen area whose composed picture changed without drawing: top-level
    // windows moved, restacked, shown or hidden there.
    Region screenDamage;
    // The desktop as one picture (DesktopSurface), made when first asked for,
    // and the screen area where it is behind the surfaces.
    std::unique_ptr<Surface> composed;
    Region stale;
    // The surface of the last top-level window to go, for the next one of its
    // size (see KeepSpareSurface).
    std::unique_ptr<Surface> spareSurface;
    // The backend shows each top-level window natively (asked when installed),
    // and the top-level windows whose system windows must catch up.
    bool native = false;
    std::vector<HWND> nativeDirty;
    // The creation hooks (hooks.cpp), oldest first. A reset empties the chain:
    // a hook left in by a program that has gone must not see the next one's windows.
    std::vector<CreationHook> creationHooks;
};

// ---- The window table (window_table.cpp) ------------------------------------
State& S();
Window* FromHandle(HWND hwnd);          // live windows only (not dead)
Window* FromHandleAny(HWND hwnd);       // also windows being destroyed
HWND NewHandle(std::unique_ptr<Window> w);  // registers and returns the handle
void Bury(Window* w);                   // handle becomes invalid; memory freed later
void CollectGraveyard();
void EnsureDesktop();                   // makes the desktop window when there is none
bool IsChildStyle(const Window* w);
// The top-level ancestor (child of the desktop).
Window* TopLevelOf(Window* w);
// Puts `w` among `parent`'s children: on top (below the topmost windows unless
// it is one) or at the bottom. Unlink takes it out of its parent's list.
void Link(Window* parent, Window* w, bool atTop);
void Unlink(Window* w);
// `h` is `root` or lies inside it.
bool InTree(HWND h, const Window* root);

// Message calls keep destroyed windows' memory alive while they run.
struct CallScope {
    CallScope() { ++S().callDepth; }
    ~CallScope() {
        if (--S().callDepth == 0) CollectGraveyard();
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
};

LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp);

// ---- Classes and names (window_class.cpp) ------------------------------------
WindowClass* FindClass(LPCWSTR name);   // by name (any ASCII case) or atom
char16_t FoldAscii(char16_t c);         // names compare with ASCII letters folded up
std::u16string CopyString(LPCWSTR text);  // empty for null; throws std::bad_alloc

// ---- Creation, text (create_window.cpp, window_data.cpp) ---------------------
// Sends WM_PARENTNOTIFY with `event` (WM_CREATE, WM_DESTROY) up the parents.
void NotifyParents(Window* w, UINT event);
LRESULT DefaultText(Window* w, UINT msg, WPARAM wp, LPARAM lp);

// SetWindowPos flags the platform keeps for itself: the client area kept its size
// or its position, so DefWindowProc sends no WM_SIZE or WM_MOVE.
constexpr UINT kSwpNoClientSize = 0x0800;
constexpr UINT kSwpNoClientMove = 0x1000;

// ---- Geometry (geometry.cpp) -------------------------------------------------
POINT ClientOriginOnScreen(const Window* w);  // screen point of the client's (0,0)
RECT WindowRectOnScreen(const Window* w);
RECT ClientRectOnScreen(const Window* w);
bool IsVisibleOnScreen(const Window* w);      // it and all ancestors visible
// Non-client sizes for a style: how far the client edges sit inside the window's.
RECT NonClientInsets(DWORD style, DWORD exStyle, bool menu);
// The window's own scroll-bar parts (window coordinates).
bool ScrollBarPartsOf(const Window* w, int bar, ScrollBarParts* parts);
// Default non-client hit test (screen point).
LRESULT DefaultHitTest(const Window* w, POINT screen);
// Recomputes the client rectangle through WM_NCCALCSIZE.
void RecalcClient(Window* w);
void DefaultCalcSize(Window* w, RECT* r);
// Deepest visible enabled-or-not descendant of the desktop at a screen point, as
// hit testing sees it (with WM_NCHITTEST's HTTRANSPARENT honoured).
Window* WindowAtPoint(POINT screen, LRESULT* hit);

// ---- Surfaces, presenting and composing (surfaces.cpp) -----------------------
// Windows draw on the surface of their drawing root: their top-level window, or
// for the desktop window the screen overlay.
Window* DrawingRoot(Window* w);
// The screen point of the root's surface (0, 0).
POINT SurfaceOrigin(const Window* root);
// The root's surface, made (zeroed, untouched) when it has none; null when it
// cannot be had.
Surface* SurfaceOf(Window* root);
// A screen region as the root's surface sees it: moved to its coordinates and
// cut to its pixels.
Region ScreenToSurface(const Window* root, const Region& screenArea);
// A top-level window changed size: its surface follows, keeping the pixels both
// sizes share (the window is invalidated as needed by its mover).
void FollowWindowSize(Window* top);
// A top-level window became a child: it draws on its new top-level from now on.
void DropSurface(Window* w);
// Keeps the surface of a top-level window that has gone for the next one of
// the same size, unless a DC still draws on it.
void KeepSpareSurface(Window* gone);
// `area` (surface coordinates of `root`) was drawn and waits to be shown.
void PresentDamage(Window* root, const Region& area);
// The composed screen changed in `screenArea` without any drawing.
void ScreenChanged(const Region& screenArea);
void ScreenChanged(const RECT& screenRect);
// Hands what waits to the backend.
void FlushPresent();
// A screen DC was released: when the overlay holds nothing any more it is given
// back, so that the composed desktop need not pass over it.
void OverlayReleased();
// The screen took a new size (or a new backend): the overlay and the composed
// picture start again, and the whole screen counts as changed.
void ScreenResized();
// A top-level window moved, was sized, restacked, shown or hidden: the composed
// screen changes where it was and where it is.
void TopLevelChanged(Window* top, const RECT& oldScreen);
// The system window of top-level `w` (any window: its top-level is taken) must
// catch up with it when the queue next runs dry (native backends only).
void MarkNative(Window* w);
// Whether the system draws `style`'s caption and frame: a captioned top-level
// window on a backend that shows native windows. Its window rectangle is then
// what the system window holds inside its decoration.
bool NativelyDecorated(DWORD style);

// ---- Painting (paint.cpp) ------------------------------------------------------
// Invalidates (RDW_INVALIDATE) or validates (RDW_VALIDATE) `area` of `w`, in its
// window coordinates (null: the client area, or the whole window with RDW_FRAME),
// and of its children as the flags and WS_CLIPCHILDREN say.
void RedrawArea(Window* w, const Region* area, UINT flags);
// The visible region of a window (screen coordinates), client only or whole.
Region VisibleRegion(const Window* w, bool client);
// The same with the children cut out or not whatever the window's style says.
Region VisibleRegion(const Window* w, bool client, bool clipChildren);
// Invalidates a screen region in every window it touches below `root` (inclusive),
// as an uncovered area does: erase and frame included.
void InvalidateScreenArea(Window* root, const Region& screenArea);
// Invalidates the area a child covers on screen in its parent, for when it moves,
// hides or is destroyed; a top-level window's area only changes the composed
// screen (the windows below keep their own pixels).
void ExposeArea(Window* w, const RECT& screenRect);
bool NeedsPaint(const Window* w);
Window* FindWindowToPaint(HWND filter);
// Fills with the class's background brush: through `dc` when there is one,
// else straight onto the surface over the window's visible, invalid client area.
void FillWithClassBrush(Window* w, HDC dc, const RECT& clientRect);

// ---- Non-client painting (nonclient_paint.cpp) --------------------------------
// Draws the frame, caption and window scroll bars of `hwnd` into `dc`, a window DC.
void DrawNonClient(HWND hwnd, HDC dc);

// ---- Input (input.cpp) -------------------------------------------------------
// Makes the message of a queued input event (hit test, capture, focus, double
// clicks). False when the event produces no message.
bool ConvertInput(QueuedInput& q);
// Updates the synchronous key state for a message just removed from the queue.
void CommitInput(const QueuedInput& q);
// A key other than Alt was read from the queue: letting Alt go no longer opens
// the menu bar, even when the window that got the key kept it from
// DefWindowProc (def_window_proc.cpp).
void EndAltAlone();
void FocusLost(Window* w);     // window going away or hidden: move focus, capture, activation
void ReleaseCaptureOf(Window* w);
WORD CurrentMouseKeyFlags(const BYTE* keys);
void CheckMouseTracking(HWND under, LRESULT hit);
void SetCursorShapeFrom(HCURSOR cursor);
void Activate(Window* top, WORD how);
void PostMouseHover();

// ---- Timers, carets (timers.cpp, caret.cpp) ---------------------------------
bool TakeDueTimer(HWND filter, MSG* msg, bool remove);
void KillTimersOf(HWND hwnd);
UINT_PTR SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse);
void KillSystemTimer(HWND hwnd, UINT_PTR id);
void HandleSystemTimer(UINT_PTR id);
void CaretBeforePaint(HWND hwnd);   // hide the caret's pixels while a window draws
void CaretAfterPaint(HWND hwnd);
void CaretBlink();
void DestroyCaretOf(HWND hwnd);

// ---- Hooks (hooks.cpp) ----------------------------------------------------------
// Runs the creation hooks for a window that exists and has had no message yet;
// false when one of them refused it.
bool RunCreationHooks(Window* w, CREATESTRUCTW* cs);

// ---- The input-method seam (imm.cpp) -------------------------------------------
// Tells the backend whether text input is wanted and where the focused caret is,
// when that changed since it was last told.
void SyncTextInput();
// Whether characters an input method composed may reach the window.
bool AcceptsComposedText(HWND hwnd);
constexpr UINT_PTR kCaretTimerId = 0xFFFF0001;
constexpr UINT_PTR kScrollTimerId = 0xFFFF0002;
constexpr UINT_PTR kHoverTimerId = 0xFFFF0003;

// ---- Scroll bars (scroll_bar.cpp) --------------------------------------------
ScrollBar* BarOf(Window* w, int bar);
bool BarVisible(const Window* w, int bar);
void StartScrollTrack(Window* w, int bar, LRESULT hit, POINT screen);
void ScrollTrackMouse(UINT msg, POINT screen);
void ScrollTrackRepeat();
bool ScrollTrackActive();
void CancelScrollTrack();

// ---- Keyboard layout (keyboard_layout.cpp) -----------------------------------
// The character a US layout types for `vk` with the given key state; 0 for none.
WCHAR CharForKey(int vk, const BYTE* keys);
UINT ScanCodeOf(int vk);
int VirtualKeyOfScan(UINT scan);
bool IsExtendedKey(int vk);

}  // namespace tq3::fw::wm
