/// \file
/// Language selection and the switching of the view's resources between the
/// per-language resource libraries.
///
/// Languages are numbered 0 English, 1 Japanese, 2 simplified Chinese, 3
/// traditional Chinese, 4 Korean; any other number stands for no language library
/// (the view's own built-in resources, or the application's own module). The
/// language the view shows its texts in (the library language) is set by the host;
/// the machine-wide registry language names the installed language of the product.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/export.h"
#include "framework/core/object.h"
#include "framework/core/wintypes.h"

/// Sets the library language and returns it; the value is not checked.
TQ3VIEW_EXPORT_C int VALMExSetLanguage(int language);
/// String `id` from the view resource library of the library language; empty when
/// that library cannot be loaded or has no such string.
TQ3VIEW_EXPORT_C void GetVALMExDLLString(UINT id, CString& text);
/// Shows string `idPrompt` of the library language in a message box owned by the
/// application's window and returns the button chosen (IDOK, IDYES...), or -1
/// without a box when the string is empty or cannot be loaded. A box with no icon
/// and OK, OK/Cancel, Yes/No/Cancel or Yes/No buttons gets the exclamation mark;
/// an empty caption gives the application's name.
TQ3VIEW_EXPORT_C int VALMExMessageBox(UINT idPrompt, UINT type, LPCWSTR caption);
/// The index of the registry language, or -1 when it is missing or names no language.
TQ3VIEW_EXPORT_C int GetLanguageRegistry();
/// Stores the registry name of `language` ("English" for anything outside 1-4).
TQ3VIEW_EXPORT_C void SetLanguageRegistry(int language);
/// With countOnly, the number of installed languages; otherwise the next entry of
/// the installed-language list, walked with `cookie` (start with 0xFFFFFFFF; it
/// comes back as 0xFFFFFFFF after the last entry). -1 when the product key is
/// missing, the list is exhausted or the entry names no known language.
TQ3VIEW_EXPORT_C int GetLanguageListRegistry(DWORD* cookie, BOOL countOnly);
/// Whether `language` is in the installed-language list: every language is, so
/// TRUE whatever the argument.
TQ3VIEW_EXPORT_C BOOL IsLanguageListRegistry(int language);

/// Makes a language's view resource library the current resource handle for the
/// life of the object (or until Restore), and puts the previous one back.
class TQ3VIEW_API CSwitchResource : public CObject {
    DECLARE_DYNAMIC(CSwitchResource)

public:
    CSwitchResource();
    ~CSwitchResource() override;

    /// FALSE (and nothing changed) when the language's library cannot be loaded.
    BOOL Switch(int language);
    /// Makes `held`, the view resource library of `language` that the caller keeps
    /// loaded for longer than this object, current without a reference of its own:
    /// nothing is loaded or given back, and nothing at all is done when `held` is
    /// current already. Without a library it is Switch(language).
    BOOL SwitchHeld(int language, HMODULE held);
    /// Puts the previous resource handle back and gives back a library the object
    /// loaded itself; TRUE. The destructor does this when a switch is in force.
    BOOL Restore();

    BOOL ok = TRUE;               ///< FALSE after a failed switch
    HMODULE library = nullptr;    ///< the view resource library made current
    HMODULE previous = nullptr;   ///< the current resource handle when the object was made
    BOOL switched = FALSE;        ///< a switch is in force
    int language = 0;             ///< the language of the last switch

private:
    BOOL borrowed = FALSE;        // `library` belongs to the caller of SwitchHeld
};

namespace tq3 {

/// The platform name of a language's view resource library ("TQ3VwJpn.dll" for
/// 1, which is libTQ3VwJpn.so beside the view library); null outside 0-4.
TQ3VIEW_API LPCWSTR ViewResourceLibraryName(int language);
/// The platform name of a language's application resource library
/// ("TQ3ResJpn.dll" for 1), which a host may ship; null outside 0-4.
TQ3VIEW_API LPCWSTR AppResourceLibraryName(int language);
/// The registry name of a language; null outside 0-4.
TQ3VIEW_API LPCWSTR LanguageRegistryName(int language);

/// The view library's own module, which holds its built-in resources.
TQ3VIEW_API HMODULE OwnModule();
/// The view resource library last loaded for the registry language (the own
/// module until one is loaded), as a reference the library keeps it in.
TQ3VIEW_API HMODULE& ViewResourceHandle();
/// The library language, as VALMExSetLanguage last set it (1, Japanese, until set).
TQ3VIEW_API int LibraryLanguage();

/// Loads the view resource library of `language` (0-4) from the view library's
/// folder; null when it is not there. The first time in a process that one cannot
/// be loaded, the standard error stream is told which folder was searched: the
/// library's strings are then empty and its message boxes answer -1, and a host's
/// developer should not have to guess why.
TQ3VIEW_API HMODULE LoadViewResourceLibrary(int language);

}  // namespace tq3

/// Makes the application's resources current for the life of the object when the
/// view's own or language resources are current (around calls of the host's
/// code), and restores the previous handle when it ends.
class TQ3VIEW_API CSwitchAppRes : public CObject {
    DECLARE_DYNAMIC(CSwitchAppRes)

public:
    CSwitchAppRes();
    ~CSwitchAppRes() override;

    HMODULE previous = nullptr;  ///< the current resource handle when the object was made
    BOOL switched = FALSE;       ///< the application's resources were made current

private:
    HMODULE loaded_ = nullptr;   // the application resource library this object loaded
};

namespace tq3 {
/// The view resource library of the registry language, remembered from the last
/// successful load (the view's own module outside 0-4).
TQ3VIEW_API HMODULE RegistryLanguageViewResources();
}  // namespace tq3
