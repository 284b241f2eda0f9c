// Resources of modules and the resource search: string loading, the order of the
// search (current handle, application, extension modules in registration order),
// extension modules joining and leaving, and pictures, damaged ones included.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/cstring.h"
#include "framework/system/module.h"
#include "framework/system/resources.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/window/cursor.h"
#include "framework/window/winuser.h"

namespace tq3::test {
namespace {

// Two tables registered for made-up module handles stand in for an application
// and an extension module; the sample library is a real loaded module.
constexpr char16_t kAppText[] = u"from the application";
constexpr char16_t kExtText[] = u"from the extension";
constexpr char16_t kExtOnly[] = u"only the extension has it";
constexpr TQ3ResourceEntry kAppEntries[] = {{TQ3_RES_STRING, 1, sizeof(kAppText) / 2 - 1, kAppText}};
constexpr TQ3ResourceEntry kExtEntries[] = {{TQ3_RES_STRING, 1, sizeof(kExtText) / 2 - 1, kExtText},
                                            {TQ3_RES_STRING, 3, sizeof(kExtOnly) / 2 - 1, kExtOnly}};
constexpr TQ3ResourceTable kAppTable = {TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION, 1, kAppEntries};
constexpr TQ3ResourceTable kExtTable = {TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION, 2, kExtEntries};

char fakeApp;
char fakeExt;
char fakeExt2;
HMODULE FakeApp() { return reinterpret_cast<HMODULE>(&fakeApp); }
HMODULE FakeExt() { return reinterpret_cast<HMODULE>(&fakeExt); }
HMODULE FakeExt2() { return reinterpret_cast<HMODULE>(&fakeExt2); }

class ResourceSearch : public ::testing::Test {
protected:
    void SetUp() override {
        tq3::fw::RegisterResourceTable(FakeApp(), &kAppTable);
        tq3::fw::RegisterResourceTable(FakeExt(), &kExtTable);
        tq3::fw::RegisterResourceTable(FakeExt2(), &kAppTable);
        tq3::fw::SetApplicationResourceModule(FakeApp());
        AfxSetResourceHandle(nullptr);
        sample_ = LoadLibraryW(u"TQ3TestSample.dll");
        ASSERT_NE(sample_, nullptr);
    }
    void TearDown() override {
        AfxSetResourceHandle(nullptr);
        tq3::fw::SetApplicationResourceModule(nullptr);
        FreeLibrary(sample_);
        tq3::fw::RegisterResourceTable(FakeApp(), nullptr);
        tq3::fw::RegisterResourceTable(FakeExt(), nullptr);
        tq3::fw::RegisterResourceTable(FakeExt2(), nullptr);
    }
    static CString Load(UINT id) {
        CString text(u"stale");
        text.LoadString(id);
        return text;
    }
    HMODULE sample_ = nullptr;
};

TEST_F(ResourceSearch, LoadStringCopiesTruncatesAndPointsIntoTheModule) {
    WCHAR buffer[8];
    EXPECT_EQ(LoadStringW(sample_, 1, buffer, 8), 7) << "room for 7 and the zero";
    EXPECT_EQ(std::u16string(buffer), u"one fro");
    LPCWSTR direct = nullptr;
    EXPECT_EQ(LoadStringW(sample_, 1, reinterpret_cast<LPWSTR>(&direct), 0), 19);
    EXPECT_EQ(std::u16string(direct, 19), u"one from the module");
    buffer[0] = u'x';
    EXPECT_EQ(LoadStringW(sample_, 99, buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(ResourceSearch, CurrentHandleThenApplicationThenExtensionsInOrder) {
    EXPECT_EQ(AfxGetResourceHandle(), FakeApp()) << "the application's module until one is set";
    EXPECT_EQ(Load(1), u"from the application");
    EXPECT_EQ(Load(3), u"") << "a failed load leaves the string empty";

    AFX_EXTENSION_MODULE state;
    ASSERT_TRUE(AfxInitExtensionModule(state, FakeExt()));
    new CDynLinkLibrary(state);
    CDynLinkLibrary* ext2 = new CDynLinkLibrary(FakeExt2(), FakeExt2());
    EXPECT_EQ((tq3::fw::ExtensionResourceModules()), (std::vector<HMODULE>{FakeExt(), FakeExt2()}));
    EXPECT_EQ(Load(1), u"from the application") << "the application comes before extensions";
    EXPECT_EQ(Load(3), u"only the extension has it");

    AfxSetResourceHandle(FakeExt());
    EXPECT_EQ(Load(1), u"from the extension") << "the current handle wins";
    AfxSetResourceHandle(sample_);
    EXPECT_EQ(Load(1), u"one from the module");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(77), RT_STRING), sample_) << "not found: the current handle";

    AfxTermExtensionModule(state);
    EXPECT_EQ(tq3::fw::ExtensionResourceModules(), std::vector<HMODULE>{FakeExt2()});
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(Load(3), u"") << "the extension left the search";
    delete ext2;
}

TEST_F(ResourceSearch, MenusAndPicturesComeThroughTheSearch) {
    AfxSetResourceHandle(sample_);
    const TQ3MenuData* menu = tq3::fw::FindMenuResource(50);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->count, 2);
    EXPECT_EQ(std::u16string(menu->items[1].text), u"&Item");

    HBITMAP bitmap = LoadBitmapW(sample_, MAKEINTRESOURCEW(60));
    EXPECT_NE(bitmap, nullptr);
    EXPECT_EQ(LoadBitmapW(sample_, MAKEINTRESOURCEW(62)), nullptr) << "a damaged picture";
    if (bitmap != nullptr) DeleteObject(bitmap);

    HCURSOR cursor = LoadCursorW(sample_, MAKEINTRESOURCEW(61));
    EXPECT_NE(cursor, nullptr);
    if (cursor != nullptr) DestroyCursor(cursor);
}

// The pixel text is read through its palette ('-' is transparent); a damaged picture
// (short pixel text) is refused by LoadBitmapW above.
TEST(ResourceImages, DecodesPalettesAndRefusesDamagedArt) {
    std::vector<std::uint32_t> argb;
    TQ3ImageData good = {3, 2, 1, 1, "r=FF0000;b=0000ff;.=-", "r.b.br"};
    ASSERT_TRUE(tq3::fw::DecodeResourceImage(good, argb));
    EXPECT_EQ(argb, (std::vector<std::uint32_t>{0xFFFF0000u, 0, 0xFF0000FFu, 0, 0xFF0000FFu, 0xFFFF0000u}));
    EXPECT_FALSE(tq3::fw::DecodeResourceImage(TQ3ImageData{2, 1, 0, 0, "r=FF0000", "rx"}, argb))
        << "a character the palette lacks";
}

}  // namespace
}  // namespace tq3::test
