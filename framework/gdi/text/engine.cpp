// The engine singleton: fontconfig configuration with the platform face-name aliases,
// face matching for a LOGFONTW, the cache of realised fonts and the list of families.
//
// Sections: aliases -> Engine construction -> matching (MatchFaces) -> cache (Realize,
// ClearCaches) -> families (ListFamilies).
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "framework/core/ascii_case.h"
#include "framework/core/utf.h"
#include "framework/gdi/text/font_internal.h"

#if defined(__SANITIZE_ADDRESS__)
#define TQ3_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TQ3_LEAK_CHECKED 1
#endif
#endif
#ifdef TQ3_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

namespace tq3::fw::text {

namespace {

// ---- aliases ---------------------------------------------------------------------
// The platform's face names that programs ask for, and the installed faces that stand
// for them, best first. Matching is case-insensitive and ignores blanks.
struct AliasGroup {
    std::vector<const char*> names;
    std::vector<const char*> faces;
};

const std::vector<AliasGroup>& AliasGroups() {
    static const std::vector<AliasGroup> groups = {
        {{"MS UI Gothic", "MS PGothic", "Meiryo", "Meiryo UI", "Yu Gothic", "Yu Gothic UI",
          "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF",  // MS P-gothic, full-width
          "\xE3\x83\xA1\xE3\x82\xA4\xE3\x83\xAA\xE3\x82\xAA"},                                   // Meiryo in kana
         {"IPAPGothic", "IPAGothic"}},
        {{"MS Gothic", "\xEF\xBC\xAD\xEF\xBC\xB3 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF"},
         {"IPAGothic", "IPAPGothic"}},
        {{"MS Mincho", "MS PMincho"}, {"IPAMincho", "IPAGothic"}},
        {{"SimSun", "NSimSun", "SimHei", "Microsoft YaHei", "PMingLiU", "MingLiU", "Microsoft JhengHei",
          "\xE5\xAE\x8B\xE4\xBD\x93", "\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94"},
         {"WenQuanYi Micro Hei"}},
        {{"Gulim", "GulimChe", "Dotum", "DotumChe", "Batang", "Malgun Gothic", "\xEA\xB5\xB4\xEB\xA6\xBC",
          "\xEB\x8F\x8B\xEC\x9B\x80"},
         {"WenQuanYi Micro Hei"}},
        {{"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Segoe UI",
          "Arial", "Verdana", "System"},
         {"DejaVu Sans"}},
        {{"Courier New", "Courier", "Consolas", "Lucida Console", "Fixedsys", "Terminal"}, {"DejaVu Sans Mono"}},
        {{"Times New Roman", "MS Serif", "Georgia"}, {"DejaVu Serif"}},
    };
    return groups;
}

// Our aliases go first in the family list, ahead of anything the system's own rules
// add, so that the same name lands on the same face on every machine with the fonts.
// Only the requested (first) family is tested: the system's rules append platform
// names of their own ("Tahoma", "Arial"...) that must not pull in another alias.
std::string AliasConfig() {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
    for (const AliasGroup& group : AliasGroups()) {
        for (const char* name : group.names) {
            xml += "<match target=\"pattern\"><test qual=\"first\" name=\"family\" ignore-blanks=\"true\"><string>";
            xml += name;
            xml += "</string></test><edit name=\"family\" mode=\"prepend_first\" binding=\"strong\">";
            for (const char* face : group.faces) {
                xml += "<string>";
                xml += face;
                xml += "</string>";
            }
            xml += "</edit></match>\n";
        }
    }
    xml += "</fontconfig>\n";
    return xml;
}

// lfCharSet as a language for matching: it orders the fallback faces for Han
// characters and picks the default face of an unnamed font.
const char* LanguageOf(BYTE charSet) {
    switch (charSet) {
        case SHIFTJIS_CHARSET: return "ja";
        case HANGUL_CHARSET:
        case 130:  // JOHAB_CHARSET
            return "ko";
        case GB2312_CHARSET: return "zh-cn";
        case CHINESEBIG5_CHARSET: return "zh-tw";
        default: return nullptr;
    }
}

const char* DefaultFamily(BYTE charSet) {
    switch (charSet) {
        case SHIFTJIS_CHARSET: return "MS UI Gothic";
        case HANGUL_CHARSET:
        case 130: return "Gulim";
        case GB2312_CHARSET:
        case CHINESEBIG5_CHARSET: return "SimSun";
        default: return "MS Shell Dlg";
    }
}

std::string FaceNameUtf8(const LOGFONTW& lf) {
    std::string out;
    for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i] != 0; ++i) {
        char32_t c;
        int next = DecodeAt(lf.lfFaceName, LF_FACESIZE, i, &c);
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        i = next - 1;
    }
    return out;
}

// Equal fonts are equal LOGFONTWs, with the face name compared up to its end and
// without regard to ASCII case, as the platform compares face names.
std::u16string CacheKey(const LOGFONTW& lf) {
    std::u16string key;
    for (LONG v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight}) {
        key += static_cast<char16_t>(static_cast<DWORD>(v) & 0xFFFF);
        key += static_cast<char16_t>(static_cast<DWORD>(v) >> 16);
    }
    for (BYTE b : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
                   lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily}) {
        key += static_cast<char16_t>(b);
    }
    for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i] != 0; ++i) {
        char16_t c = lf.lfFaceName[i];
        key += AsciiLower(c);
    }
    return key;
}

// Distributions install some faces under a second, linked name; the real file is the
// one face, whichever name fontconfig listed.
std::string CanonicalPath(const char* file) {
    char resolved[PATH_MAX];
    return realpath(file, resolved) != nullptr ? std::string(resolved) : std::string(file);
}

constexpr int kMaxFaces = 16;        // the matched face and its fallbacks
constexpr std::size_t kMaxCachedFonts = 256;

}  // namespace

// ---- construction ----------------------------------------------------------------

Engine& Engine::Get() {
    static Engine* engine = new Engine();  // never destroyed: see the class comment
    return *engine;
}

Engine::Engine() {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    {
#ifdef TQ3_LEAK_CHECKED
        // fontconfig loses a few hundred bytes while parsing the system configuration,
        // once per process; that is not ours to report.
        __lsan::ScopedDisabler systemParser;
#endif
        config_ = FcInitLoadConfigAndFonts();
    }
    if (config_ == nullptr) return;
    std::string xml = AliasConfig();
    if (!FcConfigParseAndLoadFromMemory(config_, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue)) return;
    status_ = TextStatus::kOk;
}

// ---- matching --------------------------------------------------------------------

bool Engine::MatchFaces(const LOGFONTW& lf, std::vector<FaceSlot>* faces) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    std::string family = FaceNameUtf8(lf);
    if (family.empty()) family = DefaultFamily(lf.lfCharSet);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    bool wantBold = lf.lfWeight >= FW_SEMIBOLD;
    bool wantItalic = lf.lfItalic != 0;
    int weight = lf.lfWeight > 0 ? lf.lfWeight : FW_NORMAL;
    if (weight > 1000) weight = 1000;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, wantItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (const char* lang = LanguageOf(lf.lfCharSet)) {
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    }
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(config_, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
    if (set == nullptr) return false;
    // Released on every way out, a refused allocation in the loop included.
    std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> ownSet(set, FcFontSetDestroy);
    for (int i = 0; i < set->nfont && static_cast<int>(faces->size()) < kMaxFaces; ++i) {
        FcPattern* font = set->fonts[i];
        FcChar8* file = nullptr;
        FcBool scalable = FcTrue;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable) continue;
        FaceSlot slot;
        slot.file = CanonicalPath(reinterpret_cast<const char*>(file));
        FcPatternGetInteger(font, FC_INDEX, 0, &slot.index);
        bool seen = false;
        for (const FaceSlot& other : *faces) seen = seen || (other.file == slot.file && other.index == slot.index);
        if (seen) continue;
        int faceWeight = FC_WEIGHT_REGULAR;
        int faceSlant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_WEIGHT, 0, &faceWeight);
        FcPatternGetInteger(font, FC_SLANT, 0, &faceSlant);
        slot.embolden = wantBold && faceWeight < FC_WEIGHT_DEMIBOLD;
        slot.oblique = wantItalic && faceSlant == FC_SLANT_ROMAN;
        FcCharSet* charset = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch) {
            slot.charset = FcCharSetCopy(charset);
        }
        try {
            faces->push_back(std::move(slot));
        } catch (...) {
            if (slot.charset) FcCharSetDestroy(slot.charset);
            throw;
        }
    }
    return !faces->empty();
}

// ---- cache -----------------------------------------------------------------------

FontRef Engine::Realize(const LOGFONTW& logFont, TextStatus* status) {
    if (status_ != TextStatus::kOk) {
        *status = status_;
        return nullptr;
    }
    std::u16string key = CacheKey(logFont);
    auto found = cache_.find(key);
    if (found != cache_.end()) {
        *status = TextStatus::kOk;
        return found->second;
    }
    std::vector<FaceSlot> faces;
    bool matched = false;
    try {
        matched = MatchFaces(logFont, &faces);
    } catch (...) {
        for (FaceSlot& slot : faces) {
            if (slot.charset) FcCharSetDestroy(slot.charset);
        }
        throw;
    }
    if (!matched) {
        *status = TextStatus::kNoUsableFont;
        return nullptr;
    }
    std::unique_ptr<Font> font = Font::Create(library_, logFont, std::move(faces), status);
    if (!font) return nullptr;
    if (cache_.size() >= kMaxCachedFonts) {
        for (auto it = cache_.begin(); it != cache_.end();) {
            it = it->second.use_count() == 1 ? cache_.erase(it) : std::next(it);
        }
    }
    FontRef ref(font.release());
    cache_.emplace(std::move(key), ref);
    *status = TextStatus::kOk;
    return ref;
}

void Engine::ClearCaches() {
    for (auto it = cache_.begin(); it != cache_.end();) {
        if (it->second.use_count() == 1) {
            it = cache_.erase(it);
        } else {
            it->second->ClearGlyphs();
            ++it;
        }
    }
}

// ---- families --------------------------------------------------------------------

namespace {

// The character sets a face covers, by the languages fontconfig says it supports.
std::vector<BYTE> CharSetsOf(FcPattern* font) {
    static const std::pair<const char*, BYTE> kLanguages[] = {
        {"en", ANSI_CHARSET},  {"ja", SHIFTJIS_CHARSET},   {"ko", HANGUL_CHARSET},
        {"zh-cn", GB2312_CHARSET}, {"zh-tw", CHINESEBIG5_CHARSET}};
    std::vector<BYTE> sets;
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &langs) != FcResultMatch) return sets;
    for (const auto& [language, charSet] : kLanguages) {
        if (FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(language)) == FcLangEqual) sets.push_back(charSet);
    }
    return sets;
}

}  // namespace

std::vector<FamilyInfo> Engine::Families() {
    std::vector<FamilyInfo> families;
    if (status_ != TextStatus::kOk) return families;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, FC_LANG, nullptr);
    FcFontSet* fonts = pattern != nullptr && objects != nullptr ? FcFontList(config_, pattern, objects) : nullptr;
    try {
        // One entry a family, with the character sets of all its faces.
        std::map<std::u16string, FamilyInfo> byName;
        for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
            std::u16string name = Utf8ToU16(reinterpret_cast<const char*>(family));
            if (name.empty() || name.size() >= LF_FACESIZE) continue;
            int spacing = FC_PROPORTIONAL;
            FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing);
            FamilyInfo& info = byName.try_emplace(name, FamilyInfo{name, spacing >= FC_MONO, false, {}}).first->second;
            for (BYTE set : CharSetsOf(fonts->fonts[i])) {
                if (std::find(info.charSets.begin(), info.charSets.end(), set) == info.charSets.end()) {
                    info.charSets.push_back(set);
                }
            }
        }
        // The platform's names stand for the first installed face of their group.
        for (const AliasGroup& group : AliasGroups()) {
            auto face = std::find_if(group.faces.begin(), group.faces.end(),
                                     [&](const char* f) { return byName.count(Utf8ToU16(f)) != 0; });
            if (face == group.faces.end()) continue;
            FamilyInfo stand = byName.at(Utf8ToU16(*face));
            for (const char* alias : group.names) {
                std::u16string name = Utf8ToU16(alias);
                if (byName.count(name) != 0) continue;
                byName.emplace(name, FamilyInfo{name, stand.fixedPitch, true, stand.charSets});
            }
        }
        for (auto& entry : byName) families.push_back(std::move(entry.second));
        std::sort(families.begin(), families.end(),
                  [](const FamilyInfo& a, const FamilyInfo& b) { return LessIgnoringAsciiCase(a.name, b.name); });
    } catch (const std::bad_alloc&) {
        families.clear();
    }
    if (fonts != nullptr) FcFontSetDestroy(fonts);
    if (objects != nullptr) FcObjectSetDestroy(objects);
    if (pattern != nullptr) FcPatternDestroy(pattern);
    return families;
}

std::vector<FamilyInfo> ListFamilies() { return Engine::Get().Families(); }

}  // namespace tq3::fw::text
