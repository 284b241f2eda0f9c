// Groups the writes of one settings operation (a section deleted and written
// again) into one transaction of the per-user store, so that a process that dies
// halfway, or runs out of memory halfway, leaves the section as it was before
// rather than half deleted. When a transaction cannot be started (the host holds
// one open already, or the store cannot be written) the writes go on one by one,
// each in its own transaction, as they would without this scope.
#pragma once

#include "framework/system/registry.h"

namespace tq3 {

class SettingsTransaction {
public:
    SettingsTransaction() noexcept : open_(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER) == ERROR_SUCCESS) {}
    // Leaving without Commit (an early return on failure, an exception) undoes
    // everything written inside the scope.
    ~SettingsTransaction() {
        if (open_) tq3::fw::RollbackRegistryTransaction(HKEY_CURRENT_USER);
    }
    SettingsTransaction(const SettingsTransaction&) = delete;
    SettingsTransaction& operator=(const SettingsTransaction&) = delete;

    void Commit() noexcept {
        if (open_) tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER);
        open_ = false;
    }

private:
    bool open_;  // this scope began the transaction and has not ended it
};

}  // namespace tq3
