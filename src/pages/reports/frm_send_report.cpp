#include "pages/reports/frm_send_report.h"

#include <QDateTime>
#include <QLineEdit>
#include <QLocale>

#include "core/app/app_context.h"
#include "core/app/maker.h"
#include "core/reports/send_report_flow.h"
#include "pages/app/entry_box.h"
#include "pages/app/qt_text.h"
#include "pages/app/skin.h"
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
    : SkinnedPage(context, QStringLiteral("frmSendReport"), QStringLiteral("sendreport_background"),
                  QSize(8385, 3000)),
      report_(report) {
    lblPageName_ = new Caption(this, QStringLiteral("lblPageName"), twipsRect(1080, 480, 1875, 330),
                               QStringLiteral("Sending report"), 14.25);
    lblRecip_ = new Caption(this, QStringLiteral("lblRecip"), twipsRect(1320, 1440, 990, 270),
                            QStringLiteral("Recipient"), 12);
    buildRecipient();
    lblRecip_->labelFor(txtRepDir_);
    buildSend();

    PictureButton* close = addCloseButton(twipsRect(7800, 120, 435, 435));
    connect(close, &PictureButton::clicked, this, [this] { report_.closeSendReport(); });
    connect(this, &SkinnedPage::backgroundMouseMoved, this, [this] { HoverSendButton(false); });

    const LangOp& captions = context.langOp;
    lblPageName_->setCaption(captions.lfsr_pagename);
    lblRecip_->setCaption(captions.lfsr_recip);
    Caption* txtSend = cmdSend_->caption();
    txtSend->setCaption(captions.lfsr_send);
    // The send caption takes the width of its text, so no language cuts it off.
    txtSend->resize(txtSend->sizeHint().width(), txtSend->height());
    centerOnScreen();
}

void frmSendReport::buildRecipient() {
    // The frame is a little taller than the box's design (3120, 1440, 4575 x 255) and shares
    // its centre line, so the box inside keeps the design's left edge and width.
    txtRepDir_ =
        makeOneLineBox(this, QStringLiteral("txtRepDir"), twipsRect(3060, 1380, 4695, 375));
    txtRepDir_->setPlaceholderText(QString::fromLatin1(maker::kPlaceholderRecipient));
    // A box holding the example address counts as empty: it is emptied, whoever typed it.
    connect(txtRepDir_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text == QLatin1String(maker::kPlaceholderRecipient)) txtRepDir_->clear();
    });
    connect(txtRepDir_, &QLineEdit::returnPressed, this, &frmSendReport::SendReport);
}

void frmSendReport::buildSend() {
    auto* txtSend = new TextLink(this, QStringLiteral("txtSend"), twipsRect(6915, 2520, 1140, 255),
                                 QStringLiteral("Send report"), 11.25);
    // Only the top of the send picture shows above the bottom edge, too little to carry the
    // focus: its caption takes it.
    cmdSend_ = new PictureButton(
        this, QStringLiteral("cmdSend"), twipsRect(6000, 2880, 480, 480),
        numberedPictures(QStringLiteral("cmd_send"), QStringLiteral("send"), 2), txtSend);
    cmdSend_->setFocusPolicy(Qt::NoFocus);
    connect(cmdSend_, &PictureButton::clicked, this, &frmSendReport::SendReport);
    connect(txtSend, &Caption::clicked, this, &frmSendReport::SendReport);
    connect(cmdSend_, &PictureButton::entered, this, [this] { HoverSendButton(true); });
    connect(txtSend, &Caption::hovered, this, [this] { HoverSendButton(true); });
}

void frmSendReport::HoverSendButton(bool on) { showHover(cmdSend_, on); }

void frmSendReport::SendReport() {
    Services& services = context().services;
    WaitingHelperLibrary helper(services.helper);
    twk::SendReport(local8(txtRepDir_->text()), context().userFolder, services.messages, helper,
                    services.clock, systemDateTime,
                    [this](const std::string& fileName) { return report_.save_report(fileName); });
}

}  // namespace twk
