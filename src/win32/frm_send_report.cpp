#include "win32/frm_send_report.h"

#include <chrono>
#include <string>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/app/waiting.h"
#include "core/design/send_report_design.h"
#include "core/reports/send_report_flow.h"
#include "win32/frm_report.h"
#include "win32/waiting.h"

namespace twk::win32 {
namespace {

// The system's general date form: its short date, a space, its long time, in local time.
std::string systemDateTime(std::chrono::system_clock::time_point when) {
    // File times count 100 ns steps from 1601, 11644473600 s before 1970.
    constexpr long long kEpochSteps = 116444736000000000LL;
    const long long steps =
        std::chrono::duration_cast<std::chrono::duration<long long, std::ratio<1, 10000000>>>(
            when.time_since_epoch())
            .count() +
        kEpochSteps;
    const FILETIME utc{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
    FILETIME local;
    SYSTEMTIME moment;
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &moment))
        return {};
    char date[128] = {};
    char time[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &moment, nullptr, time, sizeof time);
    return std::string(date) + ' ' + time;
}

// The example address shown while the box is empty, greyed, as the box's cue.
void showPlaceholder(EntryBox& box) {
    const std::string placeholder = maker::kPlaceholderRecipient;
    const std::wstring cue(placeholder.begin(), placeholder.end());
    ::SendMessageW(box.hwnd(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue.c_str()));
}

}  // namespace

frmSendReport::frmSendReport(AppContext& context, frmReport& report)
    : SkinnedPage(context, design::send_report_page::kPage), report_(report) {
    EntryBox& recipient = box("txtRepDir");
    showPlaceholder(recipient);
    // A box holding the example address counts as empty: it is emptied, whoever typed it.
    recipient.onChange = [&recipient] {
        if (recipient.value() == maker::kPlaceholderRecipient) recipient.setValue({});
    };
    link("txtSend").onClick = [this] { SendReport(); };
    button("cmdSend").onClick = [this] { SendReport(); };
    onClose = [this] { report_.closeSendReport(); };
    applyCaptions();
    label("lblPageName").widenToText();
}

void frmSendReport::SendReport() {
    Services& services = context().services;
    WaitedHelperLibrary helper(services.helper, runWhileWaiting);
    twk::SendReport(
        box("txtRepDir").value(), context().userFolder, services.messages, helper, services.clock,
        systemDateTime,
        [this](const std::string& fileName) { return report_.save_report(fileName); },
        context().langOp);
}

LRESULT frmSendReport::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Enter in the recipient box, as the dialog keys report it.
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == IDOK) {
        SendReport();
        return 0;
    }
    return SkinnedPage::onMessage(message, wParam, lParam);
}

}  // namespace twk::win32
