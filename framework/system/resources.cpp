// Resources of modules and the resource search.
//
// Index: entry lookup (EntryOf) -> FindResourceW/LoadResource/SizeofResource ->
// LoadStringW and CString::LoadString -> the current handle and the search
// (AfxFindResourceHandle over the extension chain) -> extension modules ->
// pictures (DecodeResourceImage, LoadBitmapW, the cursor loader).
#include "framework/system/resources.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "framework/core/cstring.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/system/module.h"
#include "framework/window/cursor.h"

namespace tq3::fw {

HINSTANCE currentResourceHandle = nullptr;

namespace {

HINSTANCE& AppModule() {
    static HINSTANCE app = nullptr;
    return app;
}

std::vector<CDynLinkLibrary*>& Chain() {
    // Never destroyed: extension libraries leave it from their unload code, which
    // runs after the framework's static objects are gone at exit.
    static auto* chain = new std::vector<CDynLinkLibrary*>;
    return *chain;
}

const TQ3ResourceEntry* EntryOf(HMODULE module, LPCWSTR name, LPCWSTR type) {
    if (!IS_INTRESOURCE(name) || !IS_INTRESOURCE(type)) return nullptr;
    const TQ3ResourceTable* table = ResourceTableOf(module);
    if (table == nullptr) return nullptr;
    auto id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name));
    auto kind = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(type));
    for (uint32_t i = 0; i < table->count; ++i) {
        const TQ3ResourceEntry& e = table->entries[i];
        if (e.id == id && e.type == kind && e.data != nullptr) return &e;
    }
    return nullptr;
}

// Reads one "c=RRGGBB" or "c=-" palette entry list into a character map.
bool ParsePalette(const char* palette, uint32_t (&colours)[256], bool (&defined)[256]) {
    if (palette == nullptr) return false;
    const char* p = palette;
    while (*p != 0) {
        if (*p == ';') {
            ++p;
            continue;
        }
        auto key = static_cast<unsigned char>(p[0]);
        if (p[1] != '=') return false;
        p += 2;
        if (*p == '-') {
            colours[key] = 0;
            ++p;
        } else {
            uint32_t rgb = 0;
            for (int i = 0; i < 6; ++i, ++p) {
                char c = *p;
                int digit = (c >= '0' && c <= '9')   ? c - '0'
                            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                     : -1;
                if (digit < 0) return false;
                rgb = rgb * 16 + static_cast<uint32_t>(digit);
            }
            colours[key] = 0xFF000000u | rgb;
        }
        defined[key] = true;
        if (*p != 0 && *p != ';') return false;
    }
    return true;
}

HCURSOR LoadCursorResource(HINSTANCE instance, LPCWSTR name) {
    const TQ3ImageData* image = FindImageResource(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)),
                                                  RT_GROUP_CURSOR);
    if (image == nullptr) {
        image = FindImageResource(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)), RT_CURSOR);
    }
    if (image == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    try {
        CursorImage cursor;
        if (!DecodeResourceImage(*image, cursor.argb)) return nullptr;
        cursor.width = image->width;
        cursor.height = image->height;
        cursor.hotSpot = POINT{image->hotX, image->hotY};
        return CreateCursorFromImage(cursor);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Cursor resources come from here once the framework is loaded.
const bool cursorLoaderInstalled = [] {
    SetCursorResourceLoader(&LoadCursorResource);
    return true;
}();

}  // namespace

HINSTANCE ApplicationResourceModule() {
    return AppModule() != nullptr ? AppModule() : GetModuleHandleW(nullptr);
}

void SetApplicationResourceModule(HINSTANCE module) { AppModule() = module; }

std::vector<HMODULE> ExtensionResourceModules() {
    std::vector<HMODULE> modules;
    for (CDynLinkLibrary* link : Chain()) modules.push_back(link->m_hResource);
    return modules;
}

bool DecodeResourceImage(const TQ3ImageData& image, std::vector<std::uint32_t>& argb) {
    if (image.width == 0 || image.height == 0 || image.pixels == nullptr) return false;
    uint32_t colours[256] = {};
    bool defined[256] = {};
    if (!ParsePalette(image.palette, colours, defined)) return false;
    size_t count = static_cast<size_t>(image.width) * image.height;
    if (strnlen(image.pixels, count) < count) return false;
    argb.assign(count, 0);
    for (size_t i = 0; i < count; ++i) {
        auto key = static_cast<unsigned char>(image.pixels[i]);
        if (!defined[key]) return false;
        argb[i] = colours[key];
    }
    return true;
}

const TQ3MenuData* FindMenuResource(UINT id) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_MENU);
    const TQ3ResourceEntry* e = EntryOf(module, MAKEINTRESOURCEW(id), RT_MENU);
    return e != nullptr ? static_cast<const TQ3MenuData*>(e->data) : nullptr;
}

const TQ3DialogData* FindDialogResource(UINT id) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_DIALOG);
    const TQ3ResourceEntry* e = EntryOf(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    return e != nullptr ? static_cast<const TQ3DialogData*>(e->data) : nullptr;
}

const TQ3ImageData* FindImageResource(HINSTANCE instance, UINT id, LPCWSTR type) {
    const TQ3ResourceEntry* e = EntryOf(instance, MAKEINTRESOURCEW(id), type);
    return e != nullptr ? static_cast<const TQ3ImageData*>(e->data) : nullptr;
}



}  // namespace tq3::fw

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return reinterpret_cast<HRSRC>(const_cast<TQ3ResourceEntry*>(tq3::fw::EntryOf(module, name, type)));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (resource == nullptr) return nullptr;
    return const_cast<void*>(reinterpret_cast<const TQ3ResourceEntry*>(resource)->data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource != nullptr ? reinterpret_cast<const TQ3ResourceEntry*>(resource)->size : 0;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax < 0) return 0;
    const TQ3ResourceEntry* e = tq3::fw::EntryOf(instance, MAKEINTRESOURCEW(id), RT_STRING);
    const auto* text = e != nullptr ? static_cast<LPCWSTR>(e->data) : nullptr;
    int length = e != nullptr ? static_cast<int>(e->size) : 0;
    if (bufferMax == 0) {
        *reinterpret_cast<LPCWSTR*>(buffer) = text;
        return text != nullptr ? length : 0;
    }
    int copied = std::min(length, bufferMax - 1);
    if (copied > 0) std::memcpy(buffer, text, static_cast<size_t>(copied) * sizeof(WCHAR));
    buffer[copied] = 0;
    return copied;
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    const TQ3ImageData* image =
        tq3::fw::FindImageResource(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)), RT_BITMAP);
    if (image == nullptr) return nullptr;
    try {
        std::vector<std::uint32_t> argb;
        if (!tq3::fw::DecodeResourceImage(*image, argb)) return nullptr;
        return CreateBitmap(image->width, image->height, 1, 32, argb.data());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL CString::LoadString(UINT id) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_STRING);
    LPCWSTR text = nullptr;
    int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    try {
        if (text == nullptr) {
            Empty();
            return FALSE;
        }
        *this = CString(text, length);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE current = tq3::fw::currentResourceHandle;
    return current != nullptr ? current : tq3::fw::ApplicationResourceModule();
}

void AfxSetResourceHandle(HINSTANCE resource) { tq3::fw::currentResourceHandle = resource; }

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) {
    HINSTANCE current = AfxGetResourceHandle();
    if (FindResourceW(current, name, type) != nullptr) return current;
    HINSTANCE app = tq3::fw::ApplicationResourceModule();
    if (FindResourceW(app, name, type) != nullptr) return app;
    for (CDynLinkLibrary* link : tq3::fw::Chain()) {
        if (FindResourceW(link->m_hResource, name, type) != nullptr) return link->m_hResource;
    }
    HINSTANCE framework = tq3::fw::FrameworkResourceModule();
    if (FindResourceW(framework, name, type) != nullptr) return framework;
    return current;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
    if (module == nullptr) return FALSE;
    state.hModule = module;
    state.hResource = module;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*all*/) {
    if (!state.bInitialized) return;
    // Copy first: each delete edits the chain.
    std::vector<CDynLinkLibrary*> mine;
    for (CDynLinkLibrary* link : tq3::fw::Chain()) {
        if (link->m_hModule == state.hModule) mine.push_back(link);
    }
    for (CDynLinkLibrary* link : mine) delete link;
    state.bInitialized = FALSE;
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : CDynLinkLibrary(state.hModule, state.hResource) {}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE module, HINSTANCE resource) : m_hModule(module), m_hResource(resource) {
    try {
        tq3::fw::Chain().push_back(this);
    } catch (const std::bad_alloc&) {
        // Not in the search: its resources are simply not found.
    }
}

CDynLinkLibrary::~CDynLinkLibrary() {
    auto& chain = tq3::fw::Chain();
    chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}
