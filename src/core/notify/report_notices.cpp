#include "core/notify/report_notices.h"

#include <algorithm>

#include "core/i18n/lang_op.h"
#include "core/reports/date_list.h"

namespace twk {

std::string FillIn(std::string_view text,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string filled;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t open = text.find('{', at);
        filled += text.substr(at, open - at);
        if (open == std::string_view::npos) break;
        at = open + 1;
        const std::size_t close = text.find('}', open);
        const std::string_view name =
            close == std::string_view::npos ? std::string_view() : text.substr(at, close - at);
        const auto value = std::find_if(values.begin(), values.end(),
                                        [name](const auto& entry) { return entry.first == name; });
        if (value == values.end()) {
            filled += '{';
            continue;
        }
        filled += value->second;
        at = close + 1;
    }
    return filled;
}

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

}  // namespace twk
