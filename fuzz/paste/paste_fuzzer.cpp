// Pastes arbitrary clipboard text into a view whose columns have every edit mode,
// through the Paste command as a menu sends it, answering each question the paste
// asks. After every paste the sheet must still be a table of its columns: the same
// lines, six fields to a line, numbers in the numeric columns, list strings in the
// list columns, no text longer than its column allows.
//
// Input: four bytes placing the selection (left, top, width, height), one byte
// whose low bit is the answer to a Yes/No question, then the text as UTF-16.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/app/afxwin.h"
#include "framework/backends/headless/headless_backend.h"
#include "text/clipboard_text.h"
#include "text/tab_text.h"
#include "view/table_view.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

constexpr int kLines = 12;
constexpr int kColumns = 6;
constexpr char16_t kLine[] = u"text\tabc\t7\t7.50\t1:A\t\u00c9t\u00e9\r\n";
const char16_t* const kList1[] = {u"1:A", u"2:B", u"Red", u"-x", u""};
const char16_t* const kList2[] = {u"\u00c9t\u00e9", u"\U0001F600 smile", u"#hash", u"z"};

class FuzzView : public CTableView {
public:
    FuzzView() = default;
};

struct Scene {
    Scene() {
        backend = tq3::fw::HeadlessBackend::Install(800, 600);
        // A question waits for the user: the answer the input chose, or OK.
        backend->SetIdleHook([this] {
            HWND box = FindWindowW(u"#32770", nullptr);
            if (box == nullptr) return false;
            const int button = GetDlgItem(box, IDYES) != nullptr ? (yes ? IDYES : IDNO) : IDOK;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            return true;
        });
        frame = new CFrameWnd;
        Check(frame->Create(nullptr, u"paste", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)) != FALSE);
        view = new FuzzView;
        Check(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), frame, 1) != FALSE);
        Check(view->InsertSheet(0, u"sheet") == 0);
        for (int c = 0; c < kColumns; ++c) Check(view->InsertColumn(0, c, u"column", 0) >= 0);
        view->SetColumnEditMode(0, 1, 0, 5, 7, 0);
        view->SetColumnEditMode(0, 2, 1, 0, 7, 0);
        view->SetColumnEditMode(0, 3, 1, 0, 9, 2);
        for (const char16_t* item : kList1) view->AddColumnString(0, 4, item);
        for (const char16_t* item : kList2) view->AddColumnString(0, 5, item);
        for (int l = 0; l < kLines; ++l) Check(view->InsertLine(0, l, kLine) >= 0);
        view->SetSelSheet(0);
        backend->RunUntilIdle();
    }

    tq3::fw::HeadlessBackend* backend = nullptr;
    CFrameWnd* frame = nullptr;
    FuzzView* view = nullptr;
    bool yes = false;
};

bool IsNumber(const CString& cell) {
    for (int i = 0; i < cell.GetLength(); ++i) {
        const WCHAR c = cell[i];
        if (!((c >= u'0' && c <= u'9') || c == u'.' || (c == u'-' && i == 0))) return false;
    }
    return true;
}

bool InList(const CString& cell, const char16_t* const* list, int count) {
    for (int i = 0; i < count; ++i) {
        if (cell == list[i]) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scene scene;
    if (size < 5) return 0;
    CTableView* view = scene.view;
    for (int l = 0; l < kLines; ++l) view->SetTabbedString(0, l, kLine);
    const int left = data[0] % (kColumns + 1), top = data[1] % (kLines + 1);
    view->SetSel(CRect(left, top, left + data[2] % 8, top + data[3] % 16), CPoint(left, top));
    scene.yes = (data[4] & 1) != 0;
    std::u16string text;
    for (std::size_t i = 5; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const CString clip(text.c_str(), static_cast<int>(text.size()));
    SetClipboardText(view->m_hWnd, clip);

    view->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_PASTE, 0), 0);
    scene.backend->RunUntilIdle();

    Check(view->GetLineCount(0) == kLines && view->GetColumnCount(0) == kColumns);
    for (int l = 0; l < kLines; ++l) {
        CString line = view->GetTabbedString(0, l);
        Check(DivideString(line.GetBuffer()) == kColumns);
        line.ReleaseBuffer();
        Check(view->GetCellText(0, l, 1).GetLength() <= 5);
        Check(IsNumber(view->GetCellText(0, l, 2)) && IsNumber(view->GetCellText(0, l, 3)));
        Check(view->GetCellText(0, l, 2).Find(u'.') < 0);
        Check(InList(view->GetCellText(0, l, 4), kList1, 5));
        Check(InList(view->GetCellText(0, l, 5), kList2, 4));
    }
    return 0;
}
