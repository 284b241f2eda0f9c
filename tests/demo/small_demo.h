// The demo's frame as the in-process demo tests open it: 800 x 600 pixels, in
// English, with a short I/O points sheet (40 lines) so that a test walks it fast.
#pragma once

#include "demo/demo_frame.h"

namespace tq3::test {

inline tq3::demo::CDemoFrame* OpenSmallDemo() {
    tq3::demo::SheetSources sources;
    sources.ioPointLines = 40;
    return tq3::demo::CDemoFrame::Open(0, sources, RECT{0, 0, 800, 600}, nullptr);
}

}  // namespace tq3::test
