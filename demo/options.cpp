#include "demo/options.h"

#include <charconv>

#include "demo/demo_texts.h"

namespace tq3::demo {

namespace {

bool ToInt(const std::string& text, int* value) {
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
}

}  // namespace

const char* UsageText() {
    return "usage: tq3demo [options]\n"
           "\n"
           "  --headless            run without a window on screen (the headless desktop)\n"
           "  --virtual-desktop     show the whole desktop in one window instead of a system\n"
           "                        window per window (also TQ3_VIRTUAL_DESKTOP=1)\n"
           "  --script FILE         play FILE (see demo/README.md); implies --headless\n"
           "  --out DIR             write reports (report.txt) and screenshots into DIR\n"
           "  --language LANG       enu, jpn, chs, cht or kor; stored for the next start\n"
           "  --size WxH            size of the main window (default 1024x768)\n"
           "  --measure             print the time to the first complete paint and the\n"
           "                        resident memory after start\n"
           "  --settings-dir DIR    keep the settings stores in DIR instead of the usual places\n"
           "  --data-dir DIR        read zone1970.tab, zone.tab and iso3166.tab from DIR\n"
           "                        (default /usr/share/zoneinfo)\n"
           "  --io-lines N          lines of the I/O points sheet (default 100000)\n"
           "  -h, --help            this text\n";
}

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string* into) {
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            *into = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--headless") {
            options->headless = true;
        } else if (arg == "--virtual-desktop") {
            options->virtualDesktop = true;
        } else if (arg == "--measure") {
            options->measure = true;
        } else if (arg == "-h" || arg == "--help") {
            options->help = true;
        } else if (arg == "--script") {
            if (!value(&options->script)) return false;
            options->headless = true;
        } else if (arg == "--out") {
            if (!value(&options->outDir)) return false;
        } else if (arg == "--settings-dir") {
            if (!value(&options->settingsDir)) return false;
        } else if (arg == "--data-dir") {
            if (!value(&options->dataDir)) return false;
        } else if (arg == "--language") {
            if (!value(&text)) return false;
            options->language = LanguageFromCode(text);
            if (options->language < 0) {
                *error = "unknown language '" + text + "' (enu, jpn, chs, cht, kor)";
                return false;
            }
        } else if (arg == "--size") {
            if (!value(&text)) return false;
            const size_t x = text.find('x');
            int w = 0;
            int h = 0;
            if (x == std::string::npos || !ToInt(text.substr(0, x), &w) || !ToInt(text.substr(x + 1), &h) || w < 200 ||
                h < 150 || w > 8192 || h > 8192) {
                *error = "--size wants WIDTHxHEIGHT between 200x150 and 8192x8192, not '" + text + "'";
                return false;
            }
            options->width = w;
            options->height = h;
        } else if (arg == "--io-lines") {
            if (!value(&text)) return false;
            if (!ToInt(text, &options->ioPointLines) || options->ioPointLines < 0 || options->ioPointLines > 10000000) {
                *error = "--io-lines wants a number from 0 to 10000000, not '" + text + "'";
                return false;
            }
        } else {
            *error = "unknown option '" + arg + "'";
            return false;
        }
    }
    return true;
}

}  // namespace tq3::demo
