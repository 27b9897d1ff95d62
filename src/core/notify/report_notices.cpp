#include "core/notify/report_notices.h"

#include "core/design/main_design.h"
#include "core/i18n/lang_op.h"
#include "core/reports/date_list.h"
#include "platform/reasons.h"

namespace twk {
namespace {

ReportNotice deviceNotice(const DeviceRecord& device, const LangOp& captions) {
    return {captions.lfn_device,
            FillIn(captions.lfn_device_text, {{"name", device.Name},
                                              {"description", device.Description},
                                              {"pc", device.PC},
                                              {"user", device.User}}),
            ReportKind::Devices, device.Date.empty() ? std::string(kAllDates) : device.Date};
}

ReportNotice virusNotice(const VirusRecord& virus, const LangOp& captions) {
    return {captions.lfn_virus,
            FillIn(captions.lfn_virus_text, {{"file", virus.SourcePath},
                                             {"device", virus.Device},
                                             {"pc", virus.PC},
                                             {"user", virus.User}}),
            ReportKind::Viruses, virus.Date.empty() ? std::string(kAllDates) : virus.Date};
}

// The summary opens the view that got the most lines.
ReportNotice summary(const ReportNews& news, const LangOp& captions) {
    const bool devices = news.connected.count >= news.quarantined.count;
    return {captions.lfn_burst,
            FillIn(captions.lfn_burst_text, {{"devices", std::to_string(news.connected.count)},
                                             {"files", std::to_string(news.quarantined.count)}}),
            devices ? ReportKind::Devices : ReportKind::Viruses,
            devices ? news.connected.date : news.quarantined.date};
}

}  // namespace

std::vector<ReportNotice> NoticesOf(const ReportNews& news, const LangOp& captions) {
    if (news.count() > NewLines<DeviceRecord>::kKept) return {summary(news, captions)};
    std::vector<ReportNotice> notices;
    for (const DeviceRecord& device : news.connected.first)
        notices.push_back(deviceNotice(device, captions));
    for (const VirusRecord& virus : news.quarantined.first)
        notices.push_back(virusNotice(virus, captions));
    return notices;
}

std::vector<ReportNotice> NoticesToTell(const ReportNews& news, const LangOp& captions) {
    for (const ReportProblem& problem : news.problems)
        platform::logReason(platform::ReasonTopic::Reports, problem.path + " " + problem.what());
    return NoticesOf(news, captions);
}

const design::Action& NoticeOpensReports() {
    return *design::actionOf(design::main_window::kActions, "cmd_report");
}

}  // namespace twk
