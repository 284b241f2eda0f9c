// The bytes of a fuzz input read one at a time, as the action-sequence targets
// take their opcodes and operands: a byte past the end reads as 0, so a cut-off
// action still runs with defaults.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tq3::fuzz {

class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return pos_ >= size_; }
    int Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace tq3::fuzz
