#include "core/reports/report_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace twk {

std::size_t FieldCount(ReportKind kind) {
    return kind == ReportKind::Devices ? kDeviceFieldCount : kVirusFieldCount;
}

std::string_view FileHeader(ReportKind kind) {
    return kind == ReportKind::Devices ? kDeviceFileHeader : kVirusFileHeader;
}

std::string_view LineAt(std::string_view text, std::size_t start) {
    return LineEndingAt(text, start, std::min(text.find('\n', start), text.size()));
}

std::string_view LineEndingAt(std::string_view text, std::size_t start, std::size_t lineEnd) {
    if (lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
    return text.substr(start, lineEnd - start);
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

namespace {

// The first ';' or LF in [byte, end), or end. Reads eight bytes at a time: the cells a sort
// compares lie behind a few fields of every one of millions of lines.
const char* nextSeparator(const char* byte, const char* end) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
        for (; end - byte >= 8; byte += 8) {
            std::uint64_t word;
            std::memcpy(&word, byte, sizeof word);
            const std::uint64_t semicolons = word ^ (kOnes * ';'),
                                lineFeeds = word ^ (kOnes * '\n');
            // A high bit for each zero byte; the lowest is always exact.
            const std::uint64_t found =
                ((semicolons - kOnes) & ~semicolons) | ((lineFeeds - kOnes) & ~lineFeeds);
            if (found & kHighs) return byte + (std::countr_zero(found & kHighs) >> 3);
        }
    }
    while (byte < end && *byte != ';' && *byte != '\n') ++byte;
    return byte;
}

}  // namespace

std::string_view FieldAt(std::string_view text, std::size_t start, std::size_t field) {
    const char* const end = text.data() + text.size();
    const char* fieldStart = text.data() + start;
    const char* byte = fieldStart;
    for (;;) {
        byte = nextSeparator(byte, end);
        if (byte == end || *byte == '\n') break;
        if (field == 0) return {fieldStart, static_cast<std::size_t>(byte - fieldStart)};
        --field;
        fieldStart = ++byte;
    }
    if (field != 0) return {};
    // The field ends the line, whose closing CR is not part of it.
    if (byte > fieldStart && byte[-1] == '\r') --byte;
    return {fieldStart, static_cast<std::size_t>(byte - fieldStart)};
}

std::string_view DateOfTime(std::string_view time) {
    const std::size_t space = time.find(' ');
    return space == std::string_view::npos ? std::string_view() : time.substr(0, space);
}

namespace {

// Reads digits of a number of at least minDigits and at most maxDigits digits, the whole of
// text up to the next separator (or the end when separator is 0), and moves text past it.
std::optional<unsigned> takeNumber(std::string_view& text, std::size_t minDigits,
                                   std::size_t maxDigits, char separator) {
    std::size_t digits = 0;
    unsigned value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<unsigned>(text[digits] - '0');
        if (++digits > maxDigits) return std::nullopt;
    }
    if (digits < minDigits) return std::nullopt;
    text.remove_prefix(digits);
    if (separator == 0) return text.empty() ? std::optional(value) : std::nullopt;
    if (text.empty() || text.front() != separator) return std::nullopt;
    text.remove_prefix(1);
    return value;
}

}  // namespace

namespace {

std::optional<std::uint64_t> momentOf(unsigned day, unsigned month, unsigned year, unsigned hours,
                                      unsigned minutes, unsigned seconds) {
    if (day < 1 || day > 31 || month < 1 || month > 12 || hours > 23 || minutes > 59 ||
        seconds > 59)
        return std::nullopt;
    // Mixed radix, most significant first; day and month start at 1, so every moment is above 0.
    const std::uint64_t date = (std::uint64_t{year} * 13 + month) * 32 + day;
    return ((date * 24 + hours) * 60 + minutes) * 60 + seconds;
}

// The form the guard service writes, with two-digit day, month and hours ("11.01.2013 19:52:21"),
// read without the general parse: a sort by time reads it from millions of lines.
std::optional<std::uint64_t> momentOfFullForm(std::string_view time) {
    constexpr std::string_view kForm = "dd.dd.dddd dd:dd:dd";
    if (time.size() != kForm.size()) return std::nullopt;
    for (std::size_t i = 0; i < kForm.size(); ++i) {
        const bool digit = time[i] >= '0' && time[i] <= '9';
        if (kForm[i] == 'd' ? !digit : time[i] != kForm[i]) return std::nullopt;
    }
    const auto number = [time](std::size_t at, std::size_t digits) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + digits; ++i)
            value = value * 10 + static_cast<unsigned>(time[i] - '0');
        return value;
    };
    return momentOf(number(0, 2), number(3, 2), number(6, 4), number(11, 2), number(14, 2),
                    number(17, 2));
}

}  // namespace

std::optional<std::uint64_t> MomentOfTime(std::string_view time) {
    if (time.size() == 19) return momentOfFullForm(time);
    const auto day = takeNumber(time, 1, 2, '.');
    const auto month = day ? takeNumber(time, 1, 2, '.') : std::nullopt;
    const auto year = month ? takeNumber(time, 4, 4, ' ') : std::nullopt;
    const auto hours = year ? takeNumber(time, 1, 2, ':') : std::nullopt;
    if (!hours) return std::nullopt;
    // Minutes and seconds may have one digit too, and the seconds may be left out.
    const bool withSeconds = time.find(':') != std::string_view::npos;
    const auto minutes = takeNumber(time, 1, 2, withSeconds ? ':' : 0);
    const auto seconds = minutes && withSeconds ? takeNumber(time, 1, 2, 0) : std::optional(0u);
    if (!minutes || !seconds) return std::nullopt;
    return momentOf(*day, *month, *year, *hours, *minutes, *seconds);
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
