#include "pages/reports/frm_send_report.h"

#include <QDateTime>
#include <QLineEdit>
#include <QLocale>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/design/send_report_design.h"
#include "core/reports/send_report_flow.h"
#include "pages/app/qt_text.h"
#include "pages/app/waiting.h"
#include "pages/reports/frm_report.h"

namespace twk {
namespace {

// The system's general date form: its short date, a space, its long time.
std::string systemDateTime(std::chrono::system_clock::time_point when) {
    const auto since =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(since.count());
    const QLocale system = QLocale::system();
    return local8(system.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                  system.toString(local.time(), QLocale::LongFormat));
}

}  // namespace

frmSendReport::frmSendReport(AppContext& context, frmReport& report)
    : SkinnedPage(context, design::send_report_page::kPage), report_(report) {
    markAsDialog();
    buildDesign();
    wireRecipient();
    Caption* txtSend = control<Caption>("txtSend");
    onClick("cmdSend", [this] { SendReport(); });
    onClick("txtSend", [this] { SendReport(); });
    onClick("cmd_close", [this] { report_.closeSendReport(); });

    showCaptions(context.langOp);
    // The send caption takes the width of its text, so no language cuts it off.
    txtSend->resize(txtSend->sizeHint().width(), txtSend->height());
    centerOnScreen();
}

void frmSendReport::wireRecipient() {
    txtRepDir_ = control<QLineEdit>("txtRepDir");
    txtRepDir_->setPlaceholderText(QString::fromLatin1(maker::kPlaceholderRecipient));
    // A box holding the example address counts as empty: it is emptied, whoever typed it.
    connect(txtRepDir_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text == QLatin1String(maker::kPlaceholderRecipient)) txtRepDir_->clear();
    });
    connect(txtRepDir_, &QLineEdit::returnPressed, this, &frmSendReport::SendReport);
}

void frmSendReport::SendReport() {
    Services& services = context().services;
    WaitingHelperLibrary helper(services.helper);
    twk::SendReport(
        local8(txtRepDir_->text()), context().userFolder, services.messages, helper, services.clock,
        systemDateTime,
        [this](const std::string& fileName) { return report_.save_report(fileName); },
        context().langOp);
}

}  // namespace twk
