// The message spy: a window procedure slipped in front of each watched window's
// own, recording every message before passing it on; and the comparison of a
// recorded sequence with an expected one, reported side by side.
#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>

#include "tq3view/testing.h"

namespace tq3::testing {

namespace {

struct Watched {
    MessageSpy* spy;
    WNDPROC original;
};

std::unordered_map<HWND, Watched>& WatchedWindows() {
    static std::unordered_map<HWND, Watched> windows;
    return windows;
}

// A class whose procedure the spy took over: its own procedure, and the spy that
// records its windows (none once that spy is gone: the messages just pass on).
struct WatchedClass {
    MessageSpy* spy;
    WNDPROC original;
};

// By class name, folded to upper case as class names compare.
std::map<std::u16string, WatchedClass>& WatchedClasses() {
    static std::map<std::u16string, WatchedClass> classes;
    return classes;
}

std::u16string FoldedClassName(LPCWSTR name) {
    std::u16string folded;
    for (const WCHAR* p = name; *p != 0; ++p) folded += (*p >= u'a' && *p <= u'z') ? static_cast<WCHAR>(*p - 32) : *p;
    return folded;
}

std::u16string FoldedClassOf(HWND hwnd) {
    WCHAR name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return FoldedClassName(name);
}

bool IsNoise(UINT message) {
    switch (message) {
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_ERASEBKGND:
        case WM_NCHITTEST:
        case WM_SETCURSOR:
        case WM_GETICON:
        case WM_IDLEUPDATECMDUI:
            return true;
        default:
            return false;
    }
}

// Header-control notifications (HDN_*) carry the item right after the header.
int HeaderItem(const NMHDR* header) {
    constexpr UINT kFirst = 0U - 300U;
    constexpr UINT kLast = 0U - 399U;
    if (header->code > kFirst || header->code < kLast) return -1;
    struct HeaderNotify {
        NMHDR hdr;
        int iItem;
    };
    return reinterpret_cast<const HeaderNotify*>(header)->iItem;
}

std::string Hex(unsigned long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llx", value);
    return buffer;
}

}  // namespace

Expect Notify(UINT code, UINT_PTR id, std::optional<int> item) {
    Expect e;
    e.message = WM_NOTIFY;
    e.notifyCode = code;
    e.notifyId = id;
    e.notifyItem = item;
    return e;
}

MessageSpy::MessageSpy() : itemReader_(&HeaderItem) {}

MessageSpy::~MessageSpy() {
    std::vector<HWND> mine;
    for (auto& [hwnd, watched] : WatchedWindows()) {
        if (watched.spy == this) mine.push_back(hwnd);
    }
    for (HWND hwnd : mine) Unwatch(hwnd);
    for (auto& [name, watched] : WatchedClasses()) {
        if (watched.spy == this) watched.spy = nullptr;
    }
}

bool MessageSpy::WatchClass(LPCWSTR className) {
    const std::u16string folded = FoldedClassName(className);
    auto& classes = WatchedClasses();
    auto found = classes.find(folded);
    if (found != classes.end()) {
        // Taken over by an earlier spy (classes outlive desktops): record here now.
        found->second.spy = this;
        return true;
    }
    // The class is registered again with the spy's procedure in front of its own,
    // which the window manager allows only while no window uses the class.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(nullptr, className, &wc)) return false;
    // The class's strings go with it when it is unregistered: keep copies.
    const std::u16string name(className);
    const bool namedMenu = reinterpret_cast<ULONG_PTR>(wc.lpszMenuName) > 0xFFFF;
    const std::u16string menu = namedMenu ? std::u16string(wc.lpszMenuName) : std::u16string();
    const WNDPROC original = wc.lpfnWndProc;
    if (!UnregisterClassW(className, nullptr)) return false;
    wc.lpszClassName = name.c_str();
    if (namedMenu) wc.lpszMenuName = menu.c_str();
    wc.lpfnWndProc = &MessageSpy::ClassSpyProc;
    if (RegisterClassExW(&wc) == 0) {
        wc.lpfnWndProc = original;
        RegisterClassExW(&wc);
        return false;
    }
    classes[folded] = WatchedClass{this, original};
    return true;
}

LRESULT MessageSpy::ClassSpyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& classes = WatchedClasses();
    auto found = classes.find(FoldedClassOf(hwnd));
    if (found == classes.end()) return DefWindowProcW(hwnd, message, wParam, lParam);
    const WatchedClass watched = found->second;
    if (watched.spy != nullptr) watched.spy->Record(hwnd, message, wParam, lParam);
    return CallWindowProcW(watched.original, hwnd, message, wParam, lParam);
}

void MessageSpy::Watch(HWND window, std::string name) {
    if (!IsWindow(window) || WatchedWindows().count(window) != 0) return;
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    WatchedWindows()[window] = Watched{this, original};
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageSpy::SpyProc));
    names_[window] = name.empty() ? Hex(reinterpret_cast<UINT_PTR>(window)) : std::move(name);
}

void MessageSpy::Unwatch(HWND window) {
    auto& windows = WatchedWindows();
    auto found = windows.find(window);
    if (found == windows.end() || found->second.spy != this) return;
    if (IsWindow(window) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &MessageSpy::SpyProc) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
    }
    windows.erase(found);
}

LRESULT MessageSpy::SpyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& windows = WatchedWindows();
    auto found = windows.find(hwnd);
    if (found == windows.end()) return DefWindowProcW(hwnd, message, wParam, lParam);
    Watched watched = found->second;
    watched.spy->Record(hwnd, message, wParam, lParam);
    LRESULT result = CallWindowProcW(watched.original, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) windows.erase(hwnd);  // the handle may be reused
    return result;
}

bool MessageSpy::Wanted(UINT message) const {
    if (!kept_.empty()) return std::find(kept_.begin(), kept_.end(), message) != kept_.end();
    if (!includeNoise_ && IsNoise(message)) return false;
    return std::find(ignored_.begin(), ignored_.end(), message) == ignored_.end();
}

void MessageSpy::Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SpyRecord record;
    record.hwnd = hwnd;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    record.posted = Desktop::TakeDispatchingMessage(hwnd, message, wParam, lParam);
    if (message == WM_NOTIFY && lParam != 0) {
        auto* header = reinterpret_cast<const NMHDR*>(lParam);
        record.notifyCode = header->code;
        record.notifyId = header->idFrom;
        record.notifyItem = itemReader_ ? itemReader_(header) : -1;
    }
    if (Wanted(message)) log_.push_back(record);
}

std::vector<SpyRecord> MessageSpy::LogOf(HWND window) const {
    std::vector<SpyRecord> part;
    for (const SpyRecord& record : log_) {
        if (record.hwnd == window) part.push_back(record);
    }
    return part;
}

std::vector<SpyRecord> MessageSpy::Find(HWND window, UINT message) const {
    std::vector<SpyRecord> found;
    for (const SpyRecord& record : log_) {
        if (record.hwnd == window && record.message == message) found.push_back(record);
    }
    return found;
}

std::string MessageSpy::NameOf(HWND hwnd) const {
    auto found = names_.find(hwnd);
    return found != names_.end() ? found->second : Hex(reinterpret_cast<UINT_PTR>(hwnd));
}

std::string MessageSpy::Describe(const SpyRecord& r) const {
    std::string text = NameOf(r.hwnd) + " " + MessageName(r.message);
    if (r.message == WM_NOTIFY) {
        text += " code=" + std::to_string(static_cast<int>(r.notifyCode)) + " id=" + std::to_string(r.notifyId);
        if (r.notifyItem >= 0) text += " item=" + std::to_string(r.notifyItem);
    } else {
        text += " w=" + Hex(r.wParam) + " l=" + Hex(static_cast<ULONG_PTR>(r.lParam));
    }
    text += r.posted ? " posted" : " sent";
    return text;
}

std::string MessageSpy::Describe(const Expect& e) const {
    std::string text = (e.hwnd ? NameOf(*e.hwnd) + " " : std::string("* ")) + MessageName(e.message);
    if (e.notifyCode) text += " code=" + std::to_string(static_cast<int>(*e.notifyCode));
    if (e.notifyId) text += " id=" + std::to_string(*e.notifyId);
    if (e.notifyItem) text += " item=" + std::to_string(*e.notifyItem);
    if (e.wParam) text += " w=" + Hex(*e.wParam);
    if (e.lParam) text += " l=" + Hex(static_cast<ULONG_PTR>(*e.lParam));
    if (e.posted) text += *e.posted ? " posted" : " sent";
    if (e.optional) text += " (optional)";
    return text;
}

namespace {

bool Matches(const Expect& e, const SpyRecord& r) {
    return e.message == r.message && (!e.hwnd || *e.hwnd == r.hwnd) && (!e.wParam || *e.wParam == r.wParam) &&
           (!e.lParam || *e.lParam == r.lParam) && (!e.posted || *e.posted == r.posted) &&
           (!e.notifyCode || *e.notifyCode == r.notifyCode) && (!e.notifyId || *e.notifyId == r.notifyId) &&
           (!e.notifyItem || *e.notifyItem == r.notifyItem);
}

}  // namespace

Comparison MessageSpy::Compare(const std::vector<Expect>& expected) const { return CompareRecords(log_, expected); }

Comparison MessageSpy::Compare(HWND window, const std::vector<Expect>& expected) const {
    return CompareRecords(LogOf(window), expected);
}

Comparison MessageSpy::CompareRecords(const std::vector<SpyRecord>& actual, const std::vector<Expect>& expected) const {
    // Walk both lists; an optional expectation that does not match is skipped.
    // Pairs are kept for the report: (expected index or -1, actual index or -1).
    std::vector<std::pair<int, int>> rows;
    size_t i = 0;
    size_t j = 0;
    int firstDifference = -1;
    while (i < expected.size() || j < actual.size()) {
        if (i < expected.size() && j < actual.size() && Matches(expected[i], actual[j])) {
            rows.emplace_back(static_cast<int>(i++), static_cast<int>(j++));
        } else if (i < expected.size() && expected[i].optional) {
            rows.emplace_back(static_cast<int>(i++), -1);
        } else {
            if (firstDifference < 0) firstDifference = static_cast<int>(rows.size());
            // Report the rest unpaired, expected beside actual.
            while (i < expected.size() || j < actual.size()) {
                rows.emplace_back(i < expected.size() ? static_cast<int>(i++) : -1,
                                  j < actual.size() ? static_cast<int>(j++) : -1);
            }
        }
    }
    Comparison result;
    result.ok = firstDifference < 0;
    if (result.ok) return result;
    constexpr size_t kColumn = 52;
    std::string report = "message sequence differs:\n";
    std::string header = "   expected";
    header.resize(kColumn + 3, ' ');
    report += header + "| actual\n";
    for (size_t row = 0; row < rows.size(); ++row) {
        std::string left = rows[row].first >= 0 ? Describe(expected[static_cast<size_t>(rows[row].first)]) : "";
        std::string right = rows[row].second >= 0 ? Describe(actual[static_cast<size_t>(rows[row].second)]) : "";
        std::string line = static_cast<int>(row) == firstDifference ? ">> " : "   ";
        line += left;
        if (line.size() < kColumn + 3) line.resize(kColumn + 3, ' ');
        report += line + "| " + right + "\n";
    }
    result.report = report;
    return result;
}

}  // namespace tq3::testing
