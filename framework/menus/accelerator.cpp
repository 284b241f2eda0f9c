// Accelerator tables behind HACCEL handles, and the translation of key messages.
#include "framework/menus/accelerator.h"

#include <memory>
#include <unordered_set>
#include <vector>

#include "framework/core/failure_value.h"
#include "framework/system/resources.h"
#include "framework/window/messages.h"
#include "framework/window/virtual_keys.h"

namespace {

struct Table {
    std::vector<ACCEL> entries;
};

std::unordered_set<Table*>& Live() {
    static std::unordered_set<Table*> live;
    return live;
}

Table* TableOf(HACCEL handle) {
    auto* t = reinterpret_cast<Table*>(handle);
    return t != nullptr && Live().count(t) != 0 ? t : nullptr;
}

bool Held(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

bool Matches(const ACCEL& a, const MSG& msg) {
    const bool virtualKey = (a.fVirt & FVIRTKEY) != 0;
    const bool keyMessage = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool charMessage = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (virtualKey ? !keyMessage : !charMessage) return false;
    if (msg.wParam != a.key) return false;
    // A virtual key needs exactly its modifiers; a character carries Shift in
    // itself, so only Alt is compared for it (and Ctrl shows as a control code).
    if (virtualKey) {
        return Held(VK_SHIFT) == ((a.fVirt & FSHIFT) != 0) && Held(VK_CONTROL) == ((a.fVirt & FCONTROL) != 0) &&
               Held(VK_MENU) == ((a.fVirt & FALT) != 0);
    }
    return Held(VK_MENU) == ((a.fVirt & FALT) != 0);
}

}  // namespace

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count) {
    if (entries == nullptr || count <= 0) return nullptr;
    return tq3::fw::GuardAllocations<HACCEL>(nullptr, [&] {
        auto table = std::make_unique<Table>();
        table->entries.assign(entries, entries + count);
        Live().insert(table.get());
        return reinterpret_cast<HACCEL>(table.release());
    });
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    if (instance == nullptr) instance = AfxFindResourceHandle(name, RT_ACCELERATOR);
    HRSRC resource = FindResourceW(instance, name, RT_ACCELERATOR);
    const auto* data = static_cast<const TQ3AcceleratorData*>(LockResource(LoadResource(instance, resource)));
    if (data == nullptr || data->count == 0 || data->entries == nullptr) return nullptr;
    return tq3::fw::GuardAllocations<HACCEL>(nullptr, [&] {
        std::vector<ACCEL> entries;
        for (uint16_t i = 0; i < data->count; ++i) {
            const TQ3AcceleratorEntryData& e = data->entries[i];
            entries.push_back(ACCEL{static_cast<BYTE>(e.flags), e.key, e.command});
        }
        return CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
    });
}

int CopyAcceleratorTableW(HACCEL handle, LPACCEL entries, int count) {
    Table* t = TableOf(handle);
    if (t == nullptr) return 0;
    const int size = static_cast<int>(t->entries.size());
    if (entries == nullptr) return size;
    int copied = count < size ? count : size;
    for (int i = 0; i < copied; ++i) entries[i] = t->entries[static_cast<size_t>(i)];
    return copied;
}

BOOL DestroyAcceleratorTable(HACCEL handle) {
    Table* t = TableOf(handle);
    if (t == nullptr) return FALSE;
    Live().erase(t);
    delete t;
    return TRUE;
}

int TranslateAcceleratorW(HWND window, HACCEL handle, LPMSG msg) {
    Table* t = TableOf(handle);
    if (t == nullptr || msg == nullptr || !IsWindow(window)) return 0;
    for (const ACCEL& a : t->entries) {
        if (!Matches(a, *msg)) continue;
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}
