// Where a script's targets are on the screen: cells, sheet tabs and header items
// are found through the view's and the strips' own geometry, the bar's gripper,
// sizing edge and close button through the bar's, and a point counts only when
// its window shows it there, uncovered.
#pragma once

#include <string>

#include "demo/demo_view.h"
#include "demo/script.h"

namespace tq3::demo {

class CDemoFrame;

// The screen (desktop) point of `target`; false with `error` saying why when it
// is not on screen.
bool TargetPoint(CDemoView& view, const Target& target, POINT* screen, std::string* error);
// The same for every target: those of the table's bar and of the frame, and
// the view's (through TargetPoint).
bool ScriptTargetPoint(CDemoFrame& frame, const Target& target, POINT* screen, std::string* error);
// The index of the sheet a Tab target names.
bool SheetIndex(CDemoView& view, const Target& target, int* index, std::string* error);

}  // namespace tq3::demo
