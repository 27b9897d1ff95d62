// Loads a large language file the way start-up does (LangOp::Init) and, for comparison, the
// way it once did, with one reading of the whole file per caption key:
//   language_load_bench [megabytes]          (default 50)
// Three shapes of file, each with every caption key at its end so that nothing can stop
// early: many short keys inside the frmOptions section, one long comment, one long value.
// Prints the best of three runs of each way after one warm-up read.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/i18n/lang_op.h"
#include "core/settings/main_op.h"
#include "platform/profile_string.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string captionsText() {
    std::string text;
    const char* section = "";
    for (auto key = twk::LangOp::keysBegin(); key != twk::LangOp::keysEnd(); ++key) {
        if (std::string(section) != key->section) {
            section = key->section;
            text += std::string("[") + section + "]\r\n";
        }
        text += std::string(key->name) + "=" + key->name + " caption\r\n";
    }
    return text;
}

// The filler of one shape, about bytes long.
std::string filler(const std::string& shape, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 64);
    if (shape == "keys") {
        text += "[frmOptions]\r\n";
        for (std::size_t n = 0; text.size() < bytes; ++n)
            text += "junk" + std::to_string(n) + "=value " + std::to_string(n) + "\r\n";
    } else if (shape == "comment") {
        text += ";" + std::string(bytes, 'c') + "\r\n";
    } else {
        text += "[frmFiller]\r\nlong=" + std::string(bytes, 'v') + "\r\n";
    }
    return text;
}

template <typename Load>
double bestOfThree(Load load) {
    load();  // warm-up: the file comes from the page cache
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        load();
        best = std::min(best, secondsSince(start));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 50;
    twk::test::TempDir program, store;
    twk::MainOp settings(twk::Regedit::RootKey(store.path()), program.path());
    settings.lang = "Large";
    const std::string file = program.file("languages/Large.twl");
    std::printf("%-8s %8s %14s %18s\n", "shape", "MB", "Init (s)", "one read per key (s)");
    for (const std::string shape : {"keys", "comment", "value"}) {
        twk::test::writeFile(file, filler(shape, megabytes << 20) + captionsText());
        twk::LangOp captions;
        const double init = bestOfThree([&] { captions.Init(settings); });
        if (captions.lff_send != "lff_send caption") {
            std::fprintf(stderr, "the %s file did not load\n", shape.c_str());
            return 1;
        }
        const double perKey = bestOfThree([&] {
            for (auto key = twk::LangOp::keysBegin(); key != twk::LangOp::keysEnd(); ++key)
                platform::readProfileString(key->section, key->name, file,
                                            twk::kLanguageFileLimit, 254);
        });
        std::printf("%-8s %8zu %14.3f %18.3f\n", shape.c_str(), megabytes, init, perKey);
    }
    return 0;
}
