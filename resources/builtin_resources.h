// The view library's own resources (English), found by the resource search once
// the library has joined it as an extension module.
#pragma once

#include "framework/system/resource_table.h"

namespace tq3 {

const TQ3ResourceTable& BuiltinResourceTable();

}  // namespace tq3
