// tq3reg's files as a round trip: values of any type and bytes (lone surrogates,
// NULs, line breaks and binary data included) under names of any characters are
// written to both roots, exported as a file in UTF-8 or UTF-16LE, the stores are
// emptied and the file imported again. The second export must equal the first,
// so every name, type and byte came back. A name that a .reg file cannot carry
// (one with a line break) must make the export refuse, never write a file that
// reads back as something else.
//
// Input, read with FuzzedDataProvider: one byte of flags (bit 0: the file is
// UTF-16LE), then up to 24 values, each as a root bit, a key path of one to three
// names, a value name, a type and data.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/system/registry.h"
#include "tools/tq3reg/reg_store_io.h"
#include "tools/tq3reg/reg_text.h"

namespace {

void Check(bool ok, int line = __builtin_LINE()) {
    if (ok) return;
    std::fprintf(stderr, "reg_roundtrip_fuzzer.cpp:%d: check failed\n", line);
    std::abort();
}

// Stores on a memory file system where there is one: the store is rewritten for
// every input.
struct Stores {
    Stores() {
        std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = base + "/tq3reg-roundtrip-XXXXXX";
        Check(mkdtemp(pattern.data()) != nullptr);
        dir = pattern;
        Check(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, dir + "/user.db") == ERROR_SUCCESS);
        Check(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, dir + "/machine.db") == ERROR_SUCCESS);
    }
    ~Stores() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string dir;
};

void Empty() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) Check(RegDeleteTreeW(root, nullptr) == ERROR_SUCCESS);
}

// Code units drawn mostly from characters that matter to the format (quotes,
// backslashes, brackets, @, =, spaces, line breaks), some from other scripts and
// sometimes anything at all.
std::u16string Units(FuzzedDataProvider& input, std::size_t most) {
    static const char16_t kPool[] = {u'a', u'Z', u'"', u'\\', u'[', u']', u'@', u'=', u' ', u'-', u';', u'\r',
                                     u'\n', u'\t', 0x00C4, 0x65E5, 0xD83D, 0xDE00, 0xFEFF, u'0'};
    std::u16string text;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, most);
    for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
        const std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
        text.push_back(pick < 2 * std::size(kPool) ? kPool[pick / 2] : input.ConsumeIntegral<char16_t>());
    }
    // Names reach the registry as zero-terminated strings.
    return text.substr(0, text.find(u'\0'));
}

std::vector<BYTE> Data(FuzzedDataProvider& input, DWORD type) {
    if (type == REG_SZ && input.ConsumeBool()) {
        // A string as programs store it: UTF-16LE and its terminating zero.
        std::vector<BYTE> bytes;
        for (char16_t c : Units(input, 12)) bytes.insert(bytes.end(), {BYTE(c & 0xFF), BYTE(c >> 8)});
        bytes.insert(bytes.end(), {0, 0});
        return bytes;
    }
    return input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange<std::size_t>(0, 40));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Stores stores;
    FuzzedDataProvider input(data, size);
    const bool utf16 = input.ConsumeIntegral<std::uint8_t>() & 1;
    Empty();
    bool lineBreak = false;
    for (int count = 0; count < 24 && input.remaining_bytes() > 0; ++count) {
        HKEY root = input.ConsumeBool() ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        std::u16string path = u"K";
        for (int depth = input.ConsumeIntegralInRange(0, 2); depth > 0; --depth) path += u"\\" + Units(input, 6);
        const std::u16string name = Units(input, 8);
        const DWORD type = input.PickValueInArray<DWORD>(
            {REG_SZ, REG_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_EXPAND_SZ, REG_QWORD, REG_NONE, 0x12345});
        const std::vector<BYTE> bytes = Data(input, type);
        HKEY key = nullptr;
        // Names the store refuses (a lone surrogate, a name too long) are left out.
        if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        if (RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, type, bytes.data(),
                           static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS)
            lineBreak = lineBreak || name.find_first_of(u"\r\n") != std::u16string::npos;
        RegCloseKey(key);
        // A key made with a line break in its name is left in the store either way.
        lineBreak = lineBreak || path.find_first_of(u"\r\n") != std::u16string::npos;
    }
    std::u16string first;
    std::string error;
    const bool exported = tq3::reg::ExportAll(&first, &error);
    if (lineBreak) {
        Check(!exported && error.find("line break") != std::string::npos);
        return 0;
    }
    Check(exported);
    const std::string file = utf16 ? tq3::reg::ToUtf16LeWithMark(first) : tq3::reg::ToUtf8(first);
    std::u16string text;
    tq3::reg::ParseError problem;
    std::vector<tq3::reg::KeyEdit> edits;
    Check(tq3::reg::DecodeFile(file, &text, &problem) && text == first);
    Check(tq3::reg::ParseRegText(text, &edits, &problem));
    Empty();
    Check(tq3::reg::ApplyEdits(edits, &error));
    std::u16string second;
    Check(tq3::reg::ExportAll(&second, &error));
    Check(second == first);
    return 0;
}
