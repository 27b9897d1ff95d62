#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// True exactly when a folder exists at path (a trailing separator is allowed).
bool dirExists(const std::string& path);
// True when a regular file exists at path and can be opened for reading.
bool fileExists(const std::string& path);
// Names of the files (not folders) directly in dir, hidden files left out, in ascending byte
// order. ok is false when the folder could not be read.
std::vector<std::string> listFiles(const std::string& dir, bool* ok = nullptr);
// Why a folder could not be made.
enum class MakeDirFailure {
    NameTooLong,   // the path or one of its names is longer than the system takes
    SystemFolder,  // it would lie in the kernel's own folders (Linux: /dev, /proc, /sys)
    Other,
};
// Creates one folder level; true when it exists afterwards. Never makes a folder in the
// kernel's own folders, where a folder is no place for files (Linux: /dev, /proc, /sys, even
// through a link). failure, when given, tells why it failed.
bool makeDir(const std::string& path, MakeDirFailure* failure = nullptr);
bool removeFile(const std::string& path);
// The user's documents folder, for dialogs to start in.
std::string documentsFolder();

// The causes of a failed open or read that the program puts in its own words (in the user's
// language); for any other the system's own words are all there is.
enum class ErrorCause {
    NoPermission,  // the user may not read it
    Other,
};
// The cause behind the system's error number error.
ErrorCause causeOf(int error);
// The system's text for the error number error, e.g. "Permission denied".
std::string systemReason(int error);

// What reading a file from outside gave.
struct FileRead {
    enum class Outcome {
        Read,        // bytes hold the whole file
        Missing,     // nothing at the path (it may have been moved away meanwhile)
        NotRegular,  // a folder, pipe, device or socket: never read
        TooLarge,    // more than the reader's bound, or still growing past it
        OpenFailed,  // error tells why
        ReadFailed,  // error tells why
    };
    Outcome outcome = Outcome::OpenFailed;
    std::string bytes;
    int error = 0;  // the system's error number of OpenFailed and ReadFailed

    bool ok() const { return outcome == Outcome::Read; }
    // The system's text for error.
    std::string reason() const { return systemReason(error); }
    // What went wrong, to follow the file's name ("could not be opened (Permission denied)");
    // empty for Read.
    std::string problem() const;
};

// Reads a file that comes from outside (the store, captions, reports, downloads, settings of
// the helper library) so that no file can stall or exhaust the program: a path that is not a
// regular file is not even opened, the file is opened without blocking and without becoming a
// controlling terminal, checked again on the open descriptor, and read only while it stays
// within maxBytes. A file may grow while it is read (a log being written), but by at most
// kMaxGrowthWhileRead beyond the size it had when opened; pseudo files that report no size and
// never end are thus cut off early and answered TooLarge.
//
// bufferFor, when given, may hand over memory to read into (a buffer of an earlier read): a
// string whose capacity holds the bytes asked for, its contents of no matter, or an empty one.
// Reusing memory spares the system handing out and clearing fresh pages, most of what reading
// a file already in the page cache costs.
using BufferFor = std::function<std::string(std::size_t bytes)>;
FileRead readRegularFile(const std::string& path, std::uint64_t maxBytes,
                         const BufferFor& bufferFor = {});
inline constexpr std::uint64_t kMaxGrowthWhileRead = std::uint64_t{1} << 20;

// The volume and the number of a file on it.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A file from outside opened under readRegularFile's rules, for a reader that takes it piece by
// piece (a mail attachment of any size).
class RegularFile {
public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return status_.outcome == FileRead::Outcome::Read; }
    // Why it is not open: Missing, NotRegular, OpenFailed or ReadFailed, with the error.
    const FileRead& failure() const { return status_; }
    // Its size when it was opened.
    std::uint64_t size() const { return size_; }
    // The most a reader takes: the size at opening and what the file may grow by meanwhile.
    std::uint64_t readLimit() const { return size_ + kMaxGrowthWhileRead; }
    // Which file on the disk it is, whatever its name: a file replaced under the same name has
    // another identity.
    const FileIdentity& identity() const { return identity_; }
    // Moves the next read to offset bytes from the start; false with the system's error number.
    bool seek(std::uint64_t offset, int& error);
    // Reads the next bytes into [data, data + size): how many, 0 at the end, or -1 with the
    // system's error number in error.
    long long read(char* data, std::size_t size, int& error);

private:
    std::intptr_t handle_;  // a descriptor (Linux) or a HANDLE (Windows)
    std::uint64_t size_ = 0;
    FileIdentity identity_;
    FileRead status_;  // Read once open
};

// The memory this process may use at most: the machine's physical memory, or a lower limit set
// on the process. 0 when unknown.
std::uint64_t usableMemoryBytes();

// Writes a file by atomic replacement: the bytes go to a new temporary file beside target,
// created exclusively (never through a link or an existing file), which is flushed to the disk
// and renamed over target only when whole. Until commit() succeeds target stays as it was; a
// replacement that is not committed removes its temporary file. A link at target is replaced
// itself, never written through; a folder, device, pipe or socket at target is never replaced
// (the replacement fails). Each replacement first removes the temporary files that a killed
// writer of the same target left behind (a live writer's are kept).
class FileReplacement {
public:
    // mode: Linux permission bits of the new file; by default those of the regular file it
    // replaces, or the usual ones for a new file (0666 less the umask). Windows ignores it.
    explicit FileReplacement(std::string target, std::optional<unsigned> mode = std::nullopt);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends bytes (buffered). False once anything failed, creating the temporary file
    // included; later writes are then ignored.
    bool write(std::string_view bytes);
    // Puts the file in place. False when anything failed: target is then unchanged.
    bool commit();
    // Why it failed, in the system's words; empty while nothing failed.
    const std::string& failure() const { return failure_; }

private:
    bool flushBuffer();
    void discard();
    // Marks the replacement failed, keeping the first reason; answers false.
    bool fail(std::string why);
    bool failWithSystemError();

    std::string target_;
    std::string temp_;
    std::intptr_t handle_;  // a descriptor (Linux) or a HANDLE (Windows)
    bool failed_ = false;
    bool committed_ = false;
    std::string buffer_;
    std::string failure_;
};

// One FileReplacement of target by bytes; failure, when given, tells why it failed.
bool replaceFile(const std::string& target, std::string_view bytes,
                 std::optional<unsigned> mode = std::nullopt, std::string* failure = nullptr);

// The temporary files of target's replacements: this prefix and six random letters or digits.
std::string temporaryPrefix(const std::string& target);
// A FileRead that failed with outcome and the system's error number.
FileRead failedRead(FileRead::Outcome outcome, int error = 0);
// One read of an open file into [data, data + size): the bytes got, 0 at its end, or -1 with
// the system's error number in error.
using ReadSome = std::function<long long(char* data, std::size_t size, int& error)>;
// Asks the system to give the pages of [data, data + size) memory now, in one call, rather than
// one page fault at a time as they are first written; a hint that may do nothing.
void prefaultBuffer(char* data, std::size_t size);
// Reads an open file to its end, at most limit bytes, into a buffer sized for expected bytes
// first (from bufferFor when it gives one large enough); TooLarge when the file goes on past
// limit or the memory runs out.
FileRead readToEnd(std::uint64_t expected, std::uint64_t limit, const ReadSome& readSome,
                   const BufferFor& bufferFor);
std::string temporaryName(const std::string& target);
// Removes the temporary files beside target that no live writer holds.
void removeLeftoverTemporaries(const std::string& target);

}  // namespace platform
