// A whole report folder as the report page loads it: the input becomes report files in a
// main folder and its "sended reports" folder, which are then loaded for every view and date,
// sorted and exported.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "core/reports/report_export.h"
#include "core/reports/report_loader.h"
#include "fuzz_support.h"

namespace {

constexpr size_t kMaxFiles = 6;

// A file name the folder can hold: no separators or NULs, not "." or "..".
std::string fileName(FuzzedDataProvider& input, size_t index) {
    std::string name = input.ConsumeRandomLengthString(16);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == '/' || c == 0; }),
               name.end());
    if (name.empty() || name == "." || name == "..") name = "report" + std::to_string(index);
    return name;
}

void writeFolder(FuzzedDataProvider& input, const std::string& mainFolder) {
    const size_t files = input.ConsumeIntegralInRange<size_t>(0, kMaxFiles);
    for (size_t index = 0; index < files && input.remaining_bytes() > 0; ++index) {
        const bool sended = input.ConsumeBool();
        const std::string folder =
            sended ? mainFolder + "/" + twk::kSendedReportsFolder : mainFolder;
        const std::string name = fileName(input, index);
        const std::string bytes = index + 1 == files ? input.ConsumeRemainingBytesAsString()
                                                     : input.ConsumeRandomLengthString(4096);
        twk::fuzz::writeBytes(folder + "/" + name, bytes);
    }
}

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

void checkExport(const twk::ReportTable& table, twk::ReportKind view) {
    std::ostringstream out;
    FUZZ_CHECK(twk::WriteReportCsv(out, table, view));
    // Cells never hold a line feed: one line per row after the header.
    FUZZ_CHECK(lineCount(out.str()) == table.rowCount() + 1);
}

void loadAndCheck(twk::ReportKind kind, const std::string& folder, const std::string& date,
                  twk::DateList& dates, size_t sortColumn) {
    twk::ReportTable table;
    const twk::ReportLoad load = twk::RefreshReports(kind, folder, date, table, dates);
    FUZZ_CHECK(table.rowCount() <= load.RecordCount);
    FUZZ_CHECK(table.columnCount() == twk::ReportColumns(kind).size());
    for (size_t row = 0; row < table.rowCount(); ++row) {
        const std::string_view rowDate = twk::DateOfTime(table.cell(row, twk::kTimeField));
        FUZZ_CHECK(date == twk::kAllDates || rowDate == date);
        FUZZ_CHECK(table.rowCells(row)[0] == table.cell(row, 0));
    }
    checkExport(table, kind);
    table.sortByColumn(sortColumn);
    checkExport(table, kind);
    table.showReadingOrder();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto kind = input.ConsumeBool() ? twk::ReportKind::Devices : twk::ReportKind::Viruses;
    const size_t sortColumn = input.ConsumeIntegralInRange<size_t>(0, twk::kMaxFieldCount);
    twk::fuzz::clearScratch();
    const std::string folder = twk::fuzz::scratchPath("reports");
    writeFolder(input, folder);

    twk::DateList dates;
    loadAndCheck(kind, folder, std::string(twk::kAllDates), dates, sortColumn);
    const std::vector<std::string> offered = dates.entries();
    FUZZ_CHECK(!offered.empty() && offered[0] == twk::kAllDates);
    // Every date once; none empty.
    for (size_t i = 1; i < offered.size(); ++i) {
        FUZZ_CHECK(!offered[i].empty());
        FUZZ_CHECK(std::find(offered.begin(), offered.begin() + i, offered[i]) ==
                   offered.begin() + i);
    }
    if (offered.size() > 1) loadAndCheck(kind, folder, offered.back(), dates, sortColumn);
    // Reloading offers nothing new.
    FUZZ_CHECK(dates.entries() == offered);
    return 0;
}
