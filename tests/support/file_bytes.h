// Reading a file whole, for tests that check what a program wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tq3::test {

// A file's bytes; empty for anything that is not a readable file.
inline std::string ReadFile(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) return {};
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tq3::test
