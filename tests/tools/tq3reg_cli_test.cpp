// The tq3reg program as a user runs it (import and export round trips, refusals
// naming their line with nothing written, UTF-16LE files, exit codes), and its
// import and export on their own: whole or nothing across both roots, names a
// file cannot carry.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/framework/registry/registry_test_support.h"
#include "tools/tq3reg/reg_store_io.h"

namespace {

using tq3::test::ReadFile;
using tq3::test::WriteFile;

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class Tq3RegTool : public tq3::test::RegistryFixture {
protected:
    // Runs the program on the two stores of this test; arguments are single-quoted
    // for the shell.
    Result Run(const std::vector<std::string>& args) {
        std::string command = std::string("'") + TQ3REG_PROGRAM + "' --user-store '" + userPath_ +
                              "' --machine-store '" + machinePath_ + "'";
        for (const std::string& arg : args) command += " '" + arg + "'";
        command += " >'" + dir_ + "/out' 2>'" + dir_ + "/err'";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_ + "/out"), ReadFile(dir_ + "/err")};
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    void Import(const std::string& text) {
        WriteFile(Path("in.reg"), text);
        Result imported = Run({"import", Path("in.reg")});
        ASSERT_EQ(imported.exitCode, 0) << imported.err;
    }
};

// A file in the form export writes: every key present has its block, subkeys in
// order of their names, values in the order they were set, CR LF line ends.
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kCanonical = kHeader +
    "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\LogFont]\r\n"
    "\"lfHeight\"=dword:fffffff4\r\n"
    "\"lfFaceName\"=\"MS UI Gothic\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\\Info_0000001a]\r\n"
    "\"ColumnWidth_00001\"=dword:00000050\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\\xC3\x84rger \xCE\xA3]\r\n"
    "@=\"default with \\\"quotes\\\" and C:\\\\path\"\r\n"
    "\"\xE6\x97\xA5\xE6\x9C\xAC\"=\"\xE8\xAA\x9E\xF0\x9F\x98\x80\"\r\n"
    "\"Lone\"=hex(1):3d,d8,00,00\r\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\r\n"
    "  2f,30\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"Empty\"=hex:\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control\\TQ3]\r\n"
    "\"Language\"=\"Japanese\"\r\n"
    "\"LangMax\"=\"2\"\r\n"
    "\"Lang2\"=\"Japanese\"\r\n\r\n";

TEST_F(Tq3RegTool, ImportThenExportGivesTheSameFile) {
    Import(kCanonical);
    EXPECT_EQ(Run({"export"}).out, kCanonical);
    // Into a file as UTF-16LE with its mark; imported again into fresh stores it
    // gives the same export.
    ASSERT_EQ(Run({"export", "-o", Path("wide.reg"), "--utf16"}).exitCode, 0);
    EXPECT_EQ(ReadFile(Path("wide.reg")).substr(0, 2), "\xFF\xFE");
    std::filesystem::remove(userPath_);
    std::filesystem::remove(machinePath_);
    ASSERT_EQ(Run({"import", Path("wide.reg")}).exitCode, 0);
    EXPECT_EQ(Run({"export"}).out, kCanonical);
    // One key alone, named with the short root name.
    EXPECT_EQ(Run({"export", "HKCU\\Software\\Almadon\\WidthOfColumns"}).out,
              kHeader + "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns]\r\n\r\n"
                        "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\\Info_0000001a]\r\n"
                        "\"ColumnWidth_00001\"=dword:00000050\r\n\r\n");
}

// A file refused by the reader or by the store names the line of the refused
// key or value, and nothing of it lands in either root.
TEST_F(Tq3RegTool, RefusedFilesNameTheLineAndWriteNothing) {
    Import(kCanonical);
    const std::string before = Run({"export"}).out;
    const std::string edits = kHeader + "[-HKEY_CURRENT_USER\\Software\\Almadon\\LogFont]\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\New]\r\n\"Language\"=\"English\"\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {edits + "\"Broken\"=hex:0g\r\n", "line 6"},
        {edits + "\r\n\"" + std::string(16384, 'n') + "\"=dword:1\r\n", "line 7"},  // the store refuses the name
        {edits + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\" + std::string(256, 'k') + "]\r\n", "line 6"},
        {std::string("\x00\x01\xFE\xFD\xC3", 5), "UTF-8"},
    };
    for (const auto& [text, said] : cases) {
        WriteFile(Path("bad.reg"), text);
        Result refused = Run({"import", Path("bad.reg")});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find(said), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("nothing was imported"), std::string::npos) << refused.err;
        EXPECT_EQ(Run({"export"}).out, before);
    }
    EXPECT_EQ(Run({"import", Path("missing.reg")}).exitCode, 1);
}

TEST_F(Tq3RegTool, AppliesDeletionsAndMatchesNamesWhateverTheirCase) {
    Import(kCanonical);
    Import(kHeader + "[-HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns]\r\n\r\n"
                     "[hklm\\software\\almadon control\\tq3]\r\n"
                     "\"LANGUAGE\"=\"Korean\"\r\n\"Lang2\"=-\r\n\"Missing\"=-\r\n");
    EXPECT_EQ(Run({"export", "HKLM\\SOFTWARE\\Almadon Control\\TQ3"}).out,
              kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control\\TQ3]\r\n"
                        "\"Language\"=\"Korean\"\r\n\"LangMax\"=\"2\"\r\n\r\n");
    Result gone = Run({"list", "HKCU\\Software\\Almadon\\WidthOfColumns"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("not found"), std::string::npos);
}

TEST_F(Tq3RegTool, ListsAKeyAndReportsUsage) {
    Import(kCanonical);
    // Data too large to read in a listing shows only its size.
    tq3::fw::UniqueRegKey key(tq3::test::CreateKey(HKEY_CURRENT_USER, u"Software\\Almadon\\WidthOfColumns"));
    const std::vector<BYTE> big(20000, 0xAB);
    ASSERT_EQ(RegSetValueExW(key.Get(), u"Big", 0, REG_BINARY, big.data(), 20000), ERROR_SUCCESS);
    EXPECT_EQ(Run({"list", "HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\\"}).out,
              "HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\r\n    Info_0000001a\\\r\n"
              "    \"Big\"=hex: ... (20000 bytes, too long to list; export writes them whole)\r\n");
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{}, 2}, {{"frobnicate"}, 2}, {{"list"}, 2}, {{"import", "a", "b"}, 2}, {{"export", "HKCU", "HKLM"}, 2},
        {{"list", "HKEY_USERS\\x"}, 2}, {{"list", "HKCU", "-o", "x"}, 2}, {{"export", "--bogus"}, 2},
        {{"export", "HKCU\\Nothing\\Here"}, 1}, {{"--help"}, 0},
    };
    for (const auto& [args, exitCode] : cases) EXPECT_EQ(Run(args).exitCode, exitCode) << (args.empty() ? "" : args[0]);
}

// The user's store refuses its commit after the machine's has been made: the
// machine's keys are put back, and neither root holds any of the file.
TEST_F(Tq3RegTool, ImportIsWholeOrNothingAcrossRoots) {
    Import(kCanonical);
    const std::string before = Run({"export"}).out;
    std::u16string text;
    tq3::reg::ParseError problem;
    std::vector<tq3::reg::KeyEdit> edits;
    ASSERT_TRUE(tq3::reg::ParseRegText(tq3::reg::FromUtf8(kHeader +
                                                          "[-HKLM\\SOFTWARE\\Almadon Control]\r\n"
                                                          "[HKLM\\SOFTWARE\\New\\Deeper]\r\n\"v\"=dword:1\r\n"
                                                          "[HKCU\\Software\\Almadon]\r\n\"v\"=dword:2\r\n"),
                                       &edits, &problem));
    std::string error;
    tq3::test::ReadDword(HKEY_CURRENT_USER, u"Software", u"v");  // the store is open before the disk fills
    {
        tq3::test::FullDisk full(userPath_);
        EXPECT_FALSE(tq3::reg::ApplyEdits(edits, &error));
    }
    EXPECT_NE(error.find("HKEY_CURRENT_USER: the disk is full; nothing was imported"), std::string::npos) << error;
    EXPECT_EQ(Run({"export"}).out, before);
}

// A name with a line break cannot be written in the format: export says so
// instead of writing a file that reads back as something else.
TEST_F(Tq3RegTool, ExportRefusesNamesAFileCannotCarry) {
    tq3::fw::UniqueRegKey key(tq3::test::CreateKey(HKEY_CURRENT_USER, u"Software\\Odd"));
    ASSERT_EQ(tq3::test::SetDword(key.Get(), u"two\nlines", 1), ERROR_SUCCESS);
    std::u16string out;
    std::string error;
    EXPECT_FALSE(tq3::reg::ExportAll(&out, &error));
    EXPECT_NE(error.find("Software\\Odd: value \"two\nlines\": the name holds a line break"), std::string::npos)
        << error;
}

}  // namespace
