#include "core/reports/report_loader.h"

#include <algorithm>
#include <cstdint>

#include "platform/files.h"
#include "platform/roots.h"
#include "platform/strings.h"

namespace twk {
namespace {

// What the problems message says about a file that could not be read; empty for a file that
// is no problem: one moved away since the listing (its records show in its new folder at the
// next refresh).
std::string problemOf(const platform::FileRead& read) {
    using Outcome = platform::FileRead::Outcome;
    switch (read.outcome) {
        case Outcome::Read:
        case Outcome::Missing:
            return {};
        case Outcome::NotRegular:
            return "is not a regular file";
        case Outcome::TooLarge:
            return "is too large to be read";
        case Outcome::OpenFailed:
            return "could not be opened (" + read.reason() + ")";
        case Outcome::ReadFailed:
            return "could not be read (" + read.reason() + ")";
    }
    return {};
}

// Reads one report file whole if it fits in what is left of the memory for reports, the
// rows its lines will take included.
platform::FileRead readReportFile(const std::string& path, const ReportTable& table) {
    const std::uint64_t limit = ReportMemoryLimit();
    const std::uint64_t left = limit > table.memoryUse() ? limit - table.memoryUse() : 0;
    platform::FileRead read = platform::readRegularFile(path, left);
    if (!read.ok()) return read;
    const auto lines =
        static_cast<std::uint64_t>(std::count(read.bytes.begin(), read.bytes.end(), '\n')) + 1;
    if (read.bytes.size() + lines * ReportTable::kRowBytes > left) {
        read.bytes = {};
        read.outcome = platform::FileRead::Outcome::TooLarge;
    }
    return read;
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

std::uint64_t ReportMemoryLimit() {
    const std::uint64_t usable = platform::usableMemoryBytes();
    return usable == 0 ? kUnknownMemoryReportLimit : usable / 4;
}

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
        platform::FileRead read = readReportFile(path, table);
        if (!read.ok()) {
            if (std::string problem = problemOf(read); !problem.empty())
                load.problems.push_back({path, std::move(problem)});
            continue;
        }
        shown.clear();
        collectRows(kind, read.bytes, selectedDate, shown, dates, load.RecordCount);
        table.appendFile(std::move(read.bytes), shown);
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
