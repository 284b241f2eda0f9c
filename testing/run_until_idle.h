// Shared by the harness's sources: one run of the queue and the application's
// idle processing until nothing is left to do; the key that types a character;
// the live desktop's failure handler.
#pragma once

#include <string>

#include "framework/backends/headless/headless_backend.h"

namespace tq3::testing::detail {

int RunUntilIdle(tq3::fw::HeadlessBackend& backend);

// The key of the US layout that types `ch`, shifted or not; false when no one
// key does.
bool KeyForChar(WCHAR ch, int* vk, bool* shift);

// Reports to the live desktop's failure handler (by default: print and abort).
void Fail(const std::string& description);

}  // namespace tq3::testing::detail
