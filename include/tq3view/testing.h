/// \file
/// The headless test harness: drive a user interface built on the framework without
/// a screen, the way a user would, and check what its windows received.
///
/// \code
///   tq3::testing::Desktop desktop(800, 600);      // a fresh headless desktop
///   tq3::testing::TestApp app;                    // the host application object
///   auto* view = new CMyView;                     // owns itself once created
///   CFrameWnd* frame = tq3::testing::CreateFrameWithView(view);
///   tq3::testing::MessageSpy spy;
///   spy.Watch(view->m_hWnd, "view");
///   desktop.Click(view->m_hWnd, {10, 10});        // runs until idle
///   auto result = spy.Compare({tq3::testing::Msg(WM_LBUTTONDOWN), tq3::testing::Msg(WM_LBUTTONUP)});
///   if (!result) puts(result.report.c_str());     // both lists side by side
///   auto cell = tq3::testing::CaptureWindow(view->m_hWnd, RECT{0, 0, 40, 18});
///   bool blank = cell.FilledWith(GetSysColor(COLOR_WINDOW)).ok;
/// \endcode
///
/// Input goes in through the headless backend's queue, so it meets hit testing,
/// capture, focus, double-click detection and PreTranslateMessage like real input.
/// Every input call and RunUntilIdle run the queue (generated paints and due timers
/// included) and the application's idle processing until nothing is left to do.
/// Time stands still except through AdvanceClock.
///
/// The harness does not depend on a test framework: comparisons return a result
/// with a printable report, and a modal loop that finds no scripted answer calls the
/// failure handler (by default: print and abort), so a test cannot hang or go on
/// unnoticed. A host links it as `TQ3View::tq3testing` (CMake) or with
/// `pkg-config --cflags --libs tq3testing`.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/window/backend.h"

namespace tq3::fw {
class HeadlessBackend;  // framework/backends/headless/headless_backend.h
}

/// The headless test harness: a desktop in memory with input injected as a user
/// gives it, scripted answers for modal windows, a message spy and pixel probes.
namespace tq3::testing {

/// Modifier keys held around a key or a click: a combination of the flags, as the
/// `modifiers` argument of Desktop's input calls.
enum Modifiers : UINT {
    kNoModifiers = 0,  ///< no modifier key
    kShift = 1,        ///< Shift (VK_SHIFT) is held
    kControl = 2,      ///< Ctrl (VK_CONTROL) is held
    kAlt = 4,          ///< Alt (VK_MENU) is held
};

/// A mouse button for Desktop's mouse calls.
enum class Button {
    Left,   ///< the left (primary) button: WM_LBUTTONDOWN, WM_LBUTTONUP
    Right,  ///< the right button: WM_RBUTTONDOWN, WM_RBUTTONUP
    Middle  ///< the middle button: WM_MBUTTONDOWN, WM_MBUTTONUP
};

/// A scripted reply to a modal window (a dialog, a message box, a menu): used when
/// a loop would wait for the user and the top-most window matching className and
/// title (empty: any) is found. The action plays the user's part, e.g. posting a
/// command or a key. Queue it with Desktop::QueueModalAnswer before the call that
/// opens the window.
struct ModalAnswer {
    std::u16string className;  ///< the window class to answer ("#32770" for a dialog); empty: any
    std::u16string title;      ///< the window's title to answer; empty: any
    /// Plays the user's part on the window found, e.g. posting a command or a key.
    std::function<void(HWND window)> action;
};
/// The user presses the button `id` (IDOK, IDCANCEL, IDYES...).
ModalAnswer AnswerCommand(int id, std::u16string className = {}, std::u16string title = {});
/// The user presses the key `vk` (VK_RETURN, VK_ESCAPE...) in the window.
ModalAnswer AnswerKey(int vk, std::u16string className = {}, std::u16string title = {});

/// The user clicks the control `id` with the mouse (a push button, a check box).
///
/// This and the answers below work a dialog's controls, found by id in the window
/// answered. A control that is not there, hidden or disabled, or a list entry that
/// does not exist, is reported to the failure handler: the script no longer matches
/// the dialog. Each is one step; queue one after another, and an answer that ends
/// the dialog last.
ModalAnswer AnswerClick(int id, std::u16string className = {}, std::u16string title = {});
/// The user ticks (true) or clears the check box `id`, clicking it if it shows otherwise.
ModalAnswer AnswerCheck(int id, bool checked, std::u16string className = {}, std::u16string title = {});
/// The user moves to the control `id`, selects all its text and types `text` over it.
ModalAnswer AnswerType(int id, std::u16string text, std::u16string className = {}, std::u16string title = {});
/// The user picks entry `index` of the list box or combo box `id` (the control
/// selects it and its parent hears of the change, as after a pick with the mouse).
ModalAnswer AnswerChoose(int id, int index, std::u16string className = {}, std::u16string title = {});

/// The user clicks the item with the command `id` in the pop-up menu on top (the
/// "#32768" window).
///
/// An item the menu does not have is reported to the failure handler. Clicking an
/// item that opens a submenu opens it: queue the next answer for the item inside.
/// Clicking a disabled item does nothing, as for the user: the menu stays open and
/// waits for the next answer (AnswerKey(VK_ESCAPE) leaves it).
ModalAnswer AnswerMenuItem(UINT id);
/// The user clicks the item showing `text` in the pop-up menu on top: its label
/// without the mnemonic's '&' and the accelerator, or its whole text. Otherwise as
/// AnswerMenuItem(UINT).
ModalAnswer AnswerMenuItem(std::u16string text);

/// Called with a description when a modal loop finds no answer, or a scripted
/// answer no longer matches its window.
using FailureHandler = std::function<void(const std::string& description)>;

/// A printable verdict: a message sequence or a block of pixels compared with what
/// was expected. Converts to true when they agree.
struct Comparison {
    bool ok = true;      ///< whether the actual agreed with the expected
    std::string report;  ///< what differs, readable in a test's failure message; empty when ok
    /// Whether the actual agreed with the expected (ok).
    explicit operator bool() const { return ok; }
};

// ---- Pixels -------------------------------------------------------------------------
//
// Pixels are read as they show: the desktop with every window composed in z-order,
// or one window's part of it. Colours are COLORREF values (RGB()).

/// A rectangle of pixels copied from the desktop, a window or a device context. It
/// keeps the coordinates it was taken in (screen, client or logical), so At and
/// InkBounds speak the same coordinates as the source. Colours are COLORREF values
/// (RGB()).
class Capture {
public:
    /// An empty capture.
    Capture() = default;
    /// A capture of `bounds` with its pixels row by row from the top left; empty
    /// unless there are exactly width times height of them.
    Capture(const RECT& bounds, std::vector<COLORREF> pixels);

    /// Where the pixels came from; empty for an empty capture.
    const RECT& Bounds() const { return bounds_; }
    /// Whether the capture holds no pixels (a bad handle, a rectangle off the source).
    bool Empty() const { return pixels_.empty(); }
    /// The colour at a point of the source; CLR_INVALID outside Bounds.
    COLORREF At(int x, int y) const;
    /// The colour at a point of the source; CLR_INVALID outside Bounds.
    COLORREF At(POINT point) const { return At(point.x, point.y); }

    /// The number of pixels of exactly this colour.
    int Count(COLORREF colour) const;
    /// The number of pixels of any other colour.
    int CountOther(COLORREF colour) const;
    /// The number of pixels whose colour passes `test`.
    int CountIf(const std::function<bool(COLORREF)>& test) const;
    /// The smallest rectangle holding every pixel unlike `background` (ink: text is
    /// smoothed, so its ink is any colour but the background's); empty when none.
    RECT InkBounds(COLORREF background) const;
    /// Whether every pixel has `colour`; the report counts those that differ and
    /// names the first one.
    Comparison FilledWith(COLORREF colour) const;
    /// One character per pixel, '#' for `ink` and '.' for anything else, a row a
    /// line: a picture for failure messages.
    std::string Picture(COLORREF ink) const;
    /// Saves the pixels as an 8-bit RGB PNG; false when empty or not writable.
    bool SavePng(const std::string& path) const;

private:
    RECT bounds_{0, 0, 0, 0};
    std::vector<COLORREF> pixels_;
};

/// The whole desktop as it shows, every window composed in z-order.
Capture CaptureDesktop();
/// A rectangle of the desktop (screen coordinates, clipped to it).
Capture CaptureDesktop(const RECT& screen);
/// A window's client area as it shows on the desktop, in client coordinates;
/// empty for a bad handle.
Capture CaptureWindow(HWND window);
/// A rectangle of a window's client area as it shows on the desktop, in client
/// coordinates; empty for a bad handle.
Capture CaptureWindow(HWND window, const RECT& client);
/// A rectangle of what a device context holds (logical coordinates), read through
/// GetPixel: a memory context's bitmap, a reference picture a test drew itself.
Capture CaptureDC(HDC dc, const RECT& logical);
/// How many pixels differ between two captures of one size, compared position by
/// position from their top-left corners; -1 when their sizes differ.
int CountDiffering(const Capture& a, const Capture& b);

/// The colour of the desktop at a screen point, as it shows.
COLORREF DesktopPixel(POINT screen);
/// The colour at a client point of a window, as it shows on the desktop;
/// CLR_INVALID for a bad handle or a point off the desktop.
COLORREF WindowPixel(HWND window, POINT client);
/// The colour an inversion (PATINVERT, InvertRect, a caret) turns `colour` into.
constexpr COLORREF Inverted(COLORREF colour) { return ~colour & 0x00FFFFFFu; }

/// Saves the whole desktop as a PNG file; false when it cannot be written.
bool SaveScreenshot(const std::string& path);
/// Saves one window with its frame as a PNG file; false for a bad handle or when
/// the file cannot be written.
bool SaveScreenshot(HWND window, const std::string& path);

/// The pointer as the user sees it (Desktop::Pointer).
struct PointerLook {
    /// The pointer's shape: a standard one, or an image cursor.
    tq3::fw::CursorShape shape = tq3::fw::CursorShape::Arrow;
    /// For an image cursor: the point of the image that is the pointer's position,
    /// (0, 0) being its top-left.
    POINT hotSpot{0, 0};
    /// For an image cursor: the image, transparent pixels CLR_INVALID; empty for a
    /// standard shape.
    Capture image;
};

namespace detail {
void Fail(const std::string& description);
}

/// The headless desktop a test runs on: it installs the headless backend, injects
/// keyboard and mouse input through the backend's queue, runs the queue until
/// idle, moves the virtual clock, answers modal windows from a script and reads
/// and writes the clipboard.
///
/// Every input call runs until idle before it returns, so what the input caused
/// (messages, paints, notifications to the host) has happened by then.
class Desktop {
public:
    /// Installs a fresh headless desktop `width` by `height` pixels (all windows
    /// and window-manager state of an earlier desktop are gone). Only one desktop
    /// lives at a time: making a second one while the first is alive is reported
    /// to the first one's failure handler (by default: print and abort), and the
    /// second one stays inert.
    explicit Desktop(int width = 1024, int height = 768);
    /// Takes the desktop down: the windows still on it and the window manager's
    /// state are gone.
    ~Desktop();
    Desktop(const Desktop&) = delete;             ///< one desktop, not copied
    Desktop& operator=(const Desktop&) = delete;  ///< one desktop, not copied

    /// The backend itself, for what the harness does not wrap.
    tq3::fw::HeadlessBackend& Backend() { return *backend_; }
    /// The desktop's size in pixels.
    SIZE Size() const;

    // ---- Keyboard ---------------------------------------------------------------
    /// @name Keyboard
    ///@{

    /// Presses the key `vk` (a virtual-key code) with the modifiers held down
    /// first; they stay down with it.
    void KeyDown(int vk, UINT modifiers = kNoModifiers);
    /// Releases the key `vk`, then the modifiers.
    void KeyUp(int vk, UINT modifiers = kNoModifiers);
    /// Down and up, with the modifiers held around it.
    void KeyPress(int vk, UINT modifiers = kNoModifiers);
    /// Types `text` as a user would: characters of the US layout as key presses
    /// (shifted where needed), others as characters from an input method.
    void Type(std::u16string_view text);
    /// One character without a key (an input method's result).
    void TypeChar(WCHAR ch);

    ///@}

    // ---- Mouse (screen points) --------------------------------------------------
    /// @name Mouse, at screen points
    /// Presses, releases, clicks and the wheel move the pointer to their point
    /// first only when it is elsewhere, so a press and release in place is no drag.
    ///@{

    /// Moves the pointer to a screen point.
    void MouseMove(POINT screen);
    /// Presses `button` at a screen point, with the modifiers held; the pointer
    /// moves there first only when it is elsewhere.
    void MouseDown(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// Releases `button` at a screen point, then the modifiers.
    void MouseUp(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// Presses and releases `button` at a screen point (a press and release in
    /// place: no drag).
    void Click(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// Two clicks at one point with no time between them: a window whose class
    /// takes double clicks receives the second press as a double click
    /// (WM_LBUTTONDBLCLK for the left button).
    void DoubleClick(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// Turns the wheel at a screen point; `delta` in wheel units (120 per notch),
    /// positive away from the user.
    void Wheel(POINT screen, int delta, UINT modifiers = kNoModifiers);

    ///@}

    // ---- Mouse (client points of a window) --------------------------------------
    /// @name Mouse, at client points of a window
    ///@{

    /// MouseMove at a client point of `window`.
    void MouseMove(HWND window, POINT client);
    /// MouseDown at a client point of `window`.
    void MouseDown(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// MouseUp at a client point of `window`.
    void MouseUp(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// Click at a client point of `window`.
    void Click(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// DoubleClick at a client point of `window`.
    void DoubleClick(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    /// Wheel at a client point of `window`.
    void Wheel(HWND window, POINT client, int delta, UINT modifiers = kNoModifiers);

    ///@}

    // ---- Running ------------------------------------------------------------------
    /// @name Running
    ///@{

    /// Runs messages, paints, timers due now and idle processing until nothing is
    /// left; returns the number of messages dispatched.
    int RunUntilIdle();
    /// Moves the virtual clock on by `ms` milliseconds, firing timers at their due
    /// times, and runs until idle.
    void AdvanceClock(DWORD ms);
    /// Whether a WM_QUIT was met (the main window was destroyed); running stops
    /// there.
    bool QuitReceived() const;

    ///@}

    // ---- Observation --------------------------------------------------------------
    /// @name Observation
    ///@{

    /// The pointer's shape now, with its image and hot spot for an image cursor.
    PointerLook Pointer() const;

    ///@}

    // ---- Modal windows ------------------------------------------------------------
    /// @name Modal windows
    ///@{

    /// Queues a reply for the next modal window that waits for the user. Answers
    /// are used in the order queued, each once.
    void QueueModalAnswer(ModalAnswer answer);
    /// How many queued answers have not been used yet: a test that expects its
    /// dialogs to have run checks that this is 0.
    size_t PendingModalAnswers() const { return answers_.size(); }
    /// Replaces what happens when a modal loop finds no answer or an answer does
    /// not match its window (by default: print the description and abort).
    void SetFailureHandler(FailureHandler handler) { failure_ = std::move(handler); }

    ///@}

    // ---- Clipboard ------------------------------------------------------------------
    /// @name Clipboard
    ///@{

    /// Puts `text` on the clipboard as CF_UNICODETEXT; false when it is held open.
    bool SetClipboardText(std::u16string_view text);
    /// The clipboard's CF_UNICODETEXT, or nothing when it holds none or is held open.
    std::optional<std::u16string> ClipboardText();
    ///@}

    /// True, once, when this message is the one being dispatched from the queue
    /// now: MessageSpy tells posted (and input) messages from sent ones this way.
    static bool TakeDispatchingMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void PressModifiers(UINT modifiers);
    void ReleaseModifiers(UINT modifiers);
    void MoveUnlessThere(POINT screen);
    void Clicks(POINT screen, Button button, UINT modifiers, int count);
    bool AnswerModalLoop();
    static POINT ToScreen(HWND window, POINT client);

    friend void detail::Fail(const std::string& description);
    static Desktop* live_;  // the desktop alive now
    bool inert_ = false;    // a second desktop refused while another lived
    tq3::fw::HeadlessBackend* backend_ = nullptr;
    std::deque<ModalAnswer> answers_;
    FailureHandler failure_;
};

/// Both settings stores (the per-user and the machine-wide one) moved to files in a
/// fresh temporary folder for as long as the object lives; afterwards each store
/// goes back where it was and the folder is removed. Nothing written meanwhile
/// reaches the user's or the system's settings.
class ScratchSettings {
public:
    /// Makes the folder and points both stores at files in it.
    ScratchSettings();
    /// Points the stores back where they were and removes the folder.
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;             ///< owns its folder, not copied
    ScratchSettings& operator=(const ScratchSettings&) = delete;  ///< owns its folder, not copied

    /// The folder holding the stores; empty when it could not be made (the stores
    /// then point at files in a folder that does not exist, so writes fail).
    const std::string& Folder() const { return folder_; }
    /// The file of the per-user store (HKEY_CURRENT_USER).
    std::string UserStore() const { return folder_ + "/user.db"; }
    /// The file of the machine-wide store (HKEY_LOCAL_MACHINE).
    std::string MachineStore() const { return folder_ + "/machine.db"; }

private:
    std::string folder_;
    std::string previousUser_;
    std::string previousMachine_;
};

/// A host application object for tests: named "TQ3ViewTest", with its settings
/// (per-user and machine-wide) in scratch stores that disappear with the object.
class TestApp : public CWinApp {
public:
    /// The application object named `appName`, its settings base key
    /// `Software\<registryKey>\` (null: none) in the scratch per-user store. The key itself is
    /// not made: the view stores nothing until the host writes a setting of its own
    /// (CWinApp's profile functions) or makes the key.
    explicit TestApp(LPCWSTR appName = u"TQ3ViewTest", LPCWSTR registryKey = u"TQ3ViewTestVendor");
    /// Ends the application object; the scratch stores go with it.
    ~TestApp() override;
    /// The folder holding the scratch settings stores.
    const std::string& SettingsFolder() const { return settings_.Folder(); }

private:
    ScratchSettings settings_;
};

/// Creates a frame (at `rect`, screen coordinates) whose client area `view` fills,
/// makes it the application's main window when there is an application without
/// one, sends the first update, shows it and runs until idle. Both objects must be
/// made with new: they delete themselves when their windows are destroyed. Null
/// when creation failed (the objects are then already gone).
CFrameWnd* CreateFrameWithView(CView* view, const RECT& rect = RECT{0, 0, 640, 480},
                               LPCWSTR title = u"TQ3View test", CFrameWnd* frame = nullptr);

// ---- Message spy --------------------------------------------------------------------

/// One message a watched window received, as MessageSpy recorded it.
struct SpyRecord {
    HWND hwnd = nullptr;       ///< the window that received it
    UINT message = 0;          ///< the message (WM_...)
    WPARAM wParam = 0;         ///< its wParam
    LPARAM lParam = 0;         ///< its lParam (for WM_NOTIFY a pointer valid only while it was handled)
    bool posted = false;       ///< came from the queue (posted or input), not sent
    UINT notifyCode = 0;       ///< WM_NOTIFY: the code
    UINT_PTR notifyId = 0;     ///< WM_NOTIFY: the sender's id
    int notifyItem = -1;       ///< WM_NOTIFY: the item, for notifications that carry one
};

/// One expected message. Only what was asked for is compared: the message always,
/// the window, parameters, notification fields and posted/sent when set. Made with
/// Msg or Notify and narrowed with the chained setters:
/// `Msg(WM_KEYDOWN).In(view).WParam(VK_DOWN).Posted()`.
struct Expect {
    UINT message = 0;                 ///< the message (WM_...), always compared
    std::optional<HWND> hwnd;         ///< the window that receives it, when set
    std::optional<WPARAM> wParam;     ///< its wParam, when set
    std::optional<LPARAM> lParam;     ///< its lParam, when set
    std::optional<bool> posted;       ///< posted (true) or sent (false), when set
    std::optional<UINT> notifyCode;   ///< WM_NOTIFY: the code, when set
    std::optional<UINT_PTR> notifyId; ///< WM_NOTIFY: the sender's id, when set
    std::optional<int> notifyItem;    ///< WM_NOTIFY: the item, when set
    bool optional = false;  ///< may be missing from the actual sequence

    /// Received by `window`.
    Expect& In(HWND window) { hwnd = window; return *this; }
    /// With this wParam.
    Expect& WParam(WPARAM value) { wParam = value; return *this; }
    /// With this lParam.
    Expect& LParam(LPARAM value) { lParam = value; return *this; }
    /// With the client point (x, y) in its lParam, as mouse messages carry it.
    Expect& Point(int x, int y) { lParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); return *this; }
    /// Taken from the queue (posted or input).
    Expect& Posted() { posted = true; return *this; }
    /// Sent, not taken from the queue.
    Expect& Sent() { posted = false; return *this; }
    /// May be missing from the actual sequence.
    Expect& Optional() { optional = true; return *this; }
};
/// An expected `message`, compared by its number alone until narrowed.
inline Expect Msg(UINT message) { Expect e; e.message = message; return e; }
/// A WM_NOTIFY with the code, the sender's id and, when given, the item.
Expect Notify(UINT code, UINT_PTR id, std::optional<int> item = std::nullopt);

/// The message spy: records, in order, the messages and notifications that the
/// watched windows receive, and compares them with an expected sequence, printing
/// both lists side by side when they differ.
///
/// It slips a window procedure of its own in front of each watched window's and
/// passes every message on after recording it; paint and hit-test traffic is left
/// out unless asked for.
class MessageSpy {
public:
    /// A spy watching nothing yet.
    MessageSpy();
    /// Stops watching every window and class.
    ~MessageSpy();
    MessageSpy(const MessageSpy&) = delete;             ///< watches windows, not copied
    MessageSpy& operator=(const MessageSpy&) = delete;  ///< watches windows, not copied

    /// Records what `window` receives from now on, under `name` in reports.
    void Watch(HWND window, std::string name = {});
    /// Stops recording `window`; what was recorded stays in the log.
    void Unwatch(HWND window);
    /// Records what every window of the class receives from its creation on
    /// (WM_NCCREATE first), until the spy goes. The class must be registered and
    /// have no windows yet; false otherwise. Its windows are named by their handle
    /// until Name gives them a name.
    bool WatchClass(LPCWSTR className);
    /// Names `window` in reports.
    void Name(HWND window, std::string name) { names_[window] = std::move(name); }
    /// Whether paint and hit-test traffic (WM_PAINT, WM_NCPAINT, WM_ERASEBKGND,
    /// WM_NCHITTEST, WM_SETCURSOR, WM_GETICON and the framework's idle update) is
    /// recorded; it is left out until included.
    void IncludeNoise(bool include) { includeNoise_ = include; }
    /// Leaves these messages out of the log too.
    void Ignore(std::vector<UINT> messages) { ignored_ = std::move(messages); }
    /// Records only these messages, whatever IncludeNoise and Ignore say; an empty
    /// list ends the restriction.
    void KeepOnly(std::vector<UINT> messages) { kept_ = std::move(messages); }
    /// Reads the item of a WM_NOTIFY for SpyRecord::notifyItem; the default knows
    /// the header controls' codes (HDN_...).
    void SetNotifyItemReader(std::function<int(const NMHDR*)> reader) { itemReader_ = std::move(reader); }

    /// Forgets everything recorded; the windows stay watched.
    void Clear() { log_.clear(); }
    /// Everything recorded, all windows, in order.
    const std::vector<SpyRecord>& Log() const { return log_; }
    /// What one window received, in order.
    std::vector<SpyRecord> LogOf(HWND window) const;
    /// What one window received of one message, in order.
    std::vector<SpyRecord> Find(HWND window, UINT message) const;

    /// Compares everything recorded (all windows, in order) with `expected`: the
    /// records must match the expectations one for one, in order, except that an
    /// optional expectation may be missing. The report shows both lists side by
    /// side and marks the first difference.
    Comparison Compare(const std::vector<Expect>& expected) const;
    /// Compares what one window received with `expected`, as above.
    Comparison Compare(HWND window, const std::vector<Expect>& expected) const;

    /// A record as text: "view WM_LBUTTONDOWN w=0x1 l=0x140014 posted".
    std::string Describe(const SpyRecord& record) const;
    /// An expectation as text, with what it leaves open shown as "*" or left out.
    std::string Describe(const Expect& expected) const;

private:
    static LRESULT SpyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT ClassSpyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Wanted(UINT message) const;
    std::string NameOf(HWND hwnd) const;
    Comparison CompareRecords(const std::vector<SpyRecord>& actual, const std::vector<Expect>& expected) const;

    std::vector<SpyRecord> log_;
    std::map<HWND, std::string> names_;
    std::vector<UINT> ignored_;
    std::vector<UINT> kept_;
    bool includeNoise_ = false;
    std::function<int(const NMHDR*)> itemReader_;
};

/// The platform's name of a message ("WM_SETFOCUS"), or its number in hex.
std::string MessageName(UINT message);

}  // namespace tq3::testing

// A test framework that looks for PrintTo beside the type (Google Test does)
// shows these when a comparison of them fails, rather than their bytes.

/// Prints a rectangle as "(left, top, right, bottom)".
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}
/// Prints a point as "(x, y)".
inline void PrintTo(const POINT& p, std::ostream* os) { *os << '(' << p.x << ", " << p.y << ')'; }
/// Prints a size as "(cx x cy)".
inline void PrintTo(const SIZE& s, std::ostream* os) { *os << '(' << s.cx << " x " << s.cy << ')'; }
/// Prints a rectangle as "(left, top, right, bottom)".
inline void PrintTo(const CRect& r, std::ostream* os) { PrintTo(static_cast<const RECT&>(r), os); }
/// Prints a point as "(x, y)".
inline void PrintTo(const CPoint& p, std::ostream* os) { PrintTo(static_cast<const POINT&>(p), os); }
/// Prints a size as "(cx x cy)".
inline void PrintTo(const CSize& s, std::ostream* os) { PrintTo(static_cast<const SIZE&>(s), os); }
