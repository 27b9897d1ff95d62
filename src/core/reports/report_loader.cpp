#include "core/reports/report_loader.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include "platform/files.h"
#include "platform/roots.h"
#include "platform/strings.h"

namespace twk {
namespace {

std::string systemReason() { return std::generic_category().message(errno); }

// Reads the open file to its end into bytes, which is sized to the expected length plus one:
// filling that extra byte tells a file that grew meanwhile, which is then read on.
bool readToEnd(std::FILE* file, std::string& bytes) {
    std::size_t used = 0;
    bool grew = false;
    for (;;) {
        used += std::fread(bytes.data() + used, 1, bytes.size() - used, file);
        if (used < bytes.size()) break;
        grew = true;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(used);
    if (grew) bytes.shrink_to_fit();
    return std::ferror(file) == 0;
}

// The whole file in one buffer, or nullopt with the reason in why.
std::optional<std::string> readWholeFile(const std::string& path, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = "could not be opened (" + systemReason() + ")";
        return std::nullopt;
    }
    std::error_code sizeError;
    const auto length = std::filesystem::file_size(path, sizeError);
    std::optional<std::string> bytes;
    try {
        bytes.emplace(sizeError ? 1 : length + 1, '\0');
        if (!readToEnd(file, *bytes)) {
            why = "could not be read (" + systemReason() + ")";
            bytes.reset();
        }
    } catch (const std::bad_alloc&) {
        why = "is too large to be read";
        bytes.reset();
    }
    std::fclose(file);
    return bytes;
}

// Walks the lines of one file: counts its records, offers their dates and collects the
// starts of the lines to show.
void collectRows(ReportKind kind, std::string_view bytes, const std::string& selectedDate,
                 std::vector<std::size_t>& shown, DateList& dates, std::size_t& records) {
    const std::string_view header = FileHeader(kind);
    const bool allDates = selectedDate == kAllDates;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::string_view line = LineAt(bytes, start);
        const std::size_t lineFeed = bytes.find('\n', start + line.size());
        if (line != header) {
            ++records;
            const std::string_view date =
                DateOfTime(SplitReportLine(line, kTimeField + 1)[kTimeField]);
            dates.offer(date);
            if (allDates || date == selectedDate) shown.push_back(start);
        }
        start = lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1;
    }
}

bool ensureFolder(const std::string& directory, ReportLoad& load) {
    if (platform::dirExists(directory) || platform::makeDir(directory)) return true;
    load.problems.push_back({directory, "the folder could not be created"});
    return false;
}

}  // namespace

bool IsReportFileName(ReportKind kind, const std::string& name) {
    if (kind == ReportKind::Devices) return true;
    return name.size() >= 3 && platform::equalsNoCase(name.substr(name.size() - 3), "csv");
}

void ReportLoad::add(ReportLoad other) {
    RecordCount += other.RecordCount;
    for (ReportProblem& problem : other.problems) problems.push_back(std::move(problem));
}

ReportLoad LoadReports(ReportKind kind, const std::string& directory,
                       const std::string& selectedDate, ReportTable& table, DateList& dates) {
    ReportLoad load;
    table.setColumns(kind);
    if (!ensureFolder(directory, load)) return load;
    bool listed = false;
    const std::vector<std::string> names = platform::listFiles(directory, &listed);
    if (!listed) load.problems.push_back({directory, "the folder could not be read"});
    std::vector<std::size_t> shown;
    for (const std::string& name : names) {
        if (!IsReportFileName(kind, name)) continue;
        const std::string path = platform::joinPath(directory, name);
        std::string why;
        std::optional<std::string> bytes = readWholeFile(path, why);
        if (!bytes) {
            load.problems.push_back({path, why});
            continue;
        }
        shown.clear();
        collectRows(kind, *bytes, selectedDate, shown, dates, load.RecordCount);
        table.appendFile(std::move(*bytes), shown);
    }
    return load;
}

ReportLoad LoadVirusReports(const std::string& directory, const std::string& selectedDate,
                            ReportTable& table, DateList& dates) {
    return LoadReports(ReportKind::Viruses, directory, selectedDate, table, dates);
}

ReportLoad LoadDeviceReports(const std::string& directory, const std::string& selectedDate,
                             ReportTable& table, DateList& dates) {
    return LoadReports(ReportKind::Devices, directory, selectedDate, table, dates);
}

ReportLoad RefreshReports(ReportKind kind, const std::string& mainDirectory,
                          const std::string& selectedDate, ReportTable& table, DateList& dates) {
    table.clear();
    table.setColumns(kind);
    ReportLoad load;
    if (!ensureFolder(mainDirectory, load)) return load;
    load.add(LoadReports(kind, platform::joinPath(mainDirectory, kSendedReportsFolder),
                         selectedDate, table, dates));
    load.add(LoadReports(kind, mainDirectory, selectedDate, table, dates));
    return load;
}

}  // namespace twk
