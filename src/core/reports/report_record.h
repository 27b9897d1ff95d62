#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two kinds of report file the guard service writes, and how one of their lines becomes a
// record. Report lines are ";"-separated with no quoting: a ";" always ends a field.
namespace twk {

enum class ReportKind { Devices, Viruses };

inline constexpr std::size_t kVirusFieldCount = 7;
inline constexpr std::size_t kDeviceFieldCount = 12;
inline constexpr std::size_t kMaxFieldCount = kDeviceFieldCount;
// Time is the third field in both kinds; the date is read from it.
inline constexpr std::size_t kTimeField = 2;

// Header lines as the guard service writes them; only an exact match is skipped.
inline constexpr std::string_view kVirusFileHeader =
    "PC;User;Time;Action;Source path;Destination path;Device";
inline constexpr std::string_view kDeviceFileHeader =
    "PC;User;Time;Function;Name;Path;Description;Service;Enumerator name; Hardware ID;"
    "Manafacturing;Serial number";

std::size_t FieldCount(ReportKind kind);
std::string_view FileHeader(ReportKind kind);

// The line of text starting at offset start: up to its LF or the end of text, without the CR
// that ends a CR LF line (or a last line).
std::string_view LineAt(std::string_view text, std::size_t start);
// The same line when its LF (or the end of text) is already known to be at lineEnd.
std::string_view LineEndingAt(std::string_view text, std::size_t start, std::size_t lineEnd);

// Fields of one line in file order, as views into the line; unused places stay empty.
using LineFields = std::array<std::string_view, kMaxFieldCount>;

// The first fieldCount (at most kMaxFieldCount) fields of line: fields after them are dropped,
// fields the line does not reach are empty, a line without ";" is all first field.
LineFields SplitReportLine(std::string_view line, std::size_t fieldCount);

// Field number field (counted from 0) of the line starting at start in text, as
// SplitReportLine(LineAt(text, start), field + 1)[field] gives it, found in one pass over the
// bytes up to the field's end only.
std::string_view FieldAt(std::string_view text, std::size_t start, std::size_t field);

// A record's date: the text of time before its first space, or empty when time has no space.
std::string_view DateOfTime(std::string_view time);

// The moment time names when it reads as day.month.year hours:minutes[:seconds], the guard
// service's full form being "11.01.2013 19:52:21" (every part but the year may have one digit:
// "2.1.2013 9:5:00"), as a number above zero that orders moments as time does; nullopt for any
// other text.
std::optional<std::uint64_t> MomentOfTime(std::string_view time);

struct VirusRecord {
    std::string PC, User, Time, Action, SourcePath, DestinationPath, Device, Date;
};

struct DeviceRecord {
    std::string PC, User, Time, Function, Name, Description, Service, Enumerator, HardwareId,
        Manufacturer, Serial, Path, Date;
};

// One line (without its line end) of a viruses or devices report.
VirusRecord ParseVirusLine(std::string_view line);
DeviceRecord ParseDeviceLine(std::string_view line);

}  // namespace twk
