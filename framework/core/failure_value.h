// One way for a public entry to fail when memory runs out.
//
// An entry with a documented failure value (ERROR_OUTOFMEMORY, FALSE, null, -1)
// runs its work through GuardAllocations: when an allocation inside throws
// std::bad_alloc, the entry returns its failure value instead of letting the
// exception reach the host. The work keeps the state unchanged on that path by
// allocating before it changes anything (or by undoing what it changed through
// destructors); the guard only turns the exception into the result.
//
// Everywhere else allocations are left to throw: the message boundary in CWnd
// catches what a handler lets through.
#pragma once

#include <new>
#include <utility>

namespace tq3::fw {

// `failure` is handed back by move, so a failure value that owns memory (an
// empty string) needs none to be returned.
template <typename Result, typename Operation>
Result GuardAllocations(Result failure, Operation&& operation) {
    try {
        return std::forward<Operation>(operation)();
    } catch (const std::bad_alloc&) {
        return failure;
    }
}

}  // namespace tq3::fw
