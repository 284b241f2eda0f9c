#include "tests/support/failing_allocator.h"

#include <cstdlib>
#include <new>

namespace {

// The state is plain globals: everything runs on one thread, and the allocation
// functions must not themselves allocate.
bool armed = false;
long allowance = 0;
long refused = 0;

bool ShouldFail() {
    if (!armed) return false;
    if (allowance > 0) {
        --allowance;
        return false;
    }
    ++refused;
    return true;
}

void* Allocate(std::size_t size) {
    if (ShouldFail()) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

namespace tq3::test {

FailingAllocations::FailingAllocations(long succeedFirst) {
    allowance = succeedFirst;
    refused = 0;
    armed = true;
}

FailingAllocations::~FailingAllocations() { armed = false; }

long FailingAllocations::Refused() const { return refused; }

SweepResult SweepAllocations(const Sweep& sweep) {
    SweepResult result;
    for (long allowed = 0; result.runs < sweep.limit; allowed += sweep.sparse ? 1 + allowed / 8 : 1) {
        if (sweep.prepare) sweep.prepare();
        SweepRun run;
        run.allowed = allowed;
        {
            FailingAllocations failing(allowed);
            try {
                sweep.operation();
            } catch (const std::bad_alloc&) {
                run.threw = true;
            }
            run.refused = failing.Refused();
        }
        ++result.runs;
        if (sweep.check) sweep.check(run);
        if (run.refused == 0) {
            result.completed = true;
            break;
        }
        ++result.refusedRuns;
    }
    return result;
}

}  // namespace tq3::test

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
