#include "demo/tab_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>

#include "demo/text_lines.h"
#include "framework/core/utf.h"

namespace tq3::demo {

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::u16string Widen(std::string_view text) { return tq3::fw::Utf8ToU16(text); }

// The titles named by a comment line holding TABs, with the hyphenated first half
// carried over from the comment line before it.
std::vector<std::u16string> TitlesFrom(std::string_view titleLine, std::string_view previousComment) {
    std::vector<std::u16string> titles;
    bool first = true;
    for (std::string_view field : SplitTabs(titleLine)) {
        if (field.empty()) continue;
        std::string title(field);
        if (first && !previousComment.empty() && previousComment.back() == '-') {
            title = std::string(previousComment) + title;
        }
        first = false;
        titles.push_back(Widen(title));
    }
    return titles;
}

}  // namespace

TabTable ParseTabText(std::string_view text, size_t minFields) {
    TabTable table;
    try {
        bool inData = false;          // titles come only from comments above the first record
        std::string_view previous;    // the comment line before the current one
        TextLines lines(text);
        std::string_view line;
        while (lines.Next(&line)) {
            if (line.empty()) continue;
            if (line.front() == '#') {
                std::string_view comment = line.substr(1);
                if (!inData && table.titles.empty() && comment.find('\t') != std::string_view::npos) {
                    table.titles = TitlesFrom(comment, previous);
                }
                previous = comment;
                continue;
            }
            inData = true;
            std::vector<std::string_view> fields = SplitTabs(line);
            if (fields.size() < minFields) {
                table.rejectedLines.push_back(lines.Number());
                continue;
            }
            std::vector<std::u16string> row;
            row.reserve(fields.size());
            for (std::string_view field : fields) row.push_back(Widen(field));
            table.rows.push_back(std::move(row));
        }
    } catch (const std::bad_alloc&) {
        table = TabTable{};
        table.error = "out of memory";
    }
    return table;
}

TabTable LoadTabFile(const std::string& path, size_t minFields) {
    TabTable table;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        table.error = path + ": " + std::strerror(errno);
        return table;
    }
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        table.error = path + ": cannot be read";
        return table;
    }
    if (static_cast<unsigned long long>(size) > kMaxTabFileBytes) {
        table.error = path + ": larger than " + std::to_string(kMaxTabFileBytes >> 20) + " MiB";
        return table;
    }
    std::string text;
    try {
        text.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        table.error = path + ": out of memory";
        return table;
    }
    if (!in.read(text.data(), size)) {
        table.error = path + ": cannot be read";
        return table;
    }
    table = ParseTabText(text, minFields);
    if (!table.error.empty()) {
        table.error = path + ": " + table.error;
    } else if (table.rows.empty()) {
        table.error = path + ": holds no records";
    }
    return table;
}

}  // namespace tq3::demo
