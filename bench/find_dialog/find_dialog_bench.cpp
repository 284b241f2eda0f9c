// The Find command as the user meets it, on a sheet of 100 columns and 1,000
// lines with 20 remembered texts: from the command until the dialog waits for the
// user (filled, shown and painted) and closed again with its texts stored, against
// painting the open dialog once. The close, the store of the texts (a settings
// transaction) and the repaint of the view the dialog uncovers are in the time,
// since a user pays for them on every search; the aim allows for them.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "find/find_replace_dialog.h"
#include "framework/system/registry.h"
#include "settings/language.h"
#include "tq3view/testing.h"
#include "view/table_view.h"

namespace {

constexpr int kColumns = 100;
constexpr int kLines = 1000;

class BenchView : public CTableView {
public:
    using CTableView::WriteFindReplaceHistory;
};

struct Scene {
    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    BenchView* view = new BenchView;
    CFrameWnd* frame = nullptr;

    Scene() {
        VALMExSetLanguage(0);
        HKEY base = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\TQ3ViewTestVendor", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &base, nullptr);
        RegCloseKey(base);
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 900, 700});
        view->InsertSheet(0, u"bench");
        CString line;
        for (int c = 0; c < kColumns; ++c) {
            CString title;
            title.Format(u"column %d", c);
            view->InsertColumn(0, c, title, static_cast<BYTE>(c % 10 == 9));
            line += c > 0 ? u"\tcell" : u"cell";
        }
        for (int l = 0; l < kLines; ++l) view->InsertLine(0, l, line);
        CStringList find;
        CStringList replace;
        for (int n = 0; n < 20; ++n) {
            CString text;
            text.Format(u"searched %d", n);
            find.AddTail(text);
            text.Format(u"replaced %d", n);
            replace.AddTail(text);
        }
        view->WriteFindReplaceHistory(find, replace);
        view->SetSelSheet(0);
        view->SetSel(CRect(5, 10, 5, 10), CPoint(5, 10));
        desktop.RunUntilIdle();
    }
};

void BM_FindCommandUntilWaitingAndClosed(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.desktop.QueueModalAnswer(tq3::testing::AnswerCommand(IDCANCEL, u"#32770", u"Find"));
        scene.frame->SendMessage(WM_COMMAND, ID_EDIT_FIND, 0);
    }
    if (scene.desktop.PendingModalAnswers() != 0) state.SkipWithError("the dialog did not open");
}
BENCHMARK(BM_FindCommandUntilWaitingAndClosed)->Unit(benchmark::kMicrosecond);

void BM_PaintOpenFindDialog(benchmark::State& state) {
    Scene scene;
    // The dialog is painted inside its own modal loop, where the reply runs.
    scene.desktop.QueueModalAnswer(tq3::testing::ModalAnswer{u"#32770", u"Find", [&state](HWND dialog) {
        for (auto _ : state) {
            RedrawWindow(dialog, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }});
    scene.frame->SendMessage(WM_COMMAND, ID_EDIT_FIND, 0);
}
BENCHMARK(BM_PaintOpenFindDialog)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        tq3::bench::PrintRatio(r, "find command open to closed / paint dialog", "BM_FindCommandUntilWaitingAndClosed",
                               "BM_PaintOpenFindDialog", 20.0);
    });
}
