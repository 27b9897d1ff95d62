// Loads a report folder pair through the same refresh the report page uses and compares it with
// `wc -l` over the same files in the same run:
//   report_load_bench <folder> [devices|viruses]
// Prints the first load of the process, then a load and a date refresh as the page repeats them
// (each the best of three; they read into the memory of the rows they replace), and peak RSS;
// the files are read once first so every run finds them in the page cache. Then the first sort of rows in reading
// order by a few columns (each of three trials starts from reading order again) with the heap a
// sort takes beyond the table, and, for information, an export to a file in the temporary folder.

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "platform/files.h"
#include "platform/roots.h"

extern char** environ;

// Heap bytes in use and their peak, counted by the program's own operator new.
namespace {
std::atomic<long long> heapBytes{0};
std::atomic<long long> heapPeak{0};
}  // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    const long long now = heapBytes += static_cast<long long>(malloc_usable_size(block));
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return block;
}
void operator delete(void* block) noexcept {
    heapBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace {

using Clock = std::chrono::steady_clock;

double bestSeconds(const std::function<void()>& work) {
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// The report files a refresh reads, in its order.
std::vector<std::string> reportFiles(const std::string& folder, twk::ReportKind kind) {
    std::vector<std::string> paths;
    for (const std::string& dir : {platform::joinPath(folder, twk::kSendedReportsFolder), folder}) {
        for (const std::string& name : platform::listFiles(dir))
            if (twk::IsReportFileName(kind, name)) paths.push_back(platform::joinPath(dir, name));
    }
    return paths;
}

bool runWordCount(const std::vector<std::string>& files) {
    std::vector<char*> argv{const_cast<char*>("wc"), const_cast<char*>("-l")};
    for (const std::string& file : files) argv.push_back(const_cast<char*>(file.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "wc", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0 / 1e6;  // kilobytes on Linux
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: report_load_bench <folder> [devices|viruses]\n";
        return 2;
    }
    const std::string folder = argv[1];
    const twk::ReportKind kind = argc > 2 && std::string(argv[2]) == "viruses"
                                     ? twk::ReportKind::Viruses
                                     : twk::ReportKind::Devices;
    const std::vector<std::string> files = reportFiles(folder, kind);
    unsigned long long bytes = 0;
    for (const std::string& file : files) {
        std::FILE* handle = std::fopen(file.c_str(), "rb");
        if (!handle) continue;
        std::fseek(handle, 0, SEEK_END);
        bytes += static_cast<unsigned long long>(std::ftell(handle));
        std::fclose(handle);
    }
    if (files.empty() || !runWordCount(files)) {  // also brings the files into the page cache
        std::cerr << "no report files, or wc failed, under " << folder << "\n";
        return 1;
    }
    const double wcSeconds = bestSeconds([&] { runWordCount(files); });

    twk::ReportTable table;
    twk::DateList dates;
    const std::string all(twk::kAllDates);
    const auto firstStart = Clock::now();
    twk::ReportLoad load = twk::RefreshReports(kind, folder, all, table, dates);
    const double firstSeconds = std::chrono::duration<double>(Clock::now() - firstStart).count();
    const double loadSeconds = bestSeconds([&] {
        dates.reset();
        load = twk::RefreshReports(kind, folder, all, table, dates);
    });
    const std::size_t allRows = table.rowCount();
    const std::string date(dates.entry(dates.size() / 2));
    const double dateSeconds =
        bestSeconds([&] { twk::RefreshReports(kind, folder, date, table, dates); });
    const std::size_t dateRows = table.rowCount();
    const double peakLoad = peakRssMegabytes();
    const double megabytes = bytes / 1e6;

    std::printf("files %zu, %.1f MB, %zu records, %zu rows, %zu dates, %zu problems\n",
                files.size(), megabytes, load.RecordCount, allRows, dates.size() - 1,
                load.problems.size());
    std::printf("wc -l          %8.3f s\n", wcSeconds);
    std::printf("first load     %8.3f s  %10.0f records/s  %6.1f x wc -l\n", firstSeconds,
                load.RecordCount / firstSeconds, firstSeconds / wcSeconds);
    std::printf("load           %8.3f s  %10.0f records/s  %6.1f x wc -l\n", loadSeconds,
                load.RecordCount / loadSeconds, loadSeconds / wcSeconds);
    std::printf("date refresh   %8.3f s  %zu rows of %s  %6.2f x load\n", dateSeconds, dateRows,
                date.c_str(), dateSeconds / loadSeconds);
    std::printf("peak RSS       %8.1f MB  (target %.1f MB = 1.1 x files + 40 MB)\n", peakLoad,
                1.1 * bytes / 1e6 + 40);

    twk::RefreshReports(kind, folder, all, table, dates);
    const double rows = static_cast<double>(table.rowCount());
    for (std::size_t column : {std::size_t{1}, std::size_t{2}, std::size_t{0}, std::size_t{6}}) {
        std::printf("first sort by %-12s", std::string(table.heading(column)).c_str());
        double extraBytes = 0;
        for (int trial = 0; trial < 3; ++trial) {
            table.showReadingOrder();
            const long long before = heapBytes;
            heapPeak = before;
            const auto start = Clock::now();
            table.sortByColumn(column);
            std::printf(" %6.3f s", std::chrono::duration<double>(Clock::now() - start).count());
            extraBytes = std::max(extraBytes, static_cast<double>(heapPeak - before));
        }
        std::printf("  (%.1f bytes a row of heap beyond the table)\n", extraBytes / rows);
    }
    // The former sort, for comparison in the same run: a stable sort of every row's cell view.
    table.showReadingOrder();
    std::printf("former sort by User ");
    for (int trial = 0; trial < 3; ++trial) {
        const auto start = Clock::now();
        std::vector<std::pair<std::string_view, std::size_t>> keyed;
        keyed.reserve(table.rowCount());
        for (std::size_t row = 0; row < table.rowCount(); ++row)
            keyed.emplace_back(table.cell(row, 1), row);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::printf(" %6.3f s", std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::printf("  (reference: a stable sort of every row's cell view)\n");
    // A real file: the export never replaces a device such as /dev/null.
    const std::string exportFile =
        (std::filesystem::temp_directory_path() / "report_load_bench.csv").string();
    bool exported = true;
    const double exportSeconds =
        bestSeconds([&] { exported = twk::SaveReportCsv(exportFile, table, kind) && exported; });
    std::filesystem::remove(exportFile);
    std::printf("export         %8.3f s  (information, to %s%s)\n", exportSeconds,
                exportFile.c_str(), exported ? "" : ", FAILED");
    return 0;
}
