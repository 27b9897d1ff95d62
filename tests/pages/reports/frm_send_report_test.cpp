#include "pages/reports/frm_send_report.h"

#include <QLineEdit>
#include <QTest>

#include "core/app/maker.h"
#include "pages/app/frm_main.h"
#include "pages/reports/report_page_fixture.h"
#include "support/smtp_server.h"

namespace twk {

using test::ReportPageFixture;

class FrmSendReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ReportPageFixture> app;

    frmReport& report() { return *app->report(); }
    frmSendReport& dialog() {
        if (!report().sendReportDialog()) qFatal("the send-report dialog is not open");
        return *report().sendReportDialog();
    }
    template <typename T = PictureButton>
    T* control(const char* name) {
        T* found = dialog().findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    QLineEdit* recipient() { return control<QLineEdit>("txtRepDir"); }
    Caption* sendCaption() { return control<Caption>("txtSend"); }
    std::string manualReport() const { return app->env.userFiles.file("ManualReport.csv"); }
    // What the page exports right now, for comparison with what was mailed.
    std::string pageExport() {
        const std::string file = app->data.file("expected.csv");
        if (!report().save_report(file)) qFatal("the page could not export");
        return test::readFile(file);
    }
    void openDialog() {
        app->pages->open(PageId::Reports);
        test::click(app->control<Caption>("txtSend"));
    }
    void typeRecipient(const QString& address) {
        recipient()->clear();
        QTest::keyClicks(recipient(), address);
    }

private slots:
    void init() {
        app = std::make_unique<ReportPageFixture>();
        openDialog();
    }
    void cleanup() {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensInPlaceOfTheReportPageWithItsCaptions() {
        QVERIFY(!report().isVisible());
        QVERIFY(dialog().isVisible());
        QCOMPARE(dialog().size(), QSize(559, 200));
        QCOMPARE(dialog().windowTitle(), QString("Tarnwick"));
        QCOMPARE(control<Caption>("lblPageName")->text(), QString("Sending report"));
        QCOMPARE(control<Caption>("lblRecip")->text(), QString("Recipient"));
        QCOMPARE(sendCaption()->text(), QString("Send report"));
        QVERIFY(sendCaption()->width() >=
                sendCaption()->fontMetrics().horizontalAdvance(sendCaption()->text()));
        QCOMPARE(recipient()->geometry(), QRect(208, 94, 305, 21));  // design: 208, 96, 305 x 17
        QVERIFY(dialog().findChild<QLabel*>("txtRepDir_frame"));
        QCOMPARE(recipient()->placeholderText(), QString(maker::kPlaceholderRecipient));
        QCOMPARE(recipient()->text(), QString());
        QCOMPARE(control("cmd_close")->geometry(), QRect(520, 8, 29, 29));
        QCOMPARE(control("cmdSend")->geometry(), QRect(400, 192, 32, 32));
        // Sending again from the page raises the same dialog rather than a second one.
        frmSendReport* open = &dialog();
        report().openSendReport();
        QCOMPARE(report().sendReportDialog(), open);
    }

    void anEmptyOrPlaceholderRecipientIsRefused() {
        test::click(sendCaption());
        typeRecipient("x");
        recipient()->setText(maker::kPlaceholderRecipient);  // pasted
        QCOMPARE(recipient()->text(), QString());
        test::click(control("cmdSend"));
        auto& boxes = app->env.messages.shown;
        QCOMPARE(boxes.size(), size_t(2));
        for (const test::ShownBox& box : boxes) {
            QCOMPARE(box.text, std::string("Invalid recipient!"));
            QVERIFY(box.icon == MsgIcon::Error);
        }
        QVERIFY(app->env.helper.sent.empty());
        QVERIFY(!test::exists(manualReport()));
    }

    void typingThePlaceholderEmptiesTheBox() {
        typeRecipient(maker::kPlaceholderRecipient);
        QCOMPARE(recipient()->text(), QString());
        typeRecipient("recipient@example.co");
        QCOMPARE(recipient()->text(), QString("recipient@example.co"));
    }

    void aSentReportCarriesTheShownTableAndTheDate() {
        test::click(control("cmd_close"));
        app->pickDate("11.01.2013");
        test::click(app->control<Caption>("txtSend"));
        typeRecipient("boss@example.org");
        test::click(sendCaption());
        const auto& sent = app->env.helper.sent;
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(sent[0].recipient, std::string("boss@example.org"));
        QCOMPARE(sent[0].subject, std::string("Report from Tarnwick program"));
        QCOMPARE(sent[0].attachment, manualReport());
        QCOMPARE(sent[0].attachmentBytes, pageExport());
        QVERIFY(QString::fromStdString(sent[0].attachmentBytes).contains("\r\nadam;"));
        QVERIFY(!QString::fromStdString(sent[0].attachmentBytes).contains("zoe"));
        QCOMPARE(sent[0].body.substr(0, 7), std::string("Date:\\n"));
        QVERIFY(sent[0].body.size() > 7 && sent[0].body[7] != ' ');
        const auto& boxes = app->env.messages.shown;
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].text, std::string("Your report has been sent!"));
        QVERIFY(boxes[0].icon == MsgIcon::Information);
        QCOMPARE(recipient()->text(), QString("boss@example.org"));
    }

    void aRefusedMailStillWritesTheFileAndSaysSo() {
        app->env.helper.mailResult = 1;
        typeRecipient("nobody@invalid");
        test::click(control("cmdSend"));
        QCOMPARE(app->env.helper.sent.size(), size_t(1));
        QVERIFY(test::exists(manualReport()));
        QCOMPARE(test::readFile(manualReport()), pageExport());
        const auto& boxes = app->env.messages.shown;
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].text, std::string("The report is not sent, check the data!"));
        QVERIFY(boxes[0].icon == MsgIcon::Error);
        QVERIFY(dialog().isVisible());
        QCOMPARE(recipient()->text(), QString("nobody@invalid"));
    }

    void theSendPictureHighlightsUntilThePointerCrossesTheBackground() {
        PictureButton* send = control("cmdSend");
        test::hover(send);
        QVERIFY(send->showsPicture("cmd_send1"));
        QCOMPARE(sendCaption()->textColor(), ColorRef(0x00969696));
        test::leave(send);
        QVERIFY(send->showsPicture("cmd_send1"));
        test::moveOverBackground(&dialog(), QPoint(100, 170));
        QVERIFY(send->showsPicture("cmd_send0"));
        QCOMPARE(sendCaption()->textColor(), ColorRef(0x00484848));
        test::hover(sendCaption());
        QVERIFY(send->showsPicture("cmd_send1"));
    }

    void theKeyboardSendsFromTheRecipientBoxAndEscapeReturns() {
        test::activate(&dialog());
        QCOMPARE(test::tabOrder(), QStringList({"txtRepDir", "txtSend", "cmd_close"}));
        QTest::keyClicks(recipient(), "boss@firm.example");
        test::press(Qt::Key_Return);
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Space);
        QCOMPARE(app->env.helper.sent.size(), size_t(2));
        QCOMPARE(app->env.helper.sent[1].recipient, std::string("boss@firm.example"));
        test::press(Qt::Key_Escape);
        QVERIFY(report().isVisible());
        QVERIFY(!report().sendReportDialog());
    }

    void theHelperLibraryMailsTheExportToAnSmtpServer() {
        LoadedHelperLibrary library(TWK_TEST_HELPER_DIR);
        test::TempDir mailSettings;
        test::SmtpServer server;
        QVERIFY2(server.running(), server.error().c_str());
        test::HelperMailConfig mailConfig(mailSettings.path(), server.url());
        app.reset();
        app =
            std::make_unique<ReportPageFixture>("English", test::kEnglishReportCaptions, &library);
        app->pages->open(PageId::Reports);
        app->pickDate("11.01.2013");
        test::click(app->control<Caption>("txtSend"));
        typeRecipient("boss@example.org");
        test::click(sendCaption());

        const auto& boxes = app->env.messages.shown;
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].text, std::string("Your report has been sent!"));
        const auto mails = server.messages();
        QCOMPARE(mails.size(), size_t(1));
        QCOMPARE(mails[0].recipients, std::vector<std::string>{"boss@example.org"});
        QCOMPARE(mails[0].subject, std::string("Report from Tarnwick program"));
        QCOMPARE(mails[0].body.substr(0, 7), std::string("Date:\\n"));
        QCOMPARE(mails[0].attachments.size(), size_t(1));
        QCOMPARE(mails[0].attachments[0].first, std::string("ManualReport.csv"));
        QCOMPARE(mails[0].attachments[0].second, pageExport());
        QVERIFY(QString::fromStdString(mails[0].attachments[0].second).contains("\r\nmia;"));
        app.reset();  // the pages go before the library they mail through
    }

    void closingBringsBackTheSameReportPageAsItWas() {
        test::click(control<Caption>("txtSend"));  // still refused: nothing typed
        test::click(control("cmd_close"));
        QVERIFY(!report().sendReportDialog());
        QVERIFY(report().isVisible());

        frmReport* page = &report();
        test::click(app->control("cmd_viruses"));
        app->pickDate("02.02.2013");
        test::click(app->control<Caption>("txtSend"));
        QVERIFY(!report().isVisible());
        test::click(control("cmd_close"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(app->report(), page);
        QVERIFY(report().isVisible());
        QCOMPARE(app->control("cmd_viruses")->tag(), QString("1"));
        QCOMPARE(app->dates()->currentText(), QString("02.02.2013"));
        QCOMPARE(app->column(1), QStringList({"ian"}));
        QVERIFY(!app->pages->main().isVisible());
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmSendReportTest)
#include "frm_send_report_test.moc"
