#include "core/reports/report_view_layout.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "core/reports/report_table.h"
#include "platform/files.h"
#include "platform/profile_string.h"
#include "platform/roots.h"
#include "platform/user_files.h"

namespace twk {
namespace {

// A column no narrower than a pixel and no wider than about three screens.
constexpr int kMinWidth = 15;
constexpr int kMaxWidth = 100'000;
constexpr std::uint64_t kMaxFileBytes = 64 * 1024;
constexpr std::size_t kMaxValueChars = 4096;

constexpr const char* kWidthsKey = "ColumnWidths";
constexpr const char* kSortKey = "SortColumn";
constexpr const char* kDescendingKey = "SortDescending";

const char* sectionOf(ReportKind view) {
    return view == ReportKind::Devices ? "Devices" : "Viruses";
}

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<int> widthsOf(std::string_view text, std::size_t columns) {
    std::vector<int> widths;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::optional<int> width = number(text.substr(0, comma));
        if (!width || *width < kMinWidth || *width > kMaxWidth) return {};
        widths.push_back(*width);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return widths.size() == columns ? widths : std::vector<int>();
}

std::string fileIn(const std::string& folder) {
    return platform::joinPath(folder, kReportLayoutFile);
}

std::string sectionText(ReportKind view, const ReportViewLayout& layout) {
    std::string text = std::string("[") + sectionOf(view) + "]\r\n";
    if (!layout.columnWidths.empty()) {
        text += std::string(kWidthsKey) + "=";
        for (std::size_t column = 0; column < layout.columnWidths.size(); ++column)
            text += (column ? "," : "") + std::to_string(layout.columnWidths[column]);
        text += "\r\n";
    }
    if (layout.sortColumn) {
        text += std::string(kSortKey) + "=" + std::to_string(*layout.sortColumn) + "\r\n";
        text += std::string(kDescendingKey) + "=" + (layout.sortDescending ? "1" : "0") + "\r\n";
    }
    return text;
}

}  // namespace

ReportViewLayout LoadReportViewLayout(const std::string& settingsFolder, ReportKind view) {
    const char* section = sectionOf(view);
    const std::array<platform::ProfileKey, 3> keys{
        {{section, kWidthsKey}, {section, kSortKey}, {section, kDescendingKey}}};
    const std::vector<std::string> values =
        platform::readProfileStrings(fileIn(settingsFolder), keys, kMaxFileBytes, kMaxValueChars);
    const std::size_t columns = ReportColumns(view).size();
    ReportViewLayout layout;
    layout.columnWidths = widthsOf(values[0], columns);
    const std::optional<int> sort = number(values[1]);
    if (sort && *sort >= 0 && static_cast<std::size_t>(*sort) < columns) {
        layout.sortColumn = static_cast<std::size_t>(*sort);
        layout.sortDescending = values[2] == "1";
    }
    return layout;
}

bool SaveReportViewLayout(const std::string& settingsFolder, ReportKind view,
                          const ReportViewLayout& layout) {
    if (!platform::makePrivateFolder(settingsFolder)) return false;
    const ReportKind other =
        view == ReportKind::Devices ? ReportKind::Viruses : ReportKind::Devices;
    platform::FileReplacement file(fileIn(settingsFolder));
    return file.write(sectionText(view, layout)) &&
           file.write(sectionText(other, LoadReportViewLayout(settingsFolder, other))) &&
           file.commit();
}

void TakeOverReportViewLayout(const std::string& oldFolder, const std::string& settingsFolder) {
    const std::string old = fileIn(oldFolder);
    const std::string taken = fileIn(settingsFolder);
    if (settingsFolder.empty() || !platform::fileExists(old) || platform::fileExists(taken)) return;
    const platform::FileRead layouts = platform::readRegularFile(old, kMaxFileBytes);
    // Copied and then removed, as the two folders may lie on different disks.
    if (layouts.ok() && platform::makePrivateFolder(settingsFolder) &&
        platform::replaceFile(taken, layouts.bytes))
        platform::removeFile(old);
}

}  // namespace twk
