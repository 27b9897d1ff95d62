#pragma once

#include "win32/page.h"

namespace twk::win32 {

class frmReport;

// The send-report dialog: mails the table that its report page shows to a typed address. The
// report page opens it, owns it and gets it back through closeSendReport.
class frmSendReport : public SkinnedPage {
public:
    frmSendReport(AppContext& context, frmReport& report);

    // Checks the recipient, writes the shown report to ManualReport.csv in the user's folder and
    // mails it on a worker thread, telling the user the outcome.
    void SendReport();

protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    frmReport& report_;
};

}  // namespace twk::win32
