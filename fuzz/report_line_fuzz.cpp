// One line of a guard-service report: fields, records and the record's date.
#include <algorithm>
#include <string>
#include <string_view>

#include "core/reports/report_record.h"
#include "fuzz_support.h"

namespace {

std::string joined(const twk::LineFields& fields, size_t count) {
    std::string line;
    for (size_t i = 0; i < count; ++i) {
        if (i) line += ';';
        line.append(fields[i]);
    }
    return line;
}

void checkSplit(std::string_view line, size_t fieldCount) {
    const twk::LineFields fields = twk::SplitReportLine(line, fieldCount);
    const size_t separators = static_cast<size_t>(std::count(line.begin(), line.end(), ';'));
    if (separators < fieldCount) {
        // Nothing dropped: the fields give the line back.
        FUZZ_CHECK(joined(fields, separators + 1) == line);
        for (size_t i = separators + 1; i < twk::kMaxFieldCount; ++i) FUZZ_CHECK(fields[i].empty());
    } else {
        // Fields after the last one kept are dropped, nothing else.
        FUZZ_CHECK(line.rfind(joined(fields, fieldCount) + ";", 0) == 0);
    }
}

void checkDate(std::string_view time, std::string_view date) {
    FUZZ_CHECK(date.find(' ') == std::string_view::npos);
    FUZZ_CHECK(time.substr(0, date.size()) == date);
    if (!date.empty()) FUZZ_CHECK(time.size() > date.size() && time[date.size()] == ' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= text.size();) {
        const std::string_view line = twk::LineAt(text, start);
        FUZZ_CHECK(line.find('\n') == std::string_view::npos);
        FUZZ_CHECK(text.substr(start, line.size()) == line);
        checkSplit(line, twk::kVirusFieldCount);
        checkSplit(line, twk::kDeviceFieldCount);
        const twk::LineFields allFields = twk::SplitReportLine(line, twk::kMaxFieldCount);
        for (size_t field = 0; field < twk::kMaxFieldCount; ++field)
            FUZZ_CHECK(twk::FieldAt(text, start, field) == allFields[field]);

        const twk::VirusRecord virus = twk::ParseVirusLine(line);
        const twk::LineFields virusFields = twk::SplitReportLine(line, twk::kVirusFieldCount);
        FUZZ_CHECK(virus.PC == virusFields[0] && virus.Device == virusFields[6]);
        checkDate(virus.Time, virus.Date);

        const twk::DeviceRecord device = twk::ParseDeviceLine(line);
        const twk::LineFields deviceFields = twk::SplitReportLine(line, twk::kDeviceFieldCount);
        FUZZ_CHECK(device.Path == deviceFields[5] && device.Serial == deviceFields[11]);
        checkDate(device.Time, device.Date);

        const size_t lineFeed = text.find('\n', start);
        if (lineFeed == std::string_view::npos) break;
        start = lineFeed + 1;
    }
    return 0;
}
