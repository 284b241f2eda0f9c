// GoogleTest glue for the harness's comparisons: a spy's or a capture's verdict
// as an assertion whose failure message is the side-by-side report, and short
// ways to write expected message sequences.
#pragma once

#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <initializer_list>
#include <vector>

namespace tq3::test {

// EXPECT_TRUE(Same(spy.Compare(...))) prints both sequences when they differ.
inline ::testing::AssertionResult Same(const tq3::testing::Comparison& comparison) {
    if (comparison.ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n" << comparison.report;
}

// The messages, in order, each expected in `window` when one is given.
inline std::vector<tq3::testing::Expect> Msgs(const std::vector<UINT>& messages, HWND window = nullptr) {
    std::vector<tq3::testing::Expect> expected;
    for (UINT message : messages) {
        expected.push_back(tq3::testing::Msg(message));
        if (window != nullptr) expected.back().In(window);
    }
    return expected;
}

}  // namespace tq3::test
