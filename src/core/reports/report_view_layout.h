#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/report_record.h"

namespace twk {

// How the user left one view of the report table: its column widths and its sort. Kept for each
// user in a file of their own, so that one user's layout is nobody else's.
struct ReportViewLayout {
    std::vector<int> columnWidths;  // in twips, one per column; empty while the widths are fitted
    std::optional<std::size_t> sortColumn;
    bool sortDescending = false;
};

// The file in the user's settings folder that holds both views' layouts.
inline constexpr const char* kReportLayoutFile = "report_views.ini";

// The layout of view as saved in settingsFolder: a missing or broken file, or values that do not
// fit the view's columns, give the fitted widths and the reading order.
ReportViewLayout LoadReportViewLayout(const std::string& settingsFolder, ReportKind view);

// Saves the layout of view in settingsFolder, keeping the other view's; false when the file could
// not be written.
bool SaveReportViewLayout(const std::string& settingsFolder, ReportKind view,
                          const ReportViewLayout& layout);

// Moves a layout file that an earlier version kept in oldFolder (the user files folder, which may
// be cleared at any time) into settingsFolder, unless settingsFolder has one already. What cannot
// be moved stays where it is.
void TakeOverReportViewLayout(const std::string& oldFolder, const std::string& settingsFolder);

}  // namespace twk
