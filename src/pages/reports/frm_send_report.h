#pragma once

#include "pages/app/skinned_page.h"

class QLineEdit;

namespace twk {

class frmReport;

// The send-report dialog: mails the table that its report page shows to a typed address.
// The report page opens it, owns it and gets it back through closeSendReport.
class frmSendReport : public SkinnedPage {
    Q_OBJECT
public:
    frmSendReport(AppContext& context, frmReport& report);

    // Checks the recipient, writes the shown report to ManualReport.csv in the user's folder
    // and mails it, telling the user the outcome.
    void SendReport();

private:
    void wireRecipient();

    frmReport& report_;
    QLineEdit* txtRepDir_ = nullptr;
};

}  // namespace twk
