// The .reg reader on arbitrary bytes. It must never crash; a refusal names a
// line inside the file; and every value it accepts, written back as text and
// read again, keeps its name, type and bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/tq3reg/reg_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::u16string text;
    tq3::reg::ParseError error;
    if (!tq3::reg::DecodeFile(bytes, &text, &error)) return 0;
    std::vector<tq3::reg::KeyEdit> edits;
    if (!tq3::reg::ParseRegText(text, &edits, &error)) {
        // Lines are counted from 1; the file has at most one more line than LFs.
        std::size_t lines = 1;
        for (char16_t c : text) lines += c == u'\n';
        if (error.line < 1 || static_cast<std::size_t>(error.line) > lines || error.message.empty()) std::abort();
        if (!edits.empty()) std::abort();
        return 0;
    }
    for (const tq3::reg::KeyEdit& key : edits) {
        for (const tq3::reg::ValueEdit& value : key.values) {
            if (value.remove) continue;
            std::u16string again = tq3::reg::FileHeader() + tq3::reg::FormatKeyLine(key.root, key.path) +
                                   tq3::reg::FormatValue(value.name, value.type, value.data);
            std::vector<tq3::reg::KeyEdit> reread;
            tq3::reg::ParseError problem;
            // Names with line breaks cannot be written in this format at all.
            if (value.name.find_first_of(u"\r\n") != std::u16string::npos) continue;
            if (key.path.find_first_of(u"\r\n") != std::u16string::npos) continue;
            if (!tq3::reg::ParseRegText(again, &reread, &problem)) std::abort();
            if (reread.size() != 1 || reread[0].values.size() != 1) std::abort();
            const tq3::reg::ValueEdit& back = reread[0].values[0];
            if (back.name != value.name || back.type != value.type || back.data != value.data) std::abort();
            if (reread[0].path != key.path || reread[0].root != key.root) std::abort();
        }
    }
    return 0;
}
