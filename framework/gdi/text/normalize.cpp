// NFC normalisation of runs for the text engine. Text is drawn normalised, so a base
// letter followed by a combining mark looks like the precomposed letter.
#include <unicode/unorm2.h>

#include "framework/gdi/text/font_internal.h"

namespace tq3::fw::text::detail {

namespace {

const UNormalizer2* Nfc() {
    static const UNormalizer2* nfc = [] {
        UErrorCode error = U_ZERO_ERROR;
        const UNormalizer2* n = unorm2_getNFCInstance(&error);
        return U_SUCCESS(error) ? n : nullptr;
    }();
    return nfc;
}

}  // namespace

// Everything below U+0300 is stable under NFC and nothing composes with it from
// there, so plain Latin text skips normalisation entirely.
bool MayNeedNormalizing(const WCHAR* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0x300) return Nfc() != nullptr;
    }
    return false;
}

bool StartsSegment(char32_t codePoint) {
    const UNormalizer2* nfc = Nfc();
    return nfc == nullptr || unorm2_hasBoundaryBefore(nfc, static_cast<UChar32>(codePoint));
}

bool NormalizeSegment(const WCHAR* text, int start, int end, std::u16string* out) {
    const UNormalizer2* nfc = Nfc();
    int n = end - start;
    try {
        if (nfc == nullptr) {
            out->assign(text + start, text + end);
            return true;
        }
        out->resize(static_cast<std::size_t>(n) + 8);
        for (;;) {
            UErrorCode error = U_ZERO_ERROR;
            int32_t written = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(text + start), n,
                                               reinterpret_cast<UChar*>(out->data()),
                                               static_cast<int32_t>(out->size()), &error);
            if (error == U_BUFFER_OVERFLOW_ERROR) {
                out->resize(static_cast<std::size_t>(written));
                continue;
            }
            if (U_FAILURE(error)) {
                // An unnormalisable segment is drawn as it stands.
                out->assign(text + start, text + end);
                return true;
            }
            out->resize(static_cast<std::size_t>(written));
            return true;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace tq3::fw::text::detail
