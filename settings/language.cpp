// Language selection, the installed-language list and CSwitchResource.
//
// Index: language tables -> registry reads of the product key (ReadProductValue)
// -> loading a view resource library (LoadViewResourceLibrary, which reports a
// missing one once) -> GetLanguageRegistry / SetLanguageRegistry /
// GetLanguageListRegistry -> CSwitchResource -> GetVALMExDLLString.
#include "settings/language.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "framework/app/win_app.h"
#include "framework/core/failure_value.h"
#include "framework/core/locale.h"
#include "framework/system/module.h"
#include "framework/system/registry.h"
#include "framework/system/resources.h"
#include "settings/registry_location.h"

namespace tq3 {
namespace {

struct LanguageNames {
    LPCWSTR registryName;
    LPCWSTR viewLibrary;
    LPCWSTR appLibrary;
};

constexpr LanguageNames kLanguages[] = {
    {u"English", u"TQ3VwEnu.dll", u"TQ3ResEnu.dll"},
    {u"Japanese", u"TQ3VwJpn.dll", u"TQ3ResJpn.dll"},
    {u"Chinese_s", u"TQ3VwChs.dll", u"TQ3ResChs.dll"},
    {u"Chinese_t", u"TQ3VwCht.dll", u"TQ3ResCht.dll"},
    {u"Korean", u"TQ3VwKor.dll", u"TQ3ResKor.dll"},
};

bool IsLanguage(int language) { return language >= 0 && language <= 4; }

int& LibraryLanguageRef() {
    static int language = 1;  // Japanese until the host chooses
    return language;
}

// Values of the product key are read into 128 bytes: at most 63 characters and
// the terminating zero. A longer value counts as missing.
constexpr DWORD kValueBytes = 128;

bool ReadProductValue(HKEY key, LPCWSTR name, WCHAR (&text)[kValueBytes / 2]) {
    std::memset(text, 0, sizeof(text));
    DWORD size = kValueBytes;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS) {
        text[0] = 0;
        return false;
    }
    text[kValueBytes / 2 - 1] = 0;
    return true;
}

// The product key below HKEY_LOCAL_MACHINE; empty when it cannot be opened.
tq3::fw::UniqueRegKey OpenProductKey(REGSAM access) {
    tq3::fw::UniqueRegKey key;
    const bool opened = tq3::fw::GuardAllocations(false, [&] {
        CString path = MakeRegistryKeyName() + u"\\";
        return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access, key.Put()) == ERROR_SUCCESS;
    });
    if (!opened) key.Reset();
    return key;
}

// Registry names compare code unit by code unit after case folding, as key and
// value names do; punctuation counts ("Chinese_s" is not "Chinese s").
bool SameNameIgnoringCase(LPCWSTR a, LPCWSTR b) {
    for (;; ++a, ++b) {
        WCHAR x = *a;
        WCHAR y = *b;
        CharUpperBuffW(&x, 1);
        CharUpperBuffW(&y, 1);
        if (x != y) return false;
        if (x == 0) return true;
    }
}

int LanguageOfName(LPCWSTR name) {
    if (name == nullptr || name[0] == 0) return -1;
    for (int i = 0; i < 5; ++i) {
        if (SameNameIgnoringCase(name, kLanguages[i].registryName)) return i;
    }
    return -1;
}

// "LangMax" as a decimal number; 0 when missing or not a number.
int ReadLanguageCount(HKEY key, bool* present) {
    WCHAR text[kValueBytes / 2];
    *present = ReadProductValue(key, u"LangMax", text);
    if (!*present) return 0;
    long long n = 0;
    int i = 0;
    while (text[i] == u' ' || text[i] == u'\t') ++i;
    bool negative = text[i] == u'-';
    if (text[i] == u'-' || text[i] == u'+') ++i;
    for (; text[i] >= u'0' && text[i] <= u'9' && n < 0x7FFFFFFF; ++i) n = n * 10 + (text[i] - u'0');
    if (n > 0x7FFFFFFF) n = 0x7FFFFFFF;
    return static_cast<int>(negative ? -n : n);
}

// Said once per process: a host that misses its language libraries would otherwise
// hear it at every string and every message box.
void ReportMissingLibrary(LPCWSTR name) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    try {
        const std::string folder = tq3::fw::ModuleDirectoryOf(OwnModule());
        std::fprintf(stderr,
                     "tq3view: the language library %s could not be loaded from %s/tq3view or %s; the library's "
                     "strings are empty and its message boxes are not shown\n",
                     tq3::fw::SharedObjectNameFor(name).c_str(), folder.c_str(), folder.c_str());
    } catch (const std::bad_alloc&) {
        // Nothing to say it with; the results are the same.
    }
}

}  // namespace

HMODULE LoadViewResourceLibrary(int language) {
    if (!IsLanguage(language)) return nullptr;
    // Asked from here, so the loader looks beside the view library.
    HMODULE loaded = LoadLibraryW(kLanguages[language].viewLibrary);
    if (loaded == nullptr) ReportMissingLibrary(kLanguages[language].viewLibrary);
    return loaded;
}

LPCWSTR ViewResourceLibraryName(int language) {
    return IsLanguage(language) ? kLanguages[language].viewLibrary : nullptr;
}
LPCWSTR AppResourceLibraryName(int language) {
    return IsLanguage(language) ? kLanguages[language].appLibrary : nullptr;
}
LPCWSTR LanguageRegistryName(int language) {
    return IsLanguage(language) ? kLanguages[language].registryName : nullptr;
}
int LibraryLanguage() { return LibraryLanguageRef(); }

}  // namespace tq3

using namespace tq3;

int VALMExSetLanguage(int language) {
    LibraryLanguageRef() = language;
    return language;
}

int GetLanguageRegistry() {
    tq3::fw::UniqueRegKey key = OpenProductKey(KEY_QUERY_VALUE);
    if (!key) return -1;
    WCHAR name[kValueBytes / 2];
    ReadProductValue(key.Get(), u"Language", name);
    return LanguageOfName(name);
}

void SetLanguageRegistry(int language) {
    tq3::fw::UniqueRegKey key = OpenProductKey(KEY_WRITE);
    if (!key) return;
    LPCWSTR name = (language >= 1 && language <= 4) ? kLanguages[language].registryName : u"English";
    DWORD size = static_cast<DWORD>((std::char_traits<char16_t>::length(name) + 1) * sizeof(WCHAR));
    RegSetValueExW(key.Get(), u"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), size);
}

int GetLanguageListRegistry(DWORD* cookie, BOOL countOnly) {
    tq3::fw::UniqueRegKey key = OpenProductKey(KEY_QUERY_VALUE);
    if (!key) return -1;
    int index = 0;
    int count = 0;
    if (countOnly || cookie == nullptr || *cookie == 0xFFFFFFFFu) {
        bool present = false;
        count = ReadLanguageCount(key.Get(), &present);
        if (countOnly) return count;
        if (!present || cookie == nullptr) return -1;
    } else {
        index = static_cast<int>(*cookie & 0xFFFFu);
        count = static_cast<int>(*cookie >> 16);
    }
    if (index >= count) {
        *cookie = 0xFFFFFFFFu;
        return -1;
    }
    WCHAR valueName[16];
    WCHAR name[kValueBytes / 2];
    const bool named = tq3::fw::GuardAllocations(false, [&] {
        CString formatted;
        formatted.Format(u"Lang%d", index + 1);
        std::memcpy(valueName, formatted.GetString(), (formatted.GetLength() + 1) * sizeof(WCHAR));
        return true;
    });
    if (!named) return -1;
    ReadProductValue(key.Get(), valueName, name);
    ++index;
    *cookie = index >= count ? 0xFFFFFFFFu : static_cast<DWORD>(count) * 65536u + static_cast<DWORD>(index);
    return LanguageOfName(name);
}

BOOL IsLanguageListRegistry(int) { return TRUE; }

IMPLEMENT_DYNAMIC(CSwitchResource, CObject)

CSwitchResource::CSwitchResource() : previous(AfxGetResourceHandle()) {}

CSwitchResource::~CSwitchResource() {
    if (switched) Restore();
}

BOOL CSwitchResource::Switch(int newLanguage) {
    HMODULE loaded = IsLanguage(newLanguage) ? LoadViewResourceLibrary(newLanguage) : OwnModule();
    if (loaded == nullptr) {
        ok = FALSE;
        return FALSE;
    }
    // A second switch gives back the library of the first.
    HMODULE earlier = (switched && !borrowed && IsLanguage(language)) ? library : nullptr;
    borrowed = FALSE;
    library = loaded;
    AfxSetResourceHandle(library);
    language = newLanguage;
    switched = TRUE;
    ok = TRUE;
    if (earlier != nullptr) FreeLibrary(earlier);
    return TRUE;
}

BOOL CSwitchResource::SwitchHeld(int newLanguage, HMODULE held) {
    // A library this object loaded itself must go back through Restore first.
    if (held == nullptr || (switched && !borrowed)) return Switch(newLanguage);
    library = held;
    language = newLanguage;
    borrowed = TRUE;
    ok = TRUE;
    if (AfxGetResourceHandle() == held) return TRUE;
    AfxSetResourceHandle(held);
    switched = TRUE;
    return TRUE;
}

BOOL CSwitchResource::Restore() {
    AfxSetResourceHandle(previous);
    previous = nullptr;
    bool loadedOne = switched && !borrowed && IsLanguage(language) && library != nullptr;
    borrowed = FALSE;
    switched = FALSE;
    ok = TRUE;
    if (loadedOne) FreeLibrary(library);
    library = nullptr;
    return TRUE;
}

void GetVALMExDLLString(UINT id, CString& text) {
    CSwitchResource scope;
    if (!scope.Switch(LibraryLanguage()) || !text.LoadString(id)) {
        text.Empty();
    }
}

HMODULE tq3::RegistryLanguageViewResources() {
    int registryLanguage = GetLanguageRegistry();
    HMODULE loaded = IsLanguage(registryLanguage) ? LoadViewResourceLibrary(registryLanguage) : OwnModule();
    if (loaded == nullptr) return ViewResourceHandle();
    HMODULE& remembered = ViewResourceHandle();
    if (loaded == remembered) {
        // Already held once; keep a single reference however often this is asked.
        if (loaded != OwnModule()) FreeLibrary(loaded);
        return remembered;
    }
    HMODULE old = remembered;
    remembered = loaded;
    if (old != nullptr && old != OwnModule()) FreeLibrary(old);
    return remembered;
}

IMPLEMENT_DYNAMIC(CSwitchAppRes, CObject)

CSwitchAppRes::CSwitchAppRes() : previous(AfxGetResourceHandle()) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return;
    if (previous != OwnModule() && previous != RegistryLanguageViewResources()) return;
    int registryLanguage = GetLanguageRegistry();
    if (IsLanguage(registryLanguage)) loaded_ = LoadLibraryW(AppResourceLibraryName(registryLanguage));
    // Without its language library the application still has its own resources.
    AfxSetResourceHandle(loaded_ != nullptr ? loaded_ : app->m_hInstance);
    switched = TRUE;
}

CSwitchAppRes::~CSwitchAppRes() {
    if (switched) AfxSetResourceHandle(previous);
    if (loaded_ != nullptr) FreeLibrary(loaded_);
}
