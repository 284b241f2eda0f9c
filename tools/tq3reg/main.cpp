// tq3reg: lists, exports and imports the settings store in the .reg text format,
// so that settings can be inspected, backed up and moved between machines.
// Exit codes: 0 done, 1 an error (the message names it), 2 wrong usage.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "framework/system/registry.h"
#include "tools/tq3reg/reg_store_io.h"
#include "tools/tq3reg/reg_text.h"

namespace {

constexpr int kOk = 0;
constexpr int kError = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText =
    "usage: tq3reg [options] list KEY\n"
    "       tq3reg [options] export [KEY] [-o FILE] [--utf16]\n"
    "       tq3reg [options] import FILE\n"
    "\n"
    "KEY starts with its root: HKEY_CURRENT_USER (HKCU) or HKEY_LOCAL_MACHINE (HKLM),\n"
    "e.g. HKCU\\Software\\Vendor. export without KEY writes both roots whole.\n"
    "Files are written as UTF-8 (as UTF-16LE with a byte-order mark with --utf16) and\n"
    "read in either encoding; FILE \"-\" is standard input or output.\n"
    "\n"
    "import applies a file whole or not at all. A file for both roots commits\n"
    "HKEY_LOCAL_MACHINE first; should HKEY_CURRENT_USER then fail, the keys the file\n"
    "touched in HKEY_LOCAL_MACHINE are put back as they were. Only if tq3reg is killed\n"
    "between the two, or putting back fails too (the message says so), does the\n"
    "HKEY_LOCAL_MACHINE part stay.\n"
    "\n"
    "options:\n"
    "  --user-store PATH     the database file of HKEY_CURRENT_USER\n"
    "  --machine-store PATH  the database file of HKEY_LOCAL_MACHINE\n"
    "  -o FILE               export into FILE instead of standard output\n"
    "  --utf16               export as UTF-16LE\n"
    "  -h, --help            this text\n";

struct Options {
    std::string command;
    std::vector<std::string> arguments;
    std::string userStore;
    std::string machineStore;
    std::string output = "-";
    bool utf16 = false;
};

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "tq3reg: " << problem << "\n";
    std::cerr << kUsageText;
    return kUsage;
}

// Returns kOk, or the exit code to stop with.
int ParseArguments(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto next = [&](std::string* into) {
            if (i + 1 >= argc) return false;
            *into = argv[++i];
            return true;
        };
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsageText;
            return -1;
        } else if (arg == "--user-store") {
            if (!next(&options->userStore)) return Usage("--user-store needs a path");
        } else if (arg == "--machine-store") {
            if (!next(&options->machineStore)) return Usage("--machine-store needs a path");
        } else if (arg == "-o") {
            if (!next(&options->output)) return Usage("-o needs a file");
        } else if (arg == "--utf16") {
            options->utf16 = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else if (options->command.empty()) {
            options->command = arg;
        } else {
            options->arguments.push_back(arg);
        }
    }
    const std::string& command = options->command;
    std::size_t count = options->arguments.size();
    if (command.empty()) return Usage("no command given");
    if (command != "list" && command != "export" && command != "import") return Usage("unknown command " + command);
    if ((command == "list" || command == "import") && count != 1) return Usage(command + " takes exactly one argument");
    if (command == "export" && count > 1) return Usage("export takes at most one key");
    if (command != "export" && (options->output != "-" || options->utf16))
        return Usage("-o and --utf16 belong to export");
    return kOk;
}

bool ReadInput(const std::string& name, std::string* bytes) {
    if (name == "-") {
        bytes->assign(std::istreambuf_iterator<char>(std::cin), {});
        return !std::cin.bad();
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

bool WriteOutput(const std::string& name, const std::string& bytes) {
    if (name == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return static_cast<bool>(std::cout);
    }
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int Fail(const std::string& message) {
    std::cerr << "tq3reg: " << message << "\n";
    return kError;
}

bool KeyArgument(const std::string& text, tq3::reg::RootKind* root, std::u16string* path) {
    std::u16string wide = tq3::reg::FromUtf8(text);
    return !wide.empty() && tq3::reg::ParseKeyName(wide, root, path);
}

int RunList(const Options& options) {
    tq3::reg::RootKind root;
    std::u16string path;
    if (!KeyArgument(options.arguments[0], &root, &path)) return Usage("KEY must start with HKCU or HKLM");
    std::u16string text;
    std::string error;
    if (!tq3::reg::ListKey(root, path, &text, &error)) return Fail(error);
    return WriteOutput("-", tq3::reg::ToUtf8(text)) ? kOk : Fail("cannot write the listing");
}

int RunExport(const Options& options) {
    std::u16string text;
    std::string error;
    bool ok;
    if (options.arguments.empty()) {
        ok = tq3::reg::ExportAll(&text, &error);
    } else {
        tq3::reg::RootKind root;
        std::u16string path;
        if (!KeyArgument(options.arguments[0], &root, &path)) return Usage("KEY must start with HKCU or HKLM");
        ok = tq3::reg::ExportKey(root, path, &text, &error);
    }
    if (!ok) return Fail(error);
    std::string bytes = options.utf16 ? tq3::reg::ToUtf16LeWithMark(text) : tq3::reg::ToUtf8(text);
    return WriteOutput(options.output, bytes) ? kOk : Fail("cannot write " + options.output);
}

int RunImport(const Options& options) {
    const std::string& file = options.arguments[0];
    std::string bytes;
    if (!ReadInput(file, &bytes)) return Fail("cannot read " + file);
    std::u16string text;
    std::vector<tq3::reg::KeyEdit> edits;
    tq3::reg::ParseError problem;
    if (!tq3::reg::DecodeFile(bytes, &text, &problem) || !tq3::reg::ParseRegText(text, &edits, &problem)) {
        std::string where = problem.line > 0 ? "line " + std::to_string(problem.line) + ": " : "";
        return Fail(file + ": " + where + problem.message + "; nothing was imported");
    }
    std::string error;
    if (!tq3::reg::ApplyEdits(edits, &error)) return Fail(file + ": " + error);
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int status = ParseArguments(argc, argv, &options);
    if (status == -1) return kOk;
    if (status != kOk) return status;
    if (!options.userStore.empty()) tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, options.userStore);
    if (!options.machineStore.empty()) tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, options.machineStore);
    try {
        if (options.command == "list") return RunList(options);
        if (options.command == "export") return RunExport(options);
        return RunImport(options);
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
}
