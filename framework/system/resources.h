// Resources of modules and the framework's resource search.
//
// Lookups go by integer id and type (MAKEINTRESOURCEW); string table entries are
// found by their string id with RT_STRING. The search of AfxFindResourceHandle
// tries the current resource handle, then the application's module, then each
// registered extension module in the order it registered, so making a language
// library the current handle makes its texts win over everyone else's.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/export.h"
#include "framework/core/object.h"
#include "framework/core/wintypes.h"
#include "framework/system/resource_table.h"

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)

// The entry of `name` and `type` in `module`; null when the module has no table,
// the entry is missing or either is a named (non-integer) resource.
TQ3FW_EXPORT_C HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
// The entry's data, which lives as long as the module is loaded.
TQ3FW_EXPORT_C HGLOBAL LoadResource(HMODULE module, HRSRC resource);
TQ3FW_EXPORT_C LPVOID LockResource(HGLOBAL data);
TQ3FW_EXPORT_C DWORD SizeofResource(HMODULE module, HRSRC resource);

// Copies string `id` of `instance` into `buffer` (at most bufferMax - 1 code
// units and a zero) and returns the count copied; 0 and an empty buffer when
// there is no such string. With bufferMax 0, stores a read-only pointer to the
// text (not zero-terminated by contract) through `buffer` and returns its length.
TQ3FW_EXPORT_C int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);
// A 32-bit bitmap of bitmap resource `name`; null when it is missing or damaged.
TQ3FW_EXPORT_C HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// The current resource handle: the application's module until someone sets another.
TQ3FW_API HINSTANCE AfxGetResourceHandle();
TQ3FW_API void AfxSetResourceHandle(HINSTANCE resource);
// The first module of the search that has `name` of `type`; when none has it,
// the current resource handle (so that a later load fails there, as it would).
TQ3FW_API HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);

// The framework's own cursors (group cursor resources of the framework, found by
// AfxFindResourceHandle after every module of the host): the pointer over a
// dividing line that moves sideways (HSPLITBAR) or up and down (VSPLITBAR).
constexpr UINT AFX_IDC_HSPLITBAR = 30980;
constexpr UINT AFX_IDC_VSPLITBAR = 30981;

// The state of one extension module (a library that joins the resource search).
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};

// Records the module; FALSE for a null module (the library then refuses to load).
TQ3FW_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module);
// Takes the module's entries out of the resource search and deletes them.
TQ3FW_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// One module's place in the resource search: made with new at load time, joins
// the end of the chain, leaves it when deleted.
class TQ3FW_API CDynLinkLibrary : public CObject {
    DECLARE_DYNAMIC(CDynLinkLibrary)

public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    CDynLinkLibrary(HINSTANCE module, HINSTANCE resource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule = nullptr;
    HMODULE m_hResource = nullptr;
};

namespace tq3::fw {

// The current resource handle exactly as last set: null until someone sets one,
// while AfxGetResourceHandle answers the application's module. The library switches
// resources around a host's hook that may run once per cell of a large table, so
// it reads and writes the handle here rather than through calls.
TQ3FW_API extern HINSTANCE currentResourceHandle;

// The module searched after the current handle: the program's own, unless the
// application object names another.
TQ3FW_API HINSTANCE ApplicationResourceModule();
TQ3FW_API void SetApplicationResourceModule(HINSTANCE module);

// Gives `module` a table without it being exported (a host that keeps its
// resources in the program, or a test); null takes it away again.
TQ3FW_API void RegisterResourceTable(HMODULE module, const TQ3ResourceTable* table);

// The handle of the framework's own resources (its split cursors...), searched
// last by AfxFindResourceHandle.
TQ3FW_API HINSTANCE FrameworkResourceModule();

// The modules of the extension chain, in search order.
TQ3FW_API std::vector<HMODULE> ExtensionResourceModules();

// Decodes a picture into 0xAARRGGBB pixels (alpha 0 where the palette says
// transparent, 0xFF elsewhere). FALSE when the size is zero, the pixel text is
// shorter than width * height or uses a character the palette does not define.
TQ3FW_API bool DecodeResourceImage(const TQ3ImageData& image, std::vector<std::uint32_t>& argb);

// The typed data of a menu, dialog or picture resource found through the
// resource search; null when missing or of another type.
TQ3FW_API const TQ3MenuData* FindMenuResource(UINT id);
TQ3FW_API const TQ3DialogData* FindDialogResource(UINT id);
TQ3FW_API const TQ3ImageData* FindImageResource(HINSTANCE instance, UINT id, LPCWSTR type);

}  // namespace tq3::fw
