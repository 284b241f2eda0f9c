// The English language library.
#include "resources/english_texts.h"
#include "resources/resource_set.inc"

extern "C" __attribute__((visibility("default"))) const TQ3ResourceTable tq3_resource_table = kResourceTable;
