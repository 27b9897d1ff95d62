#include "core/notify/report_watch.h"

#include <algorithm>
#include <optional>

#include "core/reports/date_list.h"
#include "core/reports/report_loader.h"
#include "platform/roots.h"

namespace twk {
namespace {

// Appended bytes are read in pieces of this size.
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

void takeLine(ReportKind kind, std::string_view line, ReportNews& news) {
    // An empty line tells of nothing; a header begins a file.
    if (line.empty() || line == FileHeader(kind)) return;
    if (kind == ReportKind::Viruses) {
        news.quarantined.add(ParseVirusLine(line));
        return;
    }
    DeviceRecord record = ParseDeviceLine(line);
    if (record.Function == kConnectFunction) news.connected.add(std::move(record));
}

// Takes the whole lines at the start of bytes and says how many bytes they took; a line without
// its line end yet stays.
std::size_t takeLines(ReportKind kind, std::string_view bytes, bool& skipping, ReportNews& news) {
    std::size_t start = 0;
    if (skipping) {
        const std::size_t lineFeed = bytes.find('\n');
        if (lineFeed == std::string_view::npos) return bytes.size();
        start = lineFeed + 1;
        skipping = false;
    }
    for (std::size_t lineFeed; (lineFeed = bytes.find('\n', start)) != std::string_view::npos;
         start = lineFeed + 1)
        takeLine(kind, LineEndingAt(bytes, start, lineFeed), news);
    return start;
}

}  // namespace

template <typename Record>
void NewLines<Record>::add(Record record) {
    const std::string_view recordDate = record.Date.empty() ? kAllDates : record.Date;
    if (count == 0)
        date = recordDate;
    else if (date != recordDate)
        date = kAllDates;
    ++count;
    if (first.size() < kKept) first.push_back(std::move(record));
}

template struct NewLines<DeviceRecord>;
template struct NewLines<VirusRecord>;

ReportWatch::ReportWatch(std::string devicesFolder, std::string virusesFolder)
    : devices_{ReportKind::Devices, std::move(devicesFolder), {}},
      viruses_{ReportKind::Viruses, std::move(virusesFolder), {}} {
    begin(devices_);
    begin(viruses_);
}

void ReportWatch::begin(Folder& folder) {
    for (const std::string& name : platform::listFiles(folder.folder)) {
        if (!IsReportFileName(folder.kind, name)) continue;
        platform::RegularFile file(platform::joinPath(folder.folder, name));
        if (!file.isOpen()) continue;
        // Read from the last byte on, passing over the line it ends: a line that was being
        // written when the watch began is no news when its end comes.
        const std::uint64_t size = file.size();
        folder.files[name] = {file.identity(), size > 0 ? size - 1 : 0, size > 0, false};
    }
}

ReportNews ReportWatch::look() {
    ReportNews news;
    lookAt(devices_, news);
    lookAt(viruses_, news);
    return news;
}

void ReportWatch::lookAt(Folder& folder, ReportNews& news) {
    bool listed = false;
    const std::vector<std::string> names = platform::listFiles(folder.folder, &listed);
    // A folder that is not there (yet) holds nothing; one that cannot be read keeps its files as
    // they were read.
    if (!listed && platform::dirExists(folder.folder)) {
        news.problems.push_back({folder.folder, ReportProblem::Kind::FolderNotRead});
        return;
    }
    std::map<std::string, FileState> files;
    for (const std::string& name : names) {
        if (!IsReportFileName(folder.kind, name)) continue;
        const std::string path = platform::joinPath(folder.folder, name);
        const auto known = folder.files.find(name);
        platform::RegularFile file(path);
        if (!file.isOpen()) {
            FileState state = known != folder.files.end() ? known->second : FileState{};
            std::optional<ReportProblem> problem = ProblemOfRead(path, file.failure());
            if (!problem) continue;  // gone since the listing
            if (!state.failing) news.problems.push_back(std::move(*problem));
            state.failing = true;
            files[name] = state;
            continue;
        }
        FileState state;
        // A file replaced under its name, or one that shrank, is read from its start.
        if (known != folder.files.end() && known->second.identity == file.identity() &&
            known->second.offset <= file.size())
            state = known->second;
        state.identity = file.identity();
        state.failing = false;
        if (file.size() > state.offset)
            readAppended(folder.kind, file, state, news.problems, path, news);
        files[name] = state;
    }
    folder.files = std::move(files);
}

void ReportWatch::readAppended(ReportKind kind, platform::RegularFile& file, FileState& state,
                               std::vector<ReportProblem>& problems, const std::string& path,
                               ReportNews& news) {
    int error = 0;
    const auto fail = [&] {
        problems.push_back({path, ReportProblem::Kind::NotRead, error});
        state.failing = true;
    };
    if (!file.seek(state.offset, error)) return fail();
    // Within the bound of every report read: what the file held when opened and what it may
    // grow by while being read.
    std::uint64_t left = file.readLimit() - state.offset;
    std::string pending;  // the bytes from offset on not taken yet
    std::string piece(kPieceBytes, '\0');
    while (left > 0) {
        const long long got =
            file.read(piece.data(),
                      static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), left)), error);
        if (got < 0) return fail();
        if (got == 0) break;
        left -= static_cast<std::uint64_t>(got);
        pending.append(piece.data(), static_cast<std::size_t>(got));
        const std::size_t taken = takeLines(kind, pending, state.skipping, news);
        state.offset += taken;
        pending.erase(0, taken);
        if (pending.size() > kMaxLineBytes) {
            state.offset += pending.size();
            pending.clear();
            state.skipping = true;
        }
    }
}

}  // namespace twk
