// A loadable library whose table carries a foreign magic word: it loads, but
// nothing in it counts as a resource.
#include "framework/system/resource_table.h"

namespace {
constexpr char16_t kText[] = u"never read";
constexpr TQ3ResourceEntry kEntries[] = {{TQ3_RES_STRING, 1, 10, kText}};
}  // namespace

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = {
    0x12345678u, TQ3_RESOURCE_VERSION, 1, kEntries};
