// Reading a text line by line: the tables and the scripts the demo reads are
// both line-oriented, may end with or without a final newline, and may have been
// saved with CR LF line ends.
#pragma once

#include <string_view>

namespace tq3::demo {

class TextLines {
public:
    explicit TextLines(std::string_view text) : text_(text) {}

    // The next line without its line end (a trailing CR dropped); false after the last.
    bool Next(std::string_view* line) {
        if (start_ >= text_.size()) return false;
        size_t end = text_.find('\n', start_);
        if (end == std::string_view::npos) end = text_.size();
        *line = text_.substr(start_, end - start_);
        start_ = end + 1;
        ++number_;
        if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
        return true;
    }
    // 1-based number of the line Next returned last.
    int Number() const { return number_; }

private:
    std::string_view text_;
    size_t start_ = 0;
    int number_ = 0;
};

}  // namespace tq3::demo
