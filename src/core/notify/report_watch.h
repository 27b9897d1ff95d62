#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/reports/report_problems.h"
#include "core/reports/report_record.h"
#include "platform/files.h"

namespace twk {

// The devices action that tells of a device plugged in.
inline constexpr std::string_view kConnectFunction = "Connect";

// The lines of one kind that a look found to tell of: the first few records, how many there
// were in all, and the one date they share (kAllDates when they have several or none).
template <typename Record>
struct NewLines {
    // More records than this in one look are told as one summary, so only these are kept.
    static constexpr std::size_t kKept = 3;
    std::vector<Record> first;
    std::size_t count = 0;
    std::string date;

    void add(Record record);
};

// What the guard service added to the report folders since the last look: devices plugged in
// and files moved into quarantine, and the files that could not be read.
struct ReportNews {
    NewLines<DeviceRecord> connected;
    NewLines<VirusRecord> quarantined;
    std::vector<ReportProblem> problems;

    std::size_t count() const { return connected.count + quarantined.count; }
};

// Follows the report files directly in the two report folders (the mailed reports in their
// subfolders are old news) and reads only the bytes appended to them since the last look, in
// pieces, so that neither a large file nor a burst of lines takes much memory. Lines that were
// there when the watch began never count; a file that shrank or was replaced under its name is
// read from its start; a line still being written waits for its line end.
class ReportWatch {
public:
    // The folders as the settings store holds them (DirRep and DirQuar): every file they hold
    // now is taken as read to its end.
    ReportWatch(std::string devicesFolder, std::string virusesFolder);

    const std::string& devicesFolder() const { return devices_.folder; }
    const std::string& virusesFolder() const { return viruses_.folder; }

    // Reads what was appended since the last look (or since the watch began).
    ReportNews look();

    // A line longer than this is passed over: no report line comes near it.
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

private:
    // Where the reading of one file stands.
    struct FileState {
        platform::FileIdentity identity;
        std::uint64_t offset = 0;  // where the next read starts
        // The bytes from offset up to the next line end belong to a line not to be read: one
        // that was there when the watch began, or one too long.
        bool skipping = false;
        // It could not be read at the last look, and that has been told.
        bool failing = false;
    };
    struct Folder {
        ReportKind kind;
        std::string folder;
        std::map<std::string, FileState> files;  // by name
    };

    static void begin(Folder& folder);
    static void lookAt(Folder& folder, ReportNews& news);
    static void readAppended(ReportKind kind, platform::RegularFile& file, FileState& state,
                             std::vector<ReportProblem>& problems, const std::string& path,
                             ReportNews& news);

    Folder devices_;
    Folder viruses_;
};

}  // namespace twk
