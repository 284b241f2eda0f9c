// Case mapping and locale comparison.
//
// Sections: case mapping (CharLowerW, CharUpperW and their buffer forms), then
// comparison: CompareStringW -> CollatorFor (cached per locale and flags) and
// Fold (kana type and width folding), then KanaWidthTieBreak when the collator's
// strength is too weak to see a difference the flags still ask for.
#include "framework/core/locale.h"

#include "framework/core/collation.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Surrogates are left alone: a supplementary character's case pair may lie in
// another plane's range of lengths, and a one-to-one mapping must never change how
// many code units the text has.
template <typename Map>
void MapInPlace(LPWSTR text, DWORD length, Map map) {
    for (DWORD i = 0; i < length; ++i) {
        WCHAR c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        UChar32 mapped = map(static_cast<UChar32>(c));
        if (mapped <= 0xFFFF && !(mapped >= 0xD800 && mapped <= 0xDFFF)) text[i] = static_cast<WCHAR>(mapped);
    }
}

DWORD Length(LPCWSTR text) {
    DWORD n = 0;
    while (text[n] != 0) ++n;
    return n;
}

template <typename Map>
LPWSTR MapArgument(LPWSTR text, Map map) {
    if (text == nullptr) return nullptr;
    if (IS_INTRESOURCE(text)) {
        WCHAR c = static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(text));
        MapInPlace(&c, 1, map);
        return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c));
    }
    MapInPlace(text, Length(text), map);
    return text;
}

}  // namespace

LPWSTR CharLowerW(LPWSTR text) { return MapArgument(text, u_tolower); }
LPWSTR CharUpperW(LPWSTR text) { return MapArgument(text, u_toupper); }

DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    MapInPlace(text, length, u_tolower);
    return length;
}

DWORD CharUpperBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    MapInPlace(text, length, u_toupper);
    return length;
}

// ---------------------------------------------------------------------------
// Comparison
// ---------------------------------------------------------------------------
//
// The flags map onto ICU collation as follows:
//  - nothing ignored: tertiary strength (case, marks, width and kana type count);
//  - NORM_IGNORECASE: secondary strength (marks still count);
//  - NORM_IGNORENONSPACE: primary strength, with the case level switched on unless
//    case is ignored too;
//  - NORM_IGNORESYMBOLS: punctuation, symbols and currency signs are shifted
//    (ignorable);
//  - NORM_IGNOREKANATYPE, NORM_IGNOREWIDTH: katakana are folded to hiragana and
//    wide or narrow forms to their ordinary form before comparing.
// Below tertiary strength ICU no longer sees kana type or width, but the platform
// still tells hiragana from katakana unless told to ignore kana type, and tells
// wide from narrow forms when case matters and width is not ignored; a tie-break
// restores those differences for strings the collator finds equal.

namespace {

constexpr DWORD kKnownFlags =
    NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
// The flags that change how a collator is set up (kana type and width are folded
// outside it).
constexpr DWORD kCollatorFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS;

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

// One collator per locale and flag combination, made on first use and kept: opening
// a collator costs far more than a comparison. Everything runs on the UI thread.
std::map<std::pair<LCID, DWORD>, CollatorPtr>& Collators() {
    static std::map<std::pair<LCID, DWORD>, CollatorPtr> collators;
    return collators;
}

bool IsDefaultLocale(LCID locale) {
    return locale == 0 || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT;
}

CollatorPtr OpenCollator(LCID locale, DWORD flags) {
    if (IsDefaultLocale(locale)) return CollatorPtr(tq3::fw::OpenCompareCollator(tq3::fw::DefaultCollationLocale().c_str(), flags));
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(locale, name, sizeof name, &status);
    if (U_FAILURE(status) || name[0] == 0) return nullptr;
    return CollatorPtr(tq3::fw::OpenCompareCollator(name, flags));
}

UCollator* CollatorFor(LCID locale, DWORD flags) {
    const auto key = std::make_pair(IsDefaultLocale(locale) ? LOCALE_USER_DEFAULT : locale, flags & kCollatorFlags);
    auto& collators = Collators();
    auto found = collators.find(key);
    if (found != collators.end()) return found->second.get();
    CollatorPtr made = OpenCollator(locale, key.second);
    if (!made) return nullptr;
    return collators.emplace(key, std::move(made)).first->second.get();
}

bool IsKatakana(UChar32 c) { return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE; }
bool IsHiragana(UChar32 c) { return (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E; }

int WidthOf(UChar32 c) {
    switch (u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE)) {
        case U_DT_WIDE:
            return 1;
        case U_DT_NARROW:
            return 2;
        default:
            return 0;
    }
}

void AppendCodePoint(std::u16string& to, UChar32 c) {
    if (c > 0xFFFF) {
        to.push_back(static_cast<char16_t>(U16_LEAD(c)));
        to.push_back(static_cast<char16_t>(U16_TRAIL(c)));
    } else {
        to.push_back(static_cast<char16_t>(c));
    }
}

UChar32 FoldKana(UChar32 c, DWORD flags) { return (flags & NORM_IGNOREKANATYPE) != 0 && IsKatakana(c) ? c - 0x60 : c; }

// Appends `c` with the differences the flags ignore folded away: a wide or narrow
// form becomes its ordinary form, then a katakana its hiragana.
void AppendFolded(std::u16string& to, UChar32 c, DWORD flags, const UNormalizer2* compatibility) {
    if ((flags & NORM_IGNOREWIDTH) != 0 && compatibility != nullptr && WidthOf(c) != 0) {
        UChar decomposed[8];
        UErrorCode status = U_ZERO_ERROR;
        int32_t n = unorm2_getRawDecomposition(compatibility, c, decomposed, 8, &status);
        if (U_SUCCESS(status) && n > 0) {
            for (int32_t i = 0; i < n;) {
                UChar32 d;
                U16_NEXT(decomposed, i, n, d);
                AppendCodePoint(to, FoldKana(d, flags));
            }
            return;
        }
    }
    AppendCodePoint(to, FoldKana(c, flags));
}

std::u16string Fold(const WCHAR* text, int32_t length, DWORD flags) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* compatibility = unorm2_getNFKCInstance(&status);
    if (U_FAILURE(status)) compatibility = nullptr;
    std::u16string folded;
    folded.reserve(static_cast<std::size_t>(length));
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(text, i, length, c);
        AppendFolded(folded, c, flags, compatibility);
    }
    return folded;
}

// The kana type and width of each letter, digit and kana, in order: what
// distinguishes two strings that a weaker-than-tertiary collator found equal.
std::u16string KanaWidthMarks(std::u16string_view text, bool kana, bool width) {
    std::u16string marks;
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(text.data(), i, length, c);
        if (!u_isalnum(c)) continue;
        marks.push_back(static_cast<char16_t>(tq3::fw::KanaWidthMark(static_cast<char32_t>(c), kana, width)));
    }
    return marks;
}

int KanaWidthTieBreak(std::u16string_view a, std::u16string_view b, DWORD flags) {
    const bool kana = (flags & NORM_IGNOREKANATYPE) == 0;
    const bool width = (flags & (NORM_IGNOREWIDTH | NORM_IGNORECASE)) == 0;
    if (!kana && !width) return 0;
    const int order = KanaWidthMarks(a, kana, width).compare(KanaWidthMarks(b, kana, width));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int32_t LengthOf(LPCWSTR text, int length) {
    if (length >= 0) return length;
    int32_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

int CompareFolded(LCID locale, DWORD flags, std::u16string_view a, std::u16string_view b) {
    UCollator* collator = CollatorFor(locale, flags);
    if (collator == nullptr) return 0;
    const auto* ua = reinterpret_cast<const UChar*>(a.data());
    const auto* ub = reinterpret_cast<const UChar*>(b.data());
    int order = ucol_strcoll(collator, ua, static_cast<int32_t>(a.size()), ub, static_cast<int32_t>(b.size()));
    if (order == 0 && (flags & (NORM_IGNORECASE | NORM_IGNORENONSPACE)) != 0) order = KanaWidthTieBreak(a, b, flags);
    return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

}  // namespace

int CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int lengthA, LPCWSTR b, int lengthB) {
    if (a == nullptr || b == nullptr || lengthA < -1 || lengthB < -1 || (flags & ~kKnownFlags) != 0) return 0;
    try {
        const int32_t na = LengthOf(a, lengthA);
        const int32_t nb = LengthOf(b, lengthB);
        if ((flags & (NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH)) == 0)
            return CompareFolded(locale, flags, {a, static_cast<std::size_t>(na)}, {b, static_cast<std::size_t>(nb)});
        return CompareFolded(locale, flags, Fold(a, na, flags), Fold(b, nb, flags));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

namespace tq3::fw {

bool AppendSortKey(LCID locale, DWORD flags, std::u16string_view text, std::string& key) {
    UCollator* collator = CollatorFor(locale, flags & (NORM_IGNORECASE | NORM_IGNORENONSPACE));
    if (collator == nullptr) return false;
    const auto* source = reinterpret_cast<const UChar*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    // Most keys fit a small buffer; a longer one is asked for again at its size.
    uint8_t small[256];
    int32_t needed = ucol_getSortKey(collator, source, length, small, static_cast<int32_t>(sizeof small));
    if (needed <= 0) return false;
    const std::size_t start = key.size();
    if (needed <= static_cast<int32_t>(sizeof small)) {
        key.append(reinterpret_cast<const char*>(small), static_cast<std::size_t>(needed) - 1);  // no final zero
        return true;
    }
    key.resize(start + static_cast<std::size_t>(needed));
    ucol_getSortKey(collator, source, length, reinterpret_cast<uint8_t*>(key.data() + start), needed);
    key.resize(start + static_cast<std::size_t>(needed) - 1);
    return true;
}

std::string DefaultCollationLocale() {
    const char* name = uloc_getDefault();
    if (name == nullptr) return std::string();
    char variant[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getVariant(name, variant, sizeof variant, &status);
    return U_SUCCESS(status) && std::string_view(variant) == "POSIX" ? std::string() : std::string(name);
}

UCollator* OpenCompareCollator(const char* icuLocale, DWORD flags) {
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open(icuLocale != nullptr ? icuLocale : "", &status));
    if (U_FAILURE(status) || !collator) return nullptr;
    UCollator* c = collator.get();
    ucol_setAttribute(c, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    if ((flags & NORM_IGNORENONSPACE) != 0) {
        // Accents and other marks are secondary differences; the case level keeps
        // case apart at primary strength when the caller does not ignore it.
        ucol_setStrength(c, UCOL_PRIMARY);
        if ((flags & NORM_IGNORECASE) == 0) ucol_setAttribute(c, UCOL_CASE_LEVEL, UCOL_ON, &status);
    } else {
        ucol_setStrength(c, (flags & NORM_IGNORECASE) != 0 ? UCOL_SECONDARY : UCOL_TERTIARY);
    }
    if ((flags & NORM_IGNORESYMBOLS) != 0) {
        // Spaces, punctuation, symbols and currency signs become ignorable.
        ucol_setAttribute(c, UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
        ucol_setMaxVariable(c, UCOL_REORDER_CODE_CURRENCY, &status);
    } else {
        ucol_setAttribute(c, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    }
    if (U_FAILURE(status)) return nullptr;
    return collator.release();
}

int KanaWidthMark(char32_t c, bool kana, bool width) {
    const auto unit = static_cast<UChar32>(c);
    int mark = 0;
    if (kana) mark += IsHiragana(unit) ? 1 : IsKatakana(unit) ? 2 : 0;
    if (width) mark += 4 * WidthOf(unit);
    return mark;
}

}  // namespace tq3::fw

// ============================================================================
// The user-interface language
// ============================================================================

namespace {

constexpr LANGID kEnglish = 0x0409;
constexpr LANGID kJapanese = 0x0411;
constexpr LANGID kSimplifiedChinese = 0x0804;
constexpr LANGID kTraditionalChinese = 0x0404;
constexpr LANGID kKorean = 0x0412;

thread_local LANGID t_threadLanguage = 0;

// The language of a locale name such as "ja_JP.UTF-8", "zh_TW", "zh_Hant" or
// "ko"; 0 for one the framework has no texts in.
LANGID LanguageOfLocaleName(std::string_view name) {
    auto startsWith = [&](std::string_view prefix) { return name.substr(0, prefix.size()) == prefix; };
    if (startsWith("ja")) return kJapanese;
    if (startsWith("ko")) return kKorean;
    if (startsWith("zh")) {
        const bool traditional = name.find("TW") != std::string_view::npos ||
                                 name.find("HK") != std::string_view::npos ||
                                 name.find("MO") != std::string_view::npos ||
                                 name.find("Hant") != std::string_view::npos;
        return traditional ? kTraditionalChinese : kSimplifiedChinese;
    }
    if (startsWith("en")) return kEnglish;
    return 0;
}

}  // namespace

LANGID GetUserDefaultUILanguage() {
    // LANGUAGE is a list ("ja:en") and counts only beside a real locale, as for
    // the system's own programs; the first of the others that is set decides.
    const char* all = std::getenv("LC_ALL");
    const char* messages = std::getenv("LC_MESSAGES");
    const char* lang = std::getenv("LANG");
    const char* decides = all != nullptr && *all != '\0'               ? all
                          : messages != nullptr && *messages != '\0' ? messages
                                                                       : lang;
    if (decides == nullptr || *decides == '\0' || std::string_view(decides) == "C" ||
        std::string_view(decides) == "POSIX") {
        return kEnglish;
    }
    if (const char* list = std::getenv("LANGUAGE")) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const size_t colon = rest.find(':');
            const LANGID language = LanguageOfLocaleName(rest.substr(0, colon));
            if (language != 0) return language;
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    const LANGID language = LanguageOfLocaleName(decides);
    return language != 0 ? language : kEnglish;
}

LANGID GetThreadUILanguage() { return t_threadLanguage != 0 ? t_threadLanguage : GetUserDefaultUILanguage(); }

LANGID SetThreadUILanguage(LANGID language) {
    if (language == 0) {
        t_threadLanguage = 0;
        return GetUserDefaultUILanguage();
    }
    if (language != kEnglish && language != kJapanese && language != kSimplifiedChinese &&
        language != kTraditionalChinese && language != kKorean) {
        return 0;
    }
    t_threadLanguage = language;
    return language;
}
