// Allocation failure on demand, for tests of the out-of-memory paths.
//
// A test program that links failing_allocator.cpp replaces the global allocation
// functions with ones that count allocations and, once armed, fail: the throwing
// forms throw std::bad_alloc and the nothrow forms return null, as a real
// exhausted heap would. Only code that runs while a FailingAllocations scope is
// alive is affected.
#pragma once

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

}  // namespace tq3::test
