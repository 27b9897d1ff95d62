#include "platform/files.h"

#include <algorithm>
#include <new>
#include <random>
#include <system_error>

#include "platform/strings.h"

namespace platform {
namespace {

// Writes reach the file in pieces of this size.
constexpr std::size_t kWriteBuffer = std::size_t{1} << 16;

}  // namespace

std::string systemReason(int error) { return trim(std::system_category().message(error)); }

std::string FileRead::problem() const {
    switch (outcome) {
        case Outcome::Read:
            return {};
        case Outcome::Missing:
            return "does not exist";
        case Outcome::NotRegular:
            return "is not a regular file";
        case Outcome::TooLarge:
            return "is too large to be read";
        case Outcome::OpenFailed:
            return "could not be opened (" + reason() + ")";
        case Outcome::ReadFailed:
            return "could not be read (" + reason() + ")";
    }
    return {};
}

FileRead failedRead(FileRead::Outcome outcome, int error) {
    FileRead result;
    result.outcome = outcome;
    result.error = error;
    return result;
}

FileRead readToEnd(std::uint64_t expected, std::uint64_t limit, const ReadSome& readSome,
                   const BufferFor& bufferFor) {
    FileRead result;
    std::string& bytes = result.bytes;
    try {
        const std::size_t size = static_cast<std::size_t>(std::min(expected, limit)) + 1;
        if (bufferFor) bytes = bufferFor(size);
        if (bytes.capacity() < size) {
            bytes = std::string();
            bytes.reserve(size);
            prefaultBuffer(bytes.data(), bytes.capacity());
        }
        bytes.resize(size);
        std::size_t used = 0;
        for (;;) {
            if (used == bytes.size()) {
                if (used > limit) return failedRead(FileRead::Outcome::TooLarge);
                bytes.resize(
                    static_cast<std::size_t>(std::min<std::uint64_t>(used * 2, limit + 1)));
            }
            int error = 0;
            const long long got = readSome(bytes.data() + used, bytes.size() - used, error);
            if (got < 0) return failedRead(FileRead::Outcome::ReadFailed, error);
            if (got == 0) break;
            used += static_cast<std::size_t>(got);
        }
        if (used > limit) return failedRead(FileRead::Outcome::TooLarge);
        bytes.resize(used);
    } catch (const std::bad_alloc&) {
        return failedRead(FileRead::Outcome::TooLarge);
    }
    result.outcome = FileRead::Outcome::Read;
    return result;
}

FileRead readRegularFile(const std::string& path, std::uint64_t maxBytes,
                         const BufferFor& bufferFor) {
    RegularFile file(path);
    if (!file.isOpen()) return file.failure();
    if (file.size() > maxBytes) return failedRead(FileRead::Outcome::TooLarge);
    return readToEnd(
        file.size(), std::min(maxBytes, file.readLimit()),
        [&file](char* data, std::size_t size, int& error) { return file.read(data, size, error); },
        bufferFor);
}

bool replaceFile(const std::string& target, std::string_view bytes, std::optional<unsigned> mode,
                 std::string* failure) {
    FileReplacement replacement(target, mode);
    if (replacement.write(bytes) && replacement.commit()) return true;
    if (failure) *failure = replacement.failure();
    return false;
}

bool FileReplacement::fail(std::string why) {
    if (failure_.empty()) failure_ = std::move(why);
    failed_ = true;
    return false;
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
