// The texts the user searched for and replaced with, remembered across runs in
// two sections below the settings base key, newest first:
//
//   HistoryFindWhat   FindWhat01 ... FindWhat20
//   HistoryReplace    ReplaceWith01 ... ReplaceWith20
//
// The find/replace dialog keeps each history as a list with the newest text at
// its head; the Find and Replace commands fill the lists before the dialog runs
// and store them when it closes. Only the 20 newest texts are stored, numbered
// from 01 without gaps; of two equal texts the older one keeps its place.
#include <new>

#include "framework/app/win_app.h"
#include "settings/registry_location.h"
#include "settings/settings_transaction.h"
#include "view/table_view.h"

namespace {

constexpr int kStoredTexts = 20;

struct History {
    LPCWSTR section;
    LPCWSTR prefix;
};

constexpr History kFindHistory{u"HistoryFindWhat", u"FindWhat"};
constexpr History kReplaceHistory{u"HistoryReplace", u"ReplaceWith"};

// "FindWhat01" for the newest find text.
CString EntryName(const History& history, int number) {
    CString entry;
    entry.Format(u"%s%02d", history.prefix, number);
    return entry;
}

// Appends the stored texts in their order. A missing or empty entry is skipped
// and the reading goes on, so a gap left by a damaged store costs one text only.
void ReadHistory(CWinApp* app, const History& history, CStringList& list) {
    for (int n = 1; n <= kStoredTexts; ++n) {
        const CString text = app->GetProfileString(history.section, EntryName(history, n), u"");
        if (!text.IsEmpty() && list.Find(text) == nullptr) list.AddTail(text);
    }
}

// Takes up to 20 texts off the head of `list` and stores the ones worth keeping.
void WriteHistory(CWinApp* app, const History& history, CStringList& list) {
    int number = 1;
    for (int taken = 0; taken < kStoredTexts && !list.IsEmpty(); ++taken) {
        const CString text = list.RemoveHead();
        // An equal text further down is older; it is stored at its own place.
        if (text.IsEmpty() || list.Find(text) != nullptr) continue;
        app->WriteProfileString(history.section, EntryName(history, number), text);
        ++number;
    }
}

}  // namespace

int CTableView::ReadFindReplaceHistory(CStringList& findList, CStringList& replaceList) {
    findList.RemoveAll();
    replaceList.RemoveAll();
    CString base;
    if (!CanOpenRegistory(base)) return 0;
    CWinApp* app = AfxGetApp();
    try {
        ReadHistory(app, kFindHistory, findList);
        ReadHistory(app, kReplaceHistory, replaceList);
    } catch (const std::bad_alloc&) {
        // The texts read so far stay in the lists.
    }
    return 1;
}

int CTableView::WriteFindReplaceHistory(CStringList& findList, CStringList& replaceList) {
    CString base;
    if (!CanOpenRegistory(base)) return 0;
    CWinApp* app = AfxGetApp();
    // Both sections are rewritten in one transaction: a process that dies
    // halfway leaves the history of the last complete write.
    tq3::SettingsTransaction transaction;
    try {
        for (const History* history : {&kFindHistory, &kReplaceHistory}) {
            CStringList& list = history == &kFindHistory ? findList : replaceList;
            // Entries of an earlier, longer history must not survive.
            DeleteRegKey(base + u"\\" + history->section);
            WriteHistory(app, *history, list);
        }
    } catch (const std::bad_alloc&) {
        // The transaction is undone: the stored histories stay as they were.
        return 0;
    }
    transaction.Commit();
    return 1;
}
