// The fields of one record read the plain way, as the tests' independent oracle:
// split at TABs, then cut each field at its first CR or LF.
#pragma once

#include <string>
#include <vector>

namespace tq3::test {

inline std::vector<std::u16string> PlainFields(const std::u16string& record) {
    std::vector<std::u16string> fields;
    std::size_t from = 0;
    for (;;) {
        std::size_t tab = record.find(u'\t', from);
        std::u16string field = record.substr(from, tab == std::u16string::npos ? std::u16string::npos : tab - from);
        fields.push_back(field.substr(0, field.find_first_of(u"\r\n")));
        if (tab == std::u16string::npos) return fields;
        from = tab + 1;
    }
}

}  // namespace tq3::test
