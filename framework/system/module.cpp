// Loading resource libraries by their platform names.
//
// Index: name mapping (SharedObjectNameFor) -> where the asker lives
// (ModuleDirectoryOf) -> LoadLibraryFrom (dlopen by absolute path, reference
// count per base address) -> FreeLibrary / GetModuleHandleW -> ResourceTableOf
// (dlsym of the table, accepted only when it lies inside the module asked about).
#include "framework/system/module.h"
#include "framework/system/resources.h"

#include <dlfcn.h>
#include <link.h>
#include <limits.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <new>
#include <utility>

#include "framework/core/utf.h"

namespace tq3::fw {
namespace {

struct LoadedModule {
    void* dl = nullptr;      // the loader's handle
    int references = 0;      // LoadLibraryW calls not yet given back
    std::string objectName;  // "libTQ3VwJpn.so", for GetModuleHandleW
    std::string path;        // the absolute path it was loaded from
};

long searches = 0;  // loads that looked on disk

std::map<HMODULE, LoadedModule>& Loaded() {
    // Never destroyed: libraries unloading at exit still look here.
    static auto* loaded = new std::map<HMODULE, LoadedModule>;
    return *loaded;
}

// Tables registered by hand or found once; a module's table never moves while
// it is mapped, and entries of unloaded modules are dropped by FreeLibrary.
std::map<HMODULE, const TQ3ResourceTable*>& KnownTables() {
    static auto* tables = new std::map<HMODULE, const TQ3ResourceTable*>;
    return *tables;
}

HMODULE BaseOfHandle(void* dl) {
    link_map* map = nullptr;
    if (dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return nullptr;
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(map->l_ld), &info) == 0) return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

HMODULE ProgramModule() {
    static const HMODULE program = [] {
        void* self = dlopen(nullptr, RTLD_LAZY);
        HMODULE base = self != nullptr ? BaseOfHandle(self) : nullptr;
        if (self != nullptr) dlclose(self);
        return base;
    }();
    return program;
}

// The loader keeps no origin for the program itself; the kernel's link to the
// running executable is absolute, and is read once, before anyone can chdir.
std::string ProgramDirectory() {
    static const std::string directory = [] {
        char path[PATH_MAX + 1] = {};
        ssize_t n = readlink("/proc/self/exe", path, PATH_MAX);
        if (n <= 0) return std::string();
        std::string full(path, static_cast<size_t>(n));
        size_t slash = full.rfind('/');
        return slash == std::string::npos ? std::string() : full.substr(0, slash == 0 ? 1 : slash);
    }();
    return directory;
}

// Read when the framework is loaded.
const bool programDirectoryKnown = !ProgramDirectory().empty();

bool EndsWithNoCase(const std::u16string& text, std::u16string_view suffix) {
    if (text.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        char16_t c = text[text.size() - suffix.size() + i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

bool SameNameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

const TQ3ResourceTable* CheckedTable(const void* symbol, HMODULE module) {
    if (symbol == nullptr) return nullptr;
    Dl_info info{};
    // dlsym also searches the object's dependencies: a table found there is
    // another module's, not this one's.
    if (dladdr(symbol, &info) == 0 || info.dli_fbase != module) return nullptr;
    auto* table = static_cast<const TQ3ResourceTable*>(symbol);
    if (table->magic != TQ3_RESOURCE_MAGIC || table->version != TQ3_RESOURCE_VERSION) return nullptr;
    if (table->count > 0 && table->entries == nullptr) return nullptr;
    return table;
}

}  // namespace

std::string SharedObjectNameFor(LPCWSTR fileName) {
    if (fileName == nullptr || fileName[0] == 0) return {};
    std::u16string name(fileName);
    for (char16_t c : name) {
        if (c == u'/' || c == u'\\' || c == u':') return {};
    }
    if (EndsWithNoCase(name, u".dll")) name.resize(name.size() - 4);
    if (name.empty() || name == u"." || name == u"..") return {};
    return "lib" + ToUtf8(std::u16string_view(name)) + ".so";
}

std::string ModuleDirectoryOf(const void* address) {
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 || map == nullptr) return {};
    if (map->l_name == nullptr || map->l_name[0] == 0) return ProgramDirectory();
    void* dl = dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD);
    if (dl == nullptr) return {};
    char origin[PATH_MAX + 1] = {};
    // RTLD_DI_ORIGIN is the directory the object was loaded from, made absolute
    // when it was loaded: a later chdir does not move it.
    int rc = dlinfo(dl, RTLD_DI_ORIGIN, origin);
    dlclose(dl);
    if (rc != 0 || origin[0] != '/') return {};
    return origin;
}

// The directory of the module holding `asker`, remembered per module: a library
// that switches resources around every call of a host's hook asks for the same
// libraries again and again, and must not pay the loader's lookups each time.
const std::string& CachedModuleDirectoryOf(const void* asker) {
    static auto* directories = new std::map<const void*, std::string>;
    // _dl_find_object answers from the loader's address table; dladdr would search
    // the module's symbols on every call.
    dl_find_object object{};
    const void* base = _dl_find_object(const_cast<void*>(asker), &object) == 0 ? object.dlfo_map_start : asker;
    auto found = directories->find(base);
    if (found == directories->end()) found = directories->emplace(base, ModuleDirectoryOf(asker)).first;
    return found->second;
}

// A library already loaded from `path`: one more reference, without the loader.
HMODULE TakeLoaded(const std::string& path) {
    for (auto& [base, module] : Loaded()) {
        if (module.path == path) {
            ++module.references;
            return base;
        }
    }
    return nullptr;
}

HMODULE LoadLibraryFrom(const void* asker, LPCWSTR fileName) {
    try {
        std::string objectName = SharedObjectNameFor(fileName);
        if (objectName.empty()) return nullptr;
        const std::string& directory = CachedModuleDirectoryOf(asker);
        if (directory.empty()) return nullptr;
        bool searched = false;
        for (const char* sub : {"/tq3view/", "/"}) {
            std::string path = directory + sub + objectName;
            if (HMODULE base = TakeLoaded(path)) return base;
            if (!std::exchange(searched, true)) ++searches;
            if (access(path.c_str(), R_OK) != 0) continue;
            void* dl = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (dl == nullptr) return nullptr;  // there, but not a loadable object
            HMODULE base = BaseOfHandle(dl);
            if (base == nullptr) {
                dlclose(dl);
                return nullptr;
            }
            auto found = Loaded().find(base);
            if (found != Loaded().end()) {
                dlclose(dl);  // the loader counts too; we keep one of its references
                ++found->second.references;
                return base;
            }
            Loaded().emplace(base, LoadedModule{dl, 1, objectName, path});
            return base;
        }
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

const TQ3ResourceTable* ResourceTableOf(HMODULE module) {
    if (module == nullptr) return nullptr;
    try {
        auto known = KnownTables().find(module);
        if (known != KnownTables().end()) return known->second;
        const TQ3ResourceTable* table = nullptr;
        auto loaded = Loaded().find(module);
        if (loaded != Loaded().end()) {
            table = CheckedTable(dlsym(loaded->second.dl, TQ3_RESOURCE_TABLE_NAME), module);
        } else {
            Dl_info info{};
            link_map* map = nullptr;
            if (dladdr1(module, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 || map == nullptr ||
                info.dli_fbase != module) {
                return nullptr;
            }
            const char* name = (map->l_name != nullptr && map->l_name[0] != 0) ? map->l_name : nullptr;
            void* dl = dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
            if (dl == nullptr) return nullptr;
            table = CheckedTable(dlsym(dl, TQ3_RESOURCE_TABLE_NAME), module);
            dlclose(dl);
        }
        KnownTables()[module] = table;
        return table;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void RegisterResourceTable(HMODULE module, const TQ3ResourceTable* table) {
    if (module == nullptr) return;
    try {
        if (table != nullptr) {
            KnownTables()[module] = table;
        } else {
            KnownTables().erase(module);
        }
    } catch (const std::bad_alloc&) {
    }
}

int LoadedLibraryCount() { return static_cast<int>(Loaded().size()); }

long LibrarySearchCount() { return searches; }

}  // namespace tq3::fw

HMODULE LoadLibraryW(LPCWSTR fileName) {
    return tq3::fw::LoadLibraryFrom(__builtin_return_address(0), fileName);
}

BOOL FreeLibrary(HMODULE module) {
    auto& loaded = tq3::fw::Loaded();
    auto found = loaded.find(module);
    if (found == loaded.end()) return FALSE;
    if (--found->second.references > 0) return TRUE;
    void* dl = found->second.dl;
    loaded.erase(found);
    tq3::fw::KnownTables().erase(module);
    dlclose(dl);
    return TRUE;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    if (moduleName == nullptr) return tq3::fw::ProgramModule();
    try {
        std::string objectName = tq3::fw::SharedObjectNameFor(moduleName);
        if (objectName.empty()) return nullptr;
        for (const auto& [base, module] : tq3::fw::Loaded()) {
            if (tq3::fw::SameNameNoCase(module.objectName, objectName)) return base;
        }
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}
