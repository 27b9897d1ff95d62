#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace twk::fuzz {
namespace {

namespace fs = std::filesystem;

// Made on first use, removed with everything in it when the process ends normally.
struct Scratch {
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "tarnwick-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
        path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string path;
};

}  // namespace

const std::string& scratchFolder() {
    static const Scratch scratch;
    return scratch.path;
}

std::string scratchPath(const std::string& relative) { return scratchFolder() + "/" + relative; }

void clearScratch() {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(scratchFolder(), ignored))
        fs::remove_all(entry.path(), ignored);
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void fail(const char* check, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, check);
    std::abort();
}

}  // namespace twk::fuzz
