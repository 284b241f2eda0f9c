#include "resources/builtin_resources.h"

#include "resources/english_texts.h"
#include "resources/resource_set.inc"

namespace tq3 {

// Not exported under the table's C name: a host program that exports its own
// table must not find ours in its place. The library registers it at load.
const TQ3ResourceTable& BuiltinResourceTable() { return kResourceTable; }

}  // namespace tq3
