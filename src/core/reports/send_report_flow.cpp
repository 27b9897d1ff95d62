#include "core/reports/send_report_flow.h"

#include "core/app/maker.h"
#include "platform/reasons.h"
#include "platform/roots.h"
#include "platform/user_files.h"

namespace twk {

std::string NotWrittenForSendingMessage(const std::string& fileName, const LangOp& texts) {
    return texts.lfsr_notwritten + "\n" + fileName;
}

void SendReport(const std::string& recipient, const std::string& userFolder, MessageBoxes& boxes,
                HelperLibrary& helper, Clock& clock, const DateTimeFormatter& formatDateTime,
                const ReportWriter& saveReport, const LangOp& texts) {
    if (recipient.empty() || recipient == maker::kPlaceholderRecipient) {
        showError(boxes, texts.lfsr_invalid);
        return;
    }
    const std::string file = platform::joinPath(userFolder, kManualReportFile);
    const bool folderMade = platform::makePrivateFolder(userFolder);
    if (!folderMade)
        platform::logReason(
            platform::ReasonTopic::Reports,
            "the folder " + userFolder + " for the mailed report could not be made");
    if (!folderMade || !saveReport(file)) {
        showError(boxes, NotWrittenForSendingMessage(file, texts));
        return;
    }
    const std::string body = kReportBodyStart + formatDateTime(clock.now());
    if (helper.SendMailOut(recipient, kReportSubject, body, file) == 0)
        showInformation(boxes, texts.lfsr_sent);
    else
        showError(boxes, texts.lfsr_notsent);
}

}  // namespace twk
