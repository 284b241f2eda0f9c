// The registry side of tq3reg: listing and exporting keys through the registry
// functions, and applying the edits of a file all together.
#pragma once

#include <string>
#include <vector>

#include "tools/tq3reg/reg_text.h"

namespace tq3::reg {

// A short description of a registry result for messages ("key not found").
std::string DescribeResult(LONG result);

// The key's values and its direct subkeys, for reading by a person; data larger
// than 16 KiB is not read, only its size shown.
bool ListKey(RootKind root, const std::u16string& path, std::u16string* out, std::string* error);
// The key and everything below it, as key blocks of the text format.
bool ExportKey(RootKind root, const std::u16string& path, std::u16string* out, std::string* error);
// Both roots whole: the current user's first, then the machine's.
bool ExportAll(std::u16string* out, std::string* error);
// Applies all edits or none (see reg_store_io.cpp for the one gap between two
// roots). On failure `error` names the line and key refused and what became of
// the stores.
bool ApplyEdits(const std::vector<KeyEdit>& edits, std::string* error);

}  // namespace tq3::reg
