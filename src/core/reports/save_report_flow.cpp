#include "core/reports/save_report_flow.h"

#include <filesystem>

#include "core/settings/general.h"
#include "platform/files.h"

namespace twk {
namespace {

std::string withCsvExtension(const std::string& fileName) {
    return std::filesystem::path(fileName).has_extension() ? fileName : fileName + ".csv";
}

bool askOverwrite(MessageBoxes& boxes) {
    return boxes.show(kOverwriteQuestion, kAppTitle, MsgIcon::Error, MsgButtons::OkCancel) ==
           MsgAnswer::Ok;
}

}  // namespace

std::string NotSavedMessage(const std::string& fileName) {
    return "The report could not be saved to:\n" + fileName;
}

void SaveReportAs(SaveFileDialog& dialog, MessageBoxes& boxes, const ReportWriter& saveReport) {
    const std::string answer =
        dialog.askSaveFile(kCsvFilterName, kCsvPattern, platform::documentsFolder());
    if (answer.empty()) return;
    const std::string fileName = withCsvExtension(answer);
    // The export replaces an existing file only when whole, so the old one is not deleted first.
    if (General::FileExists(fileName) == VbTrue && !askOverwrite(boxes)) return;
    if (saveReport(fileName))
        showInformation(boxes, kSaveComplete);
    else
        showError(boxes, NotSavedMessage(fileName));
}

}  // namespace twk
