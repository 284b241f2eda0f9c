// A host process killed while it stores its column widths: the store stays
// readable, and every sheet's widths are all from the last complete write or all
// from the one that was cut short, never a mix and never half deleted.
#include <sqlite3.h>

#include <chrono>

#include "tests/framework/registry/writer_kill.h"
#include "tests/settings/settings_view_fixture.h"

namespace tq3::test {
namespace {

constexpr int kSheets = 4;
constexpr int kColumns = 25;
constexpr int kRounds = 30;
constexpr int kGenerationsPerRound = 10;

// A host whose profile store tells the parent when the kill may come: at its
// n-th integer write, and then either writes on or stops there for good.
class ReportingApp : public tq3::testing::TestApp {
public:
    ReportingApp() : TestApp(u"Settings Test", u"Settings Vendor") {}
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) override {
        BOOL ok = TestApp::WriteProfileInt(section, entry, value);
        if (reportAt > 0 && ++writes == reportAt) {
            WriterKill::ReportReady();
            while (stopThere) pause();
        }
        return ok;
    }
    int reportAt = 0;
    int writes = 0;
    bool stopThere = false;
};

// Widths that name their generation, sheet and column, and stay below the
// widest width a column may have.
int WidthOf(int generation, int sheet, int column) { return generation * 100 + sheet * kColumns + column; }

void SetGeneration(CTableView* view, int generation) {
    for (int s = 0; s < kSheets; ++s)
        for (int c = 0; c < kColumns; ++c)
            view->GetColumnProp(s, c)->extent = CRect(0, 0, WidthOf(generation, s, c), 5);
}

std::u16string SheetSection(int sheet) {
    std::string hex = "WidthOfColumns\\Info_0000010" + std::to_string(sheet);
    return Section(std::u16string(hex.begin(), hex.end()));
}

// The one generation every stored width carries; -1 when a width is missing or
// the widths disagree.
int StoredGeneration() {
    int seen = -2;
    for (int s = 0; s < kSheets; ++s) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, SheetSection(s).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
        for (int c = 0; c < kColumns; ++c) {
            std::string name = "ColumnWidth_" + std::to_string(100001 + c).substr(1);
            ReadValue value = Query(key, std::u16string(name.begin(), name.end()).c_str());
            const auto width = static_cast<int>(AsDword(value.data));
            const int generation = width / 100;
            if (value.result != ERROR_SUCCESS || value.type != REG_DWORD || width != WidthOf(generation, s, c) ||
                (seen != -2 && generation != seen)) {
                RegCloseKey(key);
                return -1;
            }
            seen = generation;
        }
        RegCloseKey(key);
    }
    return seen;
}

// Even rounds: the child completes generation g, then stops for good halfway
// through g + 1, so the kill surely lands inside a write. Odd rounds: the child
// writes generation after generation and the kill lands wherever it lands.
TEST(WidthWriterKill, KilledWriterLeavesWholeSections) {
    tq3::testing::Desktop desktop(800, 600);
    ReportingApp app;
    ASSERT_FALSE(app.SettingsFolder().empty());
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, kBaseKey));
    auto* view = new SettingsView;
    ASSERT_NE(tq3::testing::CreateFrameWithView(view), nullptr);
    for (int s = 0; s < kSheets; ++s) AddSheets(view, {{0x100u + static_cast<DWORD>(s), kColumns}});
    const std::string store = tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER);

    int killedInside = 0;
    int lastSeen = -1;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        const int base = round * kGenerationsPerRound;
        const bool stopping = round % 2 == 0;
        auto writer = [&]() -> int {
            app.writes = 0;
            if (stopping) {
                SetGeneration(view, base);
                if (!view->WriteWidthOfColumns()) return 1;
                SetGeneration(view, base + 1);
                app.reportAt = app.writes + kSheets * kColumns / 2;
                app.stopThere = true;
                view->WriteWidthOfColumns();
                return 2;
            }
            app.reportAt = kColumns + 3;
            for (int generation = base;;
                 generation = generation + 1 < base + kGenerationsPerRound ? generation + 1 : base) {
                SetGeneration(view, generation);
                if (!view->WriteWidthOfColumns()) return 3;
            }
        };
        // The child opens the store for itself; the parent opens it again after.
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, store), ERROR_SUCCESS);
        auto delay = std::chrono::microseconds(stopping ? 0 : (round * 397) % 4000);
        WriterKill::Outcome outcome = WriterKill::Run(writer, delay);
        ASSERT_NE(outcome, WriterKill::Outcome::NoReport);
        ASSERT_NE(outcome, WriterKill::Outcome::ForkFailed);
        if (outcome == WriterKill::Outcome::Killed) ++killedInside;

        ASSERT_EQ(IntegrityOf(store), "ok");
        const int seen = StoredGeneration();
        ASSERT_GE(seen, 0) << "a section is torn, half deleted or unreadable";
        if (stopping) {
            EXPECT_EQ(seen, base) << "the write in progress must leave no trace";
        } else {
            EXPECT_TRUE(seen == lastSeen || (seen >= base && seen < base + kGenerationsPerRound)) << seen;
        }
        lastSeen = seen;
        // The view reads back exactly what is stored.
        view->ReadWidthOfColumns();
        for (int s = 0; s < kSheets; ++s)
            for (int c = 0; c < kColumns; ++c)
                ASSERT_EQ(view->GetColumnProp(s, c)->extent.Width(), WidthOf(seen, s, c));
    }
    EXPECT_EQ(killedInside, kRounds);
}

}  // namespace
}  // namespace tq3::test
