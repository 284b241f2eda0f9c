// Tab-separated tables with '#' comment lines, the format of the system's time
// zone and country tables: one record per line, fields separated by a single TAB,
// UTF-8 text. The column titles are taken from the comment block above the data:
// the first comment line that holds a TAB names the columns, and a comment line
// just before it that ends in '-' is the first half of a hyphenated first title
// ("#country-" over "#codes<TAB>...").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tq3::demo {

struct TabTable {
    std::vector<std::u16string> titles;             // from the comments; empty when none were found
    std::vector<std::vector<std::u16string>> rows;  // records with at least the required fields
    std::vector<int> rejectedLines;                 // 1-based numbers of records with too few fields
    std::string error;                              // why nothing could be read; empty on success
};

// Files larger than this are refused rather than read into memory.
constexpr size_t kMaxTabFileBytes = 16u << 20;

// Parses the text of a table. Records with fewer than `minFields` fields are
// rejected (their line numbers are kept); empty lines are skipped. Titles that are
// empty (several TABs used to line the comment up) are dropped.
TabTable ParseTabText(std::string_view text, size_t minFields);

// Reads and parses a file; `error` names the file and the reason when it is
// missing, unreadable, too large or holds no record.
TabTable LoadTabFile(const std::string& path, size_t minFields);

}  // namespace tq3::demo
