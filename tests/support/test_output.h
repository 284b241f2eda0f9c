// Where tests leave pictures for a person to look at: the folder named by
// TQ3_TEST_OUTPUT (the build's test-output folder under CTest), or the system's
// temporary folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tq3::test {

// The path of `name` in the subfolder `folder` of the output folder, which is made
// when missing.
inline std::string OutputPath(const std::string& folder, const std::string& name) {
    const char* env = std::getenv("TQ3_TEST_OUTPUT");
    std::error_code ignored;
    std::filesystem::path dir = env != nullptr ? std::filesystem::path(env) : std::filesystem::temp_directory_path(ignored);
    dir /= folder;
    std::filesystem::create_directories(dir, ignored);
    return (dir / name).string();
}

}  // namespace tq3::test
