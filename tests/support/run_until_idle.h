// Shared by the harness's sources: one run of the queue and the application's
// idle processing until nothing is left to do.
#pragma once

#include "framework/backends/headless/headless_backend.h"

namespace tq3::testing::detail {

int RunUntilIdle(tq3::fw::HeadlessBackend& backend);

}  // namespace tq3::testing::detail
