// The selection drawn between paints, step by step as a user moves, must be the
// very picture a full paint gives: no pixel left inverted or left plain.
#include <functional>
#include <string>
#include <vector>

#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::kControl;
using tq3::testing::kShift;

TEST_F(TableViewTest, EveryMoveLeavesThePictureOfAFullPaint) {
    AddSheets(2, 8, 60);
    for (int s = 0; s < 2; ++s) SetWidths(s, {120, 120, 120, 120, 120, 120, 120, 120});
    view->SetSelSheet(0);
    SetClientSize(700, FourteenRowsAndAPart());
    view->SetFocus();
    const HWND hwnd = view->m_hWnd;
    const int lh = view->GetLineHeight();
    const CRect area(view->GetLineHeaderWidth(), lh, 700, lh + 14 * lh + 2);  // the cell area
    auto keys = [&](std::vector<std::pair<int, UINT>> presses) {
        return [=, this] { for (auto [vk, modifiers] : presses) desktop.KeyPress(vk, modifiers); };
    };
    auto drag = [&](int line, int column, std::vector<CPoint> moves) {
        return [=, this] {
            desktop.MouseDown(hwnd, Middle(line, column));
            for (CPoint p : moves) desktop.MouseMove(hwnd, p);
            desktop.MouseUp(hwnd, moves.back());
        };
    };
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"arrows", keys({{VK_DOWN, 0}, {VK_RIGHT, 0}})},
        {"shift moves", keys({{VK_RIGHT, kShift}, {VK_RIGHT, kShift}, {VK_DOWN, kShift}})},
        {"enter and shift enter", keys({{VK_RETURN, 0}, {VK_RETURN, kShift}, {VK_RETURN, kShift}})},
        {"scrolling down", keys({{VK_PRIOR, 0}, {VK_NEXT, 0}, {VK_DOWN, 0}, {VK_NEXT, kShift}})},
        {"shift ctrl end, ctrl home", keys({{VK_END, kShift | kControl}, {VK_HOME, kControl}})},
        {"drag", drag(2, 1, {Middle(6, 3), Middle(4, 4)})},
        {"drag past the top", [&] {
             VScroll(SB_THUMBPOSITION, 20 - 32768);
             drag(22, 2, {CPoint(Middle(22, 2).x, 4), CPoint(Middle(22, 2).x, 6)})();
         }},
        {"next sheet and back", keys({{VK_NEXT, kControl}, {VK_RIGHT, kShift}, {VK_PRIOR, kControl}, {VK_UP, kShift}})},
        {"a reversed block", [&] { view->SetSel(CRect(4, 25, 1, 21), CPoint(4, 25)); }},
    };
    const COLORREF inverted = tq3::testing::Inverted(GetSysColor(COLOR_WINDOW));
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        desktop.RunUntilIdle();
        const tq3::testing::Capture drawn = tq3::testing::CaptureWindow(hwnd, area);
        view->Invalidate(TRUE);
        desktop.RunUntilIdle();
        const tq3::testing::Capture painted = tq3::testing::CaptureWindow(hwnd, area);
        EXPECT_GT(painted.Count(inverted), 0);
        EXPECT_EQ(tq3::testing::CountDiffering(drawn, painted), 0) << painted.Picture(inverted);
    }
}

}  // namespace
}  // namespace tq3::test
