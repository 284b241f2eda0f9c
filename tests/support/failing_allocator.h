// Allocation failure on demand, for tests of the out-of-memory paths.
//
// A test program that links failing_allocator.cpp replaces the global allocation
// functions with ones that count allocations and, once armed, fail: the throwing
// forms throw std::bad_alloc and the nothrow forms return null, as a real
// exhausted heap would. Only code that runs while a FailingAllocations scope is
// alive is affected.
#pragma once

#include <functional>

namespace tq3::test {

class FailingAllocations {
public:
    // Lets `succeedFirst` more allocations through, then fails every one after.
    explicit FailingAllocations(long succeedFirst = 0);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    // How many allocations were refused while this scope was alive.
    long Refused() const;
};

// One run of a sweep: the allocations let through before the rest were refused,
// how many were refused, and whether std::bad_alloc came out of the operation.
struct SweepRun {
    long allowed = 0;
    long refused = 0;
    bool threw = false;
};

// An operation run again and again with its first 0, 1, 2... allocations let
// through and every later one refused, until a run needs no refusal: each
// allocation it makes fails once, in turn.
struct Sweep {
    std::function<void()> prepare{};             // before each run, memory available (may be empty)
    std::function<void()> operation{};           // the run, allocations refused after `allowed`
    std::function<void(const SweepRun&)> check{};  // after each run, memory back: the invariant
    long limit = 5000;                           // runs at most
    bool sparse = false;                         // long operations: the allowance grows by 1 + allowed / 8
};

struct SweepResult {
    long runs = 0;
    long refusedRuns = 0;    // runs in which an allocation was refused
    bool completed = false;  // a run went through without a refusal
};

SweepResult SweepAllocations(const Sweep& sweep);

}  // namespace tq3::test
