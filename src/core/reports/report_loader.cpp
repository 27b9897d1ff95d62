#include "core/reports/report_loader.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>

#include "platform/files.h"
#include "platform/reasons.h"
#include "platform/roots.h"
#include "platform/strings.h"

namespace twk {
namespace {

// A problem goes into the load's message and, every one of them, into the journal.
void noteProblem(ReportLoad& load, ReportProblem problem) {
    platform::logReason(platform::ReasonTopic::Reports, problem.path + ": " + problem.what());
    load.problems.push_back(std::move(problem));
}

// One report file on its way into the table: read and scanned on any core, then appended in
// name order.
struct PendingFile {
    std::string path;
    platform::FileRead read;
    std::uint64_t maxBytes = 0;  // the bound it was read with
    std::size_t records = 0;
    std::vector<std::size_t> shown;  // starts of the lines to show
    // The file's dates in the order first met, as places in its bytes.
    std::vector<std::pair<std::size_t, std::size_t>> dates;
    bool done = false;  // read and scanned

    // What the file holds in memory once scanned, as the table counts it.
    std::uint64_t memoryUse() const {
        return read.bytes.size() + std::uint64_t{records} * ReportTable::kRowBytes;
    }
};

// The memory of the file bytes a table held before a refresh, for the refresh to read into: a
// file read into memory the process already has costs no fresh pages from the system, which are
// most of what reading a file from the page cache costs. A file takes only a buffer at most an
// eighth (and a page) larger than itself, so its bytes count for its memory as they do in fresh
// memory; when none fits, spares as large as the file are let go before it gets fresh memory,
// so a refresh holds little more than the larger of the two tables.
class SpareBuffers {
public:
    SpareBuffers() = default;
    explicit SpareBuffers(std::vector<std::string> buffers) {
        for (std::string& buffer : buffers) give(std::move(buffer));
    }

    // A buffer to read bytes into, or an empty string for fresh memory.
    std::string take(std::size_t bytes) {
        std::vector<std::string> released;  // let go after the lock
        std::lock_guard lock(mutex_);
        const auto fit = spares_.lower_bound(bytes);
        if (fit != spares_.end() && fit->first <= bytes + bytes / 8 + kSmallest) {
            std::string buffer = std::move(fit->second);
            spares_.erase(fit);
            return buffer;
        }
        for (std::size_t freed = 0; freed < bytes && !spares_.empty();
             freed += released.back().capacity()) {
            released.push_back(std::move(std::prev(spares_.end())->second));
            spares_.erase(std::prev(spares_.end()));
        }
        return {};
    }

    // The bytes of a file the table did not keep.
    void give(std::string buffer) {
        if (buffer.capacity() < kSmallest) return;
        std::lock_guard lock(mutex_);
        spares_.emplace(buffer.capacity(), std::move(buffer));
    }

private:
    // Smaller buffers come from the heap at little cost.
    static constexpr std::size_t kSmallest = 4096;
    std::mutex mutex_;
    std::multimap<std::size_t, std::string> spares_;  // by capacity
};

// Walks the lines of one read file: counts its records, notes their dates and collects the
// starts of the lines to show.
void scanLines(ReportKind kind, const std::string& selectedDate, PendingFile& file) {
    const std::string_view header = FileHeader(kind);
    const bool allDates = selectedDate == kAllDates;
    const std::string_view bytes = file.read.bytes;
    std::unordered_set<std::string_view> met;
    std::string_view lastDate;  // lines of one date mostly follow each other
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::string_view time = FieldAt(bytes, start, kTimeField);
        // The line feed lies behind the time, when the line has one.
        const std::size_t lineFeed = std::min(
            bytes.find('\n', time.empty() ? start : time.data() + time.size() - bytes.data()),
            bytes.size());
        if (LineEndingAt(bytes, start, lineFeed) != header) {
            ++file.records;
            const std::string_view date = DateOfTime(time);
            if (date != lastDate) {
                lastDate = date;
                if (!date.empty() && met.insert(date).second)
                    file.dates.emplace_back(date.data() - bytes.data(), date.size());
            }
            if (allDates || date == selectedDate) file.shown.push_back(start);
        }
        start = lineFeed + 1;
    }
}

// Loads the files of one folder with every core: workers read and scan files in name order,
// a few ahead, and this thread appends them to the table in that order. The memory for reports
// is never exceeded: a worker reads only within a share of what the table and the files in
// flight leave. A file refused only because its share was smaller than what the table alone
// leaves is read again here, and the folder's later files with it, one after the other, so
// which files the table holds does not depend on timing.
class FolderLoad {
public:
    FolderLoad(ReportKind kind, const std::string& selectedDate, ReportTable& table,
               DateList& dates, ReportLoad& load, SpareBuffers& spares)
        : kind_(kind),
          selectedDate_(selectedDate),
          table_(table),
          dates_(dates),
          load_(load),
          spares_(spares) {}

    void run(std::vector<std::string> paths) {
        files_.resize(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) files_[i].path = std::move(paths[i]);
        startWorkers();
        for (std::size_t i = 0; i < files_.size(); ++i) {
            PendingFile& file = waitForFile(i);
            if (file.read.outcome == platform::FileRead::Outcome::TooLarge &&
                file.maxBytes < memoryLeft()) {
                stopWorkers();
                for (std::size_t rest = i; rest < files_.size(); ++rest) forget(files_[rest]);
                for (std::size_t rest = i; rest < files_.size(); ++rest) loadHere(files_[rest]);
                return;
            }
            const std::uint64_t held = file.memoryUse();
            append(file);
            {
                std::lock_guard lock(mutex_);
                appended_ = i + 1;
                committed_ = table_.memoryUse();
                held_ -= held;
            }
            changed_.notify_all();
        }
        stopWorkers();
    }

    ~FolderLoad() { stopWorkers(); }

private:
    // Files read ahead of the table at most; more would only hold memory sooner.
    static constexpr std::size_t kMaxAhead = 8;

    std::uint64_t memoryLeft() const {
        const std::uint64_t used = table_.memoryUse();
        return limit_ > used ? limit_ - used : 0;
    }

    void startWorkers() {
        workerCount_ = static_cast<unsigned>(std::clamp<std::size_t>(
            std::thread::hardware_concurrency(), 1, std::max<std::size_t>(files_.size(), 1)));
        committed_ = table_.memoryUse();
        for (unsigned i = 0; i < workerCount_; ++i) workers_.emplace_back([this] { work(); });
    }

    // Lets the workers end the file in hand, and waits for them.
    void stopWorkers() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        workers_.clear();  // joins them
    }

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] {
                return stopping_ || next_ >= files_.size() || next_ < appended_ + kMaxAhead;
            });
            if (stopping_ || next_ >= files_.size()) return;
            PendingFile& file = files_[next_++];
            const std::uint64_t used = committed_ + held_;
            file.maxBytes = (limit_ > used ? limit_ - used : 0) / workerCount_;
            held_ += file.maxBytes;
            lock.unlock();
            read(file);
            lock.lock();
            held_ = held_ - file.maxBytes + file.memoryUse();
            file.done = true;
            changed_.notify_all();
        }
    }

    PendingFile& waitForFile(std::size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return files_[index].done; });
        return files_[index];
    }

    // Back to a file not yet read.
    static void forget(PendingFile& file) {
        PendingFile unread;
        unread.path = std::move(file.path);
        file = std::move(unread);
    }

    // Reads, scans and appends one file on this thread, within what the table leaves.
    void loadHere(PendingFile& file) {
        file.maxBytes = memoryLeft();
        read(file);
        append(file);
    }

    void read(PendingFile& file) {
        file.read = platform::readRegularFile(
            file.path, file.maxBytes, [this](std::size_t bytes) { return spares_.take(bytes); });
        if (file.read.ok()) scanLines(kind_, selectedDate_, file);
    }

    void append(PendingFile& file) {
        if (file.read.ok() && file.memoryUse() > memoryLeft()) {
            spares_.give(std::move(file.read.bytes));
            file.read.outcome = platform::FileRead::Outcome::TooLarge;
        }
        if (!file.read.ok()) {
            if (std::optional<ReportProblem> problem = ProblemOfRead(file.path, file.read))
                noteProblem(load_, std::move(*problem));
            return;
        }
        load_.RecordCount += file.records;
        for (const auto& [start, size] : file.dates)
            dates_.offer(std::string_view(file.read.bytes).substr(start, size));
        if (file.shown.empty())
            spares_.give(std::move(file.read.bytes));
        else
            table_.appendFile(std::move(file.read.bytes), file.shown);
        file.shown = {};
    }

    const ReportKind kind_;
    const std::string& selectedDate_;
    ReportTable& table_;
    DateList& dates_;
    ReportLoad& load_;
    SpareBuffers& spares_;
    const std::uint64_t limit_ = ReportMemoryLimit();
    std::vector<PendingFile> files_;  // in name order

    std::mutex mutex_;  // guards what follows, and each file until it is done
    std::condition_variable changed_;
    std::size_t next_ = 0;         // files handed to workers
    std::size_t appended_ = 0;     // files through append
    std::uint64_t committed_ = 0;  // what the table held when the last file was appended
    std::uint64_t held_ = 0;       // what the files in flight hold or may take
    bool stopping_ = false;
    unsigned workerCount_ = 1;
    std::vector<std::jthread> workers_;
};

ReportProblem::Kind creationProblem(platform::MakeDirFailure failure) {
    switch (failure) {
        case platform::MakeDirFailure::NameTooLong:
            return ReportProblem::Kind::FolderNameTooLong;
        case platform::MakeDirFailure::SystemFolder:
            return ReportProblem::Kind::FolderInSystemFolder;
        case platform::MakeDirFailure::Other:
            break;
    }
    return ReportProblem::Kind::FolderNotCreated;
}

bool ensureFolder(const std::string& directory, ReportLoad& load) {
    platform::MakeDirFailure failure = platform::MakeDirFailure::Other;
    if (platform::dirExists(directory) || platform::makeDir(directory, &failure)) return true;
    noteProblem(load, {directory, creationProblem(failure)});
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

namespace {

ReportLoad loadFolder(ReportKind kind, const std::string& directory,
                      const std::string& selectedDate, ReportTable& table, DateList& dates,
                      SpareBuffers& spares) {
    ReportLoad load;
    table.setColumns(kind);
    if (!ensureFolder(directory, load)) return load;
    bool listed = false;
    const std::vector<std::string> names = platform::listFiles(directory, &listed);
    if (!listed) noteProblem(load, {directory, ReportProblem::Kind::FolderNotRead});
    std::vector<std::string> paths;
    for (const std::string& name : names)
        if (IsReportFileName(kind, name)) paths.push_back(platform::joinPath(directory, name));
    FolderLoad(kind, selectedDate, table, dates, load, spares).run(std::move(paths));
    return load;
}

}  // namespace

ReportLoad LoadReports(ReportKind kind, const std::string& directory,
                       const std::string& selectedDate, ReportTable& table, DateList& dates) {
    SpareBuffers none;
    return loadFolder(kind, directory, selectedDate, table, dates, none);
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
    SpareBuffers spares(table.releaseFiles());
    table.setColumns(kind);
    ReportLoad load;
    if (!ensureFolder(mainDirectory, load)) return load;
    load.add(loadFolder(kind, platform::joinPath(mainDirectory, kSendedReportsFolder), selectedDate,
                        table, dates, spares));
    load.add(loadFolder(kind, mainDirectory, selectedDate, table, dates, spares));
    return load;
}

}  // namespace twk
