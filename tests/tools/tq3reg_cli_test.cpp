// The tq3reg program as a user runs it: import and export round trips, refusal
// of a malformed file with nothing written, UTF-16LE files, exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class Tq3RegTool : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tq3reg-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Runs the tool on the two stores of this test; arguments are single-quoted
    // for the shell.
    Result Run(const std::vector<std::string>& args) {
        std::string command = std::string("'") + TQ3REG_PROGRAM + "' --user-store '" + dir_ +
                              "/user.db' --machine-store '" + dir_ + "/machine.db'";
        for (const std::string& arg : args) command += " '" + arg + "'";
        command += " >'" + dir_ + "/out' 2>'" + dir_ + "/err'";
        int status = std::system(command.c_str());
        Result result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadFile(dir_ + "/out");
        result.err = ReadFile(dir_ + "/err");
        return result;
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string dir_;
};

// A file in the form export writes: every key present has its block, subkeys in
// order of their names, values in the order they were set, CR LF line ends.
const std::string kCanonical =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\LogFont]\r\n"
    "\"lfHeight\"=dword:fffffff4\r\n"
    "\"lfFaceName\"=\"MS UI Gothic\"\r\n"
    "\"iPointSize\"=dword:0000005a\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\\Info_0000001a]\r\n"
    "\"ColumnWidth_00001\"=dword:00000050\r\n"
    "\"ColumnWidth_00002\"=dword:00000064\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Almadon\\\xC3\x84rger \xCE\xA3]\r\n"
    "@=\"default with \\\"quotes\\\" and C:\\\\path\"\r\n"
    "\"\xE6\x97\xA5\xE6\x9C\xAC\"=\"\xE8\xAA\x9E\"\r\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\r\n"
    "  2f,30\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"Big\"=hex(b):ff,ff,ff,ff,ff,ff,ff,7f\r\n"
    "\"Empty\"=hex:\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control\\ORVIN QT5]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3]\r\n"
    "\"Language\"=\"Japanese\"\r\n"
    "\"LangMax\"=\"2\"\r\n"
    "\"Lang1\"=\"English\"\r\n"
    "\"Lang2\"=\"Japanese\"\r\n"
    "\r\n";

TEST_F(Tq3RegTool, ImportThenExportGivesTheSameFile) {
    WriteFile(Path("in.reg"), kCanonical);
    Result imported = Run({"import", Path("in.reg")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    Result exported = Run({"export"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, kCanonical);

    // Into a file, and as UTF-16LE with its mark; importing that one again into
    // fresh stores gives the same export.
    ASSERT_EQ(Run({"export", "-o", Path("wide.reg"), "--utf16"}).exitCode, 0);
    std::string wide = ReadFile(Path("wide.reg"));
    ASSERT_GE(wide.size(), 2u);
    EXPECT_EQ(wide.substr(0, 2), "\xFF\xFE");
    std::filesystem::remove(Path("user.db"));
    std::filesystem::remove(Path("machine.db"));
    ASSERT_EQ(Run({"import", Path("wide.reg")}).exitCode, 0);
    EXPECT_EQ(Run({"export"}).out, kCanonical);

    // One key alone, named with the short root name.
    Result one = Run({"export", "HKCU\\Software\\Almadon\\WidthOfColumns"});
    ASSERT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\\Info_0000001a]\r\n"
              "\"ColumnWidth_00001\"=dword:00000050\r\n"
              "\"ColumnWidth_00002\"=dword:00000064\r\n\r\n");
}

TEST_F(Tq3RegTool, MalformedFileIsRefusedAndNothingWritten) {
    WriteFile(Path("in.reg"), kCanonical);
    ASSERT_EQ(Run({"import", Path("in.reg")}).exitCode, 0);
    const std::string before = Run({"export"}).out;

    // Good lines first, in both roots, then a bad one: none of it may land.
    WriteFile(Path("bad.reg"),
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "[-HKEY_CURRENT_USER\\Software\\Almadon\\LogFont]\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\New]\r\n"
              "\"Language\"=\"English\"\r\n"
              "\"Broken\"=hex:0g\r\n");
    Result refused = Run({"import", Path("bad.reg")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("line 6"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("nothing was imported"), std::string::npos) << refused.err;
    EXPECT_EQ(Run({"export"}).out, before);

    // A file that is not text at all, and one that does not exist.
    WriteFile(Path("binary.reg"), std::string("\x00\x01\xFE\xFD\xC3", 5));
    EXPECT_EQ(Run({"import", Path("binary.reg")}).exitCode, 1);
    EXPECT_EQ(Run({"import", Path("missing.reg")}).exitCode, 1);
    EXPECT_EQ(Run({"export"}).out, before);
}

TEST_F(Tq3RegTool, ReadsUtf16FilesAndAppliesDeletions) {
    WriteFile(Path("in.reg"), kCanonical);
    ASSERT_EQ(Run({"import", Path("in.reg")}).exitCode, 0);
    // As the original platform's editor writes it: UTF-16LE with a mark.
    WriteFile(Path("edits.reg"), Utf16Le("Windows Registry Editor Version 5.00\r\n"
                                         "\r\n"
                                         "[-HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns]\r\n"
                                         "\r\n"
                                         "[hklm\\software\\almadon control\\orvin qt5\\tq3]\r\n"
                                         "\"LANGUAGE\"=\"Korean\"\r\n"
                                         "\"Lang2\"=-\r\n"
                                         "\"Missing\"=-\r\n"
                                         "\r\n"));
    Result imported = Run({"import", Path("edits.reg")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    Result machine = Run({"export", "HKLM\\SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3"});
    EXPECT_EQ(machine.out,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3]\r\n"
              "\"Language\"=\"Korean\"\r\n"
              "\"LangMax\"=\"2\"\r\n"
              "\"Lang1\"=\"English\"\r\n\r\n");
    Result gone = Run({"list", "HKCU\\Software\\Almadon\\WidthOfColumns"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("not found"), std::string::npos);
}

TEST_F(Tq3RegTool, ListsAKeyAndReportsUsage) {
    WriteFile(Path("in.reg"), kCanonical);
    ASSERT_EQ(Run({"import", Path("in.reg")}).exitCode, 0);
    Result listed = Run({"list", "HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\\"});
    ASSERT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out,
              "HKEY_CURRENT_USER\\Software\\Almadon\\WidthOfColumns\r\n"
              "    Info_0000001a\\\r\n");

    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"list"}, 2},
        {{"import"}, 2},
        {{"import", "a", "b"}, 2},
        {{"export", "HKCU", "HKLM"}, 2},
        {{"list", "HKEY_USERS\\x"}, 2},
        {{"list", "HKCU", "-o", "x"}, 2},
        {{"export", "--bogus"}, 2},
        {{"export", "HKCU\\Nothing\\Here"}, 1},
        {{"--help"}, 0},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        Result result = Run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << joined << "\n" << result.err;
    }
}

TEST_F(Tq3RegTool, DamagedStoreIsSetAsideAndTheImportLands) {
    const std::string garbage(3000, 'z');
    WriteFile(Path("user.db"), garbage);
    WriteFile(Path("in.reg"), kCanonical);
    Result imported = Run({"import", Path("in.reg")});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.err.find("was damaged; it was kept as " + Path("user.db") + ".damaged-"), std::string::npos)
        << imported.err;
    EXPECT_EQ(Run({"export"}).out, kCanonical);
}

}  // namespace
