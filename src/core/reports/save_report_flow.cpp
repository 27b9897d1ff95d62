#include "core/reports/save_report_flow.h"

#include <filesystem>

#include "core/settings/general.h"
#include "platform/files.h"

namespace twk {
namespace {

std::string withCsvExtension(const std::string& fileName) {
    return std::filesystem::path(fileName).has_extension() ? fileName : fileName + ".csv";
}

bool askOverwrite(MessageBoxes& boxes, const LangOp& texts) {
    return boxes.show(texts.lfr_overwrite, kAppTitle, MsgIcon::Error, MsgButtons::OkCancel) ==
           MsgAnswer::Ok;
}

}  // namespace

std::string NotSavedMessage(const std::string& fileName, const LangOp& texts) {
    return texts.lfr_notsaved + "\n" + fileName;
}

void SaveReportAs(SaveFileDialog& dialog, MessageBoxes& boxes, const ReportWriter& saveReport,
                  const LangOp& texts) {
    const std::string answer =
        dialog.askSaveFile(texts.lfr_csvfile, kCsvPattern, platform::documentsFolder());
    if (answer.empty()) return;
    const std::string fileName = withCsvExtension(answer);
    // The export replaces an existing file only when whole, so the old one is not deleted first.
    if (General::FileExists(fileName) == VbTrue && !askOverwrite(boxes, texts)) return;
    if (saveReport(fileName))
        showInformation(boxes, texts.lfr_saved);
    else
        showError(boxes, NotSavedMessage(fileName, texts));
}

}  // namespace twk
