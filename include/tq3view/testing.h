// The headless test harness: drive a user interface built on the framework without
// a screen, the way a user would, and check what its windows received.
//
//   tq3::testing::Desktop desktop(800, 600);      // a fresh headless desktop
//   tq3::testing::TestApp app;                    // the host application object
//   auto* view = new CMyView;                     // owns itself once created
//   CFrameWnd* frame = tq3::testing::CreateFrameWithView(view);
//   tq3::testing::MessageSpy spy;
//   spy.Watch(view->m_hWnd, "view");
//   desktop.Click(view->m_hWnd, {10, 10});        // runs until idle
//   auto result = spy.Compare({tq3::testing::Msg(WM_LBUTTONDOWN), tq3::testing::Msg(WM_LBUTTONUP)});
//   if (!result) puts(result.report.c_str());     // both lists side by side
//   auto cell = tq3::testing::CaptureWindow(view->m_hWnd, RECT{0, 0, 40, 18});
//   bool blank = cell.FilledWith(GetSysColor(COLOR_WINDOW)).ok;
//
// Input goes in through the headless backend's queue, so it meets hit testing,
// capture, focus, double-click detection and PreTranslateMessage like real input.
// Every input call and RunUntilIdle run the queue (generated paints and due timers
// included) and the application's idle processing until nothing is left to do.
// Time stands still except through AdvanceClock.
//
// The harness does not depend on a test framework: comparisons return a result
// with a printable report, and a modal loop that finds no scripted answer calls the
// failure handler (by default: print and abort), so a test cannot hang or go on
// unnoticed.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/window/backend.h"

namespace tq3::fw {
class HeadlessBackend;  // framework/backends/headless/headless_backend.h
}

namespace tq3::testing {

// Modifier keys held around a key or a click.
enum Modifiers : UINT {
    kNoModifiers = 0,
    kShift = 1,
    kControl = 2,
    kAlt = 4,
};

enum class Button { Left, Right, Middle };

// A scripted reply to a modal window (a dialog, a message box, a menu): used when
// a loop would wait for the user and the top-most window matching className and
// title (empty: any) is found. The action plays the user's part, e.g. posting a
// command or a key.
struct ModalAnswer {
    std::u16string className;
    std::u16string title;
    std::function<void(HWND window)> action;
};
// The user presses the button `id` (IDOK, IDCANCEL, IDYES...).
ModalAnswer AnswerCommand(int id, std::u16string className = {}, std::u16string title = {});
// The user presses the key `vk` (VK_RETURN, VK_ESCAPE...) in the window.
ModalAnswer AnswerKey(int vk, std::u16string className = {}, std::u16string title = {});

// Answers that work a dialog's controls, found by id in the window answered. A
// control that is not there, hidden or disabled, or a list entry that does not
// exist, is reported to the failure handler: the script no longer matches the
// dialog. Each is one step; queue one after another, and an answer that ends
// the dialog last.
//
// The user clicks the control `id` with the mouse (a push button, a check box).
ModalAnswer AnswerClick(int id, std::u16string className = {}, std::u16string title = {});
// The user ticks (true) or clears the check box `id`, clicking it if it shows otherwise.
ModalAnswer AnswerCheck(int id, bool checked, std::u16string className = {}, std::u16string title = {});
// The user moves to the control `id`, selects all its text and types `text` over it.
ModalAnswer AnswerType(int id, std::u16string text, std::u16string className = {}, std::u16string title = {});
// The user picks entry `index` of the list box or combo box `id` (the control
// selects it and its parent hears of the change, as after a pick with the mouse).
ModalAnswer AnswerChoose(int id, int index, std::u16string className = {}, std::u16string title = {});

// Answers for a pop-up menu (the "#32768" window on top): the user clicks the
// item with the command `id`, or the item showing `text` (its label without the
// mnemonic's '&' and the accelerator, or its whole text). An item the menu does
// not have is reported to the failure handler. Clicking an item that opens a
// submenu opens it: queue the next answer for the item inside. Clicking a
// disabled item does nothing, as for the user: the menu stays open and waits
// for the next answer (AnswerKey(VK_ESCAPE) leaves it).
ModalAnswer AnswerMenuItem(UINT id);
ModalAnswer AnswerMenuItem(std::u16string text);

// Called with a description when a modal loop finds no answer.
using FailureHandler = std::function<void(const std::string& description)>;

// A printable verdict: a message sequence or a block of pixels compared with what
// was expected.
struct Comparison {
    bool ok = true;
    std::string report;  // what differs, readable in a test's failure message
    explicit operator bool() const { return ok; }
};

// ---- Pixels -------------------------------------------------------------------------
//
// Pixels are read as they show: the desktop with every window composed in z-order,
// or one window's part of it. Colours are COLORREF values (RGB()).

// A rectangle of pixels copied from the desktop, a window or a device context. It
// keeps the coordinates it was taken in (screen, client or logical), so At and
// InkBounds speak the same coordinates as the source.
class Capture {
public:
    Capture() = default;
    Capture(const RECT& bounds, std::vector<COLORREF> pixels);

    // Where the pixels came from; empty for an empty capture.
    const RECT& Bounds() const { return bounds_; }
    bool Empty() const { return pixels_.empty(); }
    // The colour at a point of the source; CLR_INVALID outside Bounds.
    COLORREF At(int x, int y) const;
    COLORREF At(POINT point) const { return At(point.x, point.y); }

    int Count(COLORREF colour) const;       // pixels of exactly this colour
    int CountOther(COLORREF colour) const;  // pixels of any other colour
    int CountIf(const std::function<bool(COLORREF)>& test) const;
    // The smallest rectangle holding every pixel unlike `background` (ink: text is
    // smoothed, so its ink is any colour but the background's); empty when none.
    RECT InkBounds(COLORREF background) const;
    // Whether every pixel has `colour`; the report counts those that differ and
    // names the first one.
    Comparison FilledWith(COLORREF colour) const;
    // One character per pixel, '#' for `ink` and '.' for anything else, a row a
    // line: a picture for failure messages.
    std::string Picture(COLORREF ink) const;
    // Saves the pixels as an 8-bit RGB PNG; false when empty or not writable.
    bool SavePng(const std::string& path) const;

private:
    RECT bounds_{0, 0, 0, 0};
    std::vector<COLORREF> pixels_;
};

// The whole desktop, or a rectangle of it (screen coordinates, clipped to it).
Capture CaptureDesktop();
Capture CaptureDesktop(const RECT& screen);
// A window's client area as it shows on the desktop, or a rectangle of it, in
// client coordinates. Empty for a bad handle.
Capture CaptureWindow(HWND window);
Capture CaptureWindow(HWND window, const RECT& client);
// A rectangle of what a device context holds (logical coordinates), read through
// GetPixel: a memory context's bitmap, a reference picture a test drew itself.
Capture CaptureDC(HDC dc, const RECT& logical);
// How many pixels differ between two captures of one size, compared position by
// position from their top-left corners; -1 when their sizes differ.
int CountDiffering(const Capture& a, const Capture& b);

COLORREF DesktopPixel(POINT screen);
COLORREF WindowPixel(HWND window, POINT client);
// The colour an inversion (PATINVERT, InvertRect, a caret) turns `colour` into.
constexpr COLORREF Inverted(COLORREF colour) { return ~colour & 0x00FFFFFFu; }

// Screenshots as PNG files: the whole desktop, or one window with its frame.
bool SaveScreenshot(const std::string& path);
bool SaveScreenshot(HWND window, const std::string& path);

// The pointer as the user sees it.
struct PointerLook {
    tq3::fw::CursorShape shape = tq3::fw::CursorShape::Arrow;
    // For an image cursor: the point of the image that is the pointer's position,
    // and the image (transparent pixels are CLR_INVALID, (0, 0) its top-left).
    POINT hotSpot{0, 0};
    Capture image;
};

namespace detail {
void Fail(const std::string& description);
}

class Desktop {
public:
    // Installs a fresh headless desktop (all windows and window-manager state of
    // an earlier desktop are gone). Only one desktop lives at a time: making a
    // second one while the first is alive is reported to the first one's failure
    // handler (by default: print and abort), and the second one stays inert.
    explicit Desktop(int width = 1024, int height = 768);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The backend itself, for what the harness does not wrap.
    tq3::fw::HeadlessBackend& Backend() { return *backend_; }
    SIZE Size() const;

    // ---- Keyboard ---------------------------------------------------------------
    void KeyDown(int vk, UINT modifiers = kNoModifiers);
    void KeyUp(int vk, UINT modifiers = kNoModifiers);
    // Down and up, with the modifiers held around it.
    void KeyPress(int vk, UINT modifiers = kNoModifiers);
    // Types `text` as a user would: characters of the US layout as key presses
    // (shifted where needed), others as characters from an input method.
    void Type(std::u16string_view text);
    // One character without a key (an input method's result).
    void TypeChar(WCHAR ch);

    // ---- Mouse (screen points) --------------------------------------------------
    // Presses, releases, clicks and the wheel move the pointer to their point
    // first only when it is elsewhere, so a press and release in place is no drag.
    void MouseMove(POINT screen);
    void MouseDown(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void MouseUp(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void Click(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void DoubleClick(POINT screen, Button button = Button::Left, UINT modifiers = kNoModifiers);
    // `delta` in wheel units (120 per notch), positive away from the user.
    void Wheel(POINT screen, int delta, UINT modifiers = kNoModifiers);

    // ---- Mouse (client points of a window) --------------------------------------
    void MouseMove(HWND window, POINT client);
    void MouseDown(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void MouseUp(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void Click(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void DoubleClick(HWND window, POINT client, Button button = Button::Left, UINT modifiers = kNoModifiers);
    void Wheel(HWND window, POINT client, int delta, UINT modifiers = kNoModifiers);

    // ---- Running ------------------------------------------------------------------
    // Runs messages, paints, timers due now and idle processing until nothing is
    // left; returns the number of messages dispatched.
    int RunUntilIdle();
    // Moves the virtual clock on by `ms`, firing timers at their due times.
    void AdvanceClock(DWORD ms);
    // Whether a WM_QUIT was met (the main window was destroyed), and its code.
    bool QuitReceived() const;

    // ---- Observation --------------------------------------------------------------
    // The pointer's shape now, with its image and hot spot for an image cursor.
    PointerLook Pointer() const;

    // ---- Modal windows ------------------------------------------------------------
    // Answers are used in the order queued, each once.
    void QueueModalAnswer(ModalAnswer answer);
    size_t PendingModalAnswers() const { return answers_.size(); }
    void SetFailureHandler(FailureHandler handler) { failure_ = std::move(handler); }

    // ---- Clipboard ------------------------------------------------------------------
    // Puts `text` on the clipboard as CF_UNICODETEXT; false when it is held open.
    bool SetClipboardText(std::u16string_view text);
    // The clipboard's CF_UNICODETEXT, or nothing when it holds none or is held open.
    std::optional<std::u16string> ClipboardText();

    // True, once, when this message is the one being dispatched from the queue
    // now: MessageSpy tells posted (and input) messages from sent ones this way.
    static bool TakeDispatchingMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void PressModifiers(UINT modifiers);
    void ReleaseModifiers(UINT modifiers);
    void MoveUnlessThere(POINT screen);
    bool AnswerModalLoop();
    static POINT ToScreen(HWND window, POINT client);

    friend void detail::Fail(const std::string& description);
    static Desktop* live_;  // the desktop alive now
    bool inert_ = false;    // a second desktop refused while another lived
    tq3::fw::HeadlessBackend* backend_ = nullptr;
    std::deque<ModalAnswer> answers_;
    FailureHandler failure_;
};

// Both settings stores (the per-user and the machine-wide one) moved to files in a
// fresh temporary folder for as long as the object lives; afterwards each store
// goes back where it was and the folder is removed. Nothing written meanwhile
// reaches the user's or the system's settings.
class ScratchSettings {
public:
    ScratchSettings();
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    // The folder holding the stores; empty when it could not be made (the stores
    // then point at files in a folder that does not exist, so writes fail).
    const std::string& Folder() const { return folder_; }
    std::string UserStore() const { return folder_ + "/user.db"; }
    std::string MachineStore() const { return folder_ + "/machine.db"; }

private:
    std::string folder_;
    std::string previousUser_;
    std::string previousMachine_;
};

// A host application object for tests: named "TQ3ViewTest", with its settings
// (per-user and machine-wide) in scratch stores that disappear with the object.
class TestApp : public CWinApp {
public:
    explicit TestApp(LPCWSTR appName = u"TQ3ViewTest", LPCWSTR registryKey = u"TQ3ViewTestVendor");
    ~TestApp() override;
    // The folder holding the scratch settings stores.
    const std::string& SettingsFolder() const { return settings_.Folder(); }

private:
    ScratchSettings settings_;
};

// Creates a frame (at `rect`, screen coordinates) whose client area `view` fills,
// makes it the application's main window when there is an application without
// one, sends the first update, shows it and runs until idle. Both objects must be
// made with new: they delete themselves when their windows are destroyed. Null
// when creation failed (the objects are then already gone).
CFrameWnd* CreateFrameWithView(CView* view, const RECT& rect = RECT{0, 0, 640, 480},
                               LPCWSTR title = u"TQ3View test", CFrameWnd* frame = nullptr);

// ---- Message spy --------------------------------------------------------------------

struct SpyRecord {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool posted = false;       // came from the queue (posted or input), not sent
    UINT notifyCode = 0;       // WM_NOTIFY: the code
    UINT_PTR notifyId = 0;     // WM_NOTIFY: the sender's id
    int notifyItem = -1;       // WM_NOTIFY: the item, for notifications that carry one
};

// One expected message. Only what was asked for is compared: the message always,
// the window, parameters, notification fields and posted/sent when set.
struct Expect {
    UINT message = 0;
    std::optional<HWND> hwnd;
    std::optional<WPARAM> wParam;
    std::optional<LPARAM> lParam;
    std::optional<bool> posted;
    std::optional<UINT> notifyCode;
    std::optional<UINT_PTR> notifyId;
    std::optional<int> notifyItem;
    bool optional = false;  // may be missing from the actual sequence

    Expect& In(HWND window) { hwnd = window; return *this; }
    Expect& WParam(WPARAM value) { wParam = value; return *this; }
    Expect& LParam(LPARAM value) { lParam = value; return *this; }
    Expect& Point(int x, int y) { lParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); return *this; }
    Expect& Posted() { posted = true; return *this; }
    Expect& Sent() { posted = false; return *this; }
    Expect& Optional() { optional = true; return *this; }
};
inline Expect Msg(UINT message) { Expect e; e.message = message; return e; }
// A WM_NOTIFY with the code, the sender's id and, when given, the item.
Expect Notify(UINT code, UINT_PTR id, std::optional<int> item = std::nullopt);

class MessageSpy {
public:
    MessageSpy();
    ~MessageSpy();  // stops watching every window
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    // Records what `window` receives from now on, under `name` in reports.
    void Watch(HWND window, std::string name = {});
    void Unwatch(HWND window);
    // Records what every window of the class receives from its creation on
    // (WM_NCCREATE first), until the spy goes. The class must be registered and
    // have no windows yet; false otherwise. Its windows are named by their handle
    // until Name gives them a name.
    bool WatchClass(LPCWSTR className);
    void Name(HWND window, std::string name) { names_[window] = std::move(name); }
    // Paint and hit-test traffic (WM_PAINT, WM_NCPAINT, WM_ERASEBKGND,
    // WM_NCHITTEST, WM_SETCURSOR, WM_GETICON and the framework's idle update) is
    // left out unless included.
    void IncludeNoise(bool include) { includeNoise_ = include; }
    // Leaves out these messages too (or, with Keep, records only those).
    void Ignore(std::vector<UINT> messages) { ignored_ = std::move(messages); }
    void KeepOnly(std::vector<UINT> messages) { kept_ = std::move(messages); }
    // Reads the item of a WM_NOTIFY; the default knows the header controls' codes.
    void SetNotifyItemReader(std::function<int(const NMHDR*)> reader) { itemReader_ = std::move(reader); }

    void Clear() { log_.clear(); }
    const std::vector<SpyRecord>& Log() const { return log_; }
    std::vector<SpyRecord> LogOf(HWND window) const;
    // What one window received of one message, in order.
    std::vector<SpyRecord> Find(HWND window, UINT message) const;

    // Compares everything recorded (all windows, in order) or one window's part.
    Comparison Compare(const std::vector<Expect>& expected) const;
    Comparison Compare(HWND window, const std::vector<Expect>& expected) const;

    // A record as text: "view WM_LBUTTONDOWN w=0x1 l=0x140014 posted".
    std::string Describe(const SpyRecord& record) const;
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

// The platform's name of a message ("WM_SETFOCUS"), or its number in hex.
std::string MessageName(UINT message);

}  // namespace tq3::testing
