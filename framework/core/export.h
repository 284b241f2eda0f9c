// Symbol visibility. Both shared libraries are built with hidden visibility; only
// what a host may link to is marked. On ELF the same attribute serves the library
// that defines a symbol and the program that uses it, so one macro per library is
// enough. Free functions that keep the platform's plain names are declared with the
// *_EXPORT_C forms so that `nm -D` shows them unmangled.
#pragma once

#define TQ3_VISIBLE __attribute__((visibility("default")))

#define TQ3FW_API TQ3_VISIBLE
#define TQ3VIEW_API TQ3_VISIBLE

#ifdef __cplusplus
#define TQ3FW_EXPORT_C extern "C" TQ3_VISIBLE
#define TQ3VIEW_EXPORT_C extern "C" TQ3_VISIBLE
#else
#define TQ3FW_EXPORT_C TQ3_VISIBLE
#define TQ3VIEW_EXPORT_C TQ3_VISIBLE
#endif
