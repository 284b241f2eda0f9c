// Loading resource libraries by their platform names: name mapping, the asking
// module's folder as the only place searched, reference counts and damaged files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "framework/system/module.h"
#include "framework/system/resources.h"

namespace tq3::test {
namespace {

// An address inside the test program.
void ProbeInProgram() {}

TEST(ModuleNames, PlatformNamesMapToSharedObjects) {
    struct Case {
        const char16_t* name;
        const char* expected;
    } cases[] = {
        {u"TQ3VwJpn.dll", "libTQ3VwJpn.so"},
        {u"Plain", "libPlain.so"},
        {u"sub/TQ3VwJpn.dll", ""},
        {u"..\\TQ3VwJpn.dll", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tq3::fw::SharedObjectNameFor(c.name), c.expected);
    }
}

TEST(ModuleLoading, CountsReferencesAndUnloadsAtTheLast) {
    int before = tq3::fw::LoadedLibraryCount();
    HMODULE first = LoadLibraryW(u"TQ3TestSample.dll");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadLibraryW(u"tq3testsample.dll"), nullptr) << "a case variant names another file";
    EXPECT_EQ(LoadLibraryW(u"TQ3TestSample.dll"), first);
    EXPECT_EQ(GetModuleHandleW(u"TQ3TESTSAMPLE.DLL"), first);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(tq3::fw::LoadedLibraryCount(), before);
    EXPECT_FALSE(FreeLibrary(first)) << "a handle given back twice";
}

TEST(ModuleLoading, MissingDamagedAndForeignLibrariesFailCleanly) {
    int before = tq3::fw::LoadedLibraryCount();
    EXPECT_EQ(LoadLibraryW(u"TQ3NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(LoadLibraryW(u"TQ3TestBroken.dll"), nullptr) << "a file that is not an object";
    EXPECT_EQ(tq3::fw::LoadedLibraryCount(), before);

    HMODULE foreign = LoadLibraryW(u"TQ3TestForeign.dll");
    ASSERT_NE(foreign, nullptr) << "it is a loadable object";
    EXPECT_EQ(tq3::fw::ResourceTableOf(foreign), nullptr) << "but its table is not ours";
    WCHAR buffer[16] = {u'x'};
    EXPECT_EQ(LoadStringW(foreign, 1, buffer, 16), 0);
    EXPECT_TRUE(FreeLibrary(foreign));
}

TEST(ModuleLoading, TheWorkingDirectoryIsNeverSearched) {
    auto original = std::filesystem::current_path();
    std::string self = tq3::fw::ModuleDirectoryOf(reinterpret_cast<const void*>(&ProbeInProgram));
    ASSERT_FALSE(self.empty());
    auto elsewhere = std::filesystem::temp_directory_path() / ("tq3mod-" + std::to_string(getpid()));
    std::filesystem::create_directories(elsewhere);
    // A library that exists only in the working directory.
    std::filesystem::copy_file(self + "/libTQ3TestSample.so", elsewhere / "libTQ3OnlyHere.so",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(chdir(elsewhere.c_str()), 0);
    HMODULE stray = LoadLibraryW(u"TQ3OnlyHere.dll");
    // After the change of directory the program's own folder is still found.
    HMODULE own = LoadLibraryW(u"TQ3TestSample.dll");
    std::string afterChdir = tq3::fw::ModuleDirectoryOf(reinterpret_cast<const void*>(&ProbeInProgram));
    ASSERT_EQ(chdir(original.c_str()), 0);
    std::filesystem::remove_all(elsewhere);

    EXPECT_EQ(stray, nullptr);
    EXPECT_NE(own, nullptr);
    EXPECT_EQ(afterChdir, self);
    if (own != nullptr) FreeLibrary(own);
}

}  // namespace
}  // namespace tq3::test
