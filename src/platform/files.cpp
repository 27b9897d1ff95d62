#include "platform/files.h"

#include <random>
#include <system_error>

#include "platform/strings.h"

namespace platform {
namespace {

// Writes reach the file in pieces of this size.
constexpr std::size_t kWriteBuffer = std::size_t{1} << 16;

}  // namespace

std::string FileRead::reason() const { return trim(std::system_category().message(error)); }

bool replaceFile(const std::string& target, std::string_view bytes, std::optional<unsigned> mode) {
    FileReplacement replacement(target, mode);
    return replacement.write(bytes) && replacement.commit();
}

FileReplacement::~FileReplacement() { discard(); }

bool FileReplacement::write(std::string_view bytes) {
    if (failed_ || committed_) return false;
    buffer_.append(bytes);
    if (buffer_.size() >= kWriteBuffer) flushBuffer();
    return !failed_;
}

std::string temporaryPrefix(const std::string& target) { return target + ".tmp."; }

std::string temporaryName(const std::string& target) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = temporaryPrefix(target);
    for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
    return name;
}

}  // namespace platform
