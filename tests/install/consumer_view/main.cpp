// A host program built against the installed package: it fills a table view of
// three sheets through the view's interface, switches sheets and reads it back.
// With --no-language-libraries the language libraries have been taken away: the
// view works the same, and does not look for them again at every cell it changes.
#include <tq3view/testing.h>
#include <tq3view/tq3view.h>

#include <cstdio>
#include <string>

namespace {

class CHostView : public CTableView {
public:
    int sheetSwitches = 0;
    int cellChanges = 0;
    void OnSheetChanged(int sheet) override {
        ++sheetSwitches;
        CTableView::OnSheetChanged(sheet);
    }
    void OnCellChanged(int, int) override { ++cellChanges; }
};

int Fail(const char* what) {
    std::printf("consumer_view: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool withoutLanguages = argc > 1 && std::string(argv[1]) == "--no-language-libraries";
    tq3::testing::Desktop desktop(800, 600);
    tq3::testing::TestApp app(u"ConsumerView");
    auto* view = new CHostView;
    if (tq3::testing::CreateFrameWithView(view) == nullptr) return Fail("could not create the frame");

    const char16_t* names[] = {u"Inputs", u"Outputs", u"Units"};
    for (int s = 0; s < 3; ++s) {
        if (view->InsertSheet(s, names[s]) != s) return Fail("InsertSheet");
        view->InsertColumn(s, 0, u"Name", 0);
        view->InsertColumn(s, 1, u"Value", 1);
        view->SetColumnEditMode(s, 1, 1, 0, 6, 2);
        for (int line = 0; line < 4; ++line) {
            const std::u16string text = u"p" + std::u16string(1, static_cast<char16_t>(u'0' + line)) + u"\t0";
            if (view->InsertLine(s, line, text.c_str()) < 0) return Fail("InsertLine");
        }
        if (view->SetCellText(s, 2, 1, u"12.345") != 1) return Fail("SetCellText");
    }
    view->SetSelSheet(1);

    if (view->GetSheetCount() != 3 || view->GetSelSheet() != 1) return Fail("sheet count or selection");
    if (view->GetSheetName(2) != CString(u"Units")) return Fail("sheet name");
    if (view->GetLineCount(0) != 4 || view->GetColumnCount(2) != 2) return Fail("line or column count");
    if (view->GetCellText(1, 2, 1) != CString(u"12.35")) return Fail("numeric cell not normalised");
    if (view->GetCellText(2, 3, 0) != CString(u"p3")) return Fail("cell text");
    if (view->sheetSwitches != 1 || view->cellChanges != 3) return Fail("hook calls");
    if (withoutLanguages) {
        const long searchesBefore = tq3::fw::LibrarySearchCount();
        for (int i = 0; i < 1000; ++i) view->SetCellText(0, i % 4, 0, i / 4 % 2 == 0 ? u"even" : u"odd");
        if (view->cellChanges != 1003) return Fail("hook calls without the language libraries");
        if (tq3::fw::LibrarySearchCount() != searchesBefore) return Fail("a missing library looked for at each cell");
    }
    std::printf("consumer_view: 3 sheets filled and read back\n");
    return 0;
}
