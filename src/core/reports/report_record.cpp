#include "core/reports/report_record.h"

#include <algorithm>

namespace twk {

std::size_t FieldCount(ReportKind kind) {
    return kind == ReportKind::Devices ? kDeviceFieldCount : kVirusFieldCount;
}

std::string_view FileHeader(ReportKind kind) {
    return kind == ReportKind::Devices ? kDeviceFileHeader : kVirusFileHeader;
}

std::string_view LineAt(std::string_view text, std::size_t start) {
    std::size_t end = std::min(text.find('\n', start), text.size());
    if (end > start && text[end - 1] == '\r') --end;
    return text.substr(start, end - start);
}

LineFields SplitReportLine(std::string_view line, std::size_t fieldCount) {
    LineFields fields{};
    const std::size_t count = std::min(fieldCount, kMaxFieldCount);
    std::size_t start = 0;
    for (std::size_t index = 0; index < count; ++index) {
        const std::size_t end = line.find(';', start);
        if (end == std::string_view::npos) {
            fields[index] = line.substr(start);
            break;
        }
        fields[index] = line.substr(start, end - start);
        start = end + 1;
    }
    return fields;
}

std::string_view DateOfTime(std::string_view time) {
    const std::size_t space = time.find(' ');
    return space == std::string_view::npos ? std::string_view() : time.substr(0, space);
}

VirusRecord ParseVirusLine(std::string_view line) {
    const LineFields f = SplitReportLine(line, kVirusFieldCount);
    VirusRecord record;
    record.PC = f[0];
    record.User = f[1];
    record.Time = f[2];
    record.Action = f[3];
    record.SourcePath = f[4];
    record.DestinationPath = f[5];
    record.Device = f[6];
    record.Date = DateOfTime(f[kTimeField]);
    return record;
}

DeviceRecord ParseDeviceLine(std::string_view line) {
    const LineFields f = SplitReportLine(line, kDeviceFieldCount);
    DeviceRecord record;
    record.PC = f[0];
    record.User = f[1];
    record.Time = f[2];
    record.Function = f[3];
    record.Name = f[4];
    record.Path = f[5];
    record.Description = f[6];
    record.Service = f[7];
    record.Enumerator = f[8];
    record.HardwareId = f[9];
    record.Manufacturer = f[10];
    record.Serial = f[11];
    record.Date = DateOfTime(f[kTimeField]);
    return record;
}

}  // namespace twk
