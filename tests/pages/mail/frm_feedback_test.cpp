#include "pages/mail/frm_feedback.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "core/app/maker.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/app/qt_text.h"
#include "pages/support/page_fixture.h"

namespace twk {

class FrmFeedbackTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<Navigator> pages;

    QWidget* page() { return pages->loaded(PageId::Feedback); }
    template <typename T>
    T* control(const char* name) {
        T* found = page()->findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    QLineEdit* sender() { return control<QLineEdit>("txtSender"); }
    QLineEdit* theme() { return control<QLineEdit>("txtTheme"); }
    QPlainTextEdit* message() { return control<QPlainTextEdit>("txt_msg"); }
    void clickInto(QWidget* box) {
        auto* multiLine = qobject_cast<QPlainTextEdit*>(box);
        QTest::mouseClick(multiLine ? multiLine->viewport() : box, Qt::LeftButton);
        QVERIFY(box->hasFocus());
    }

private slots:
    void init() {
        env = std::make_unique<test::PageEnvironment>();
        env->addLanguage("English",
                         "[frmFeedback]\nlff_pagename=Support page\nlff_sender=Sender\n"
                         "lff_theme=Theme\nlff_theme_text=I found an error!\n"
                         "lff_msg=Type your message...\nlff_send=Send message\n");
        env->startUp();
        pages = std::make_unique<Navigator>(env->context, env->tray);
        registerPages(*pages);
        pages->open(PageId::Feedback);
        QVERIFY(QTest::qWaitForWindowActive(page()));
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void opensWithItsCaptionsAndPlaceholders() {
        QCOMPARE(control<Caption>("lbl_pagename")->text(), QString("Support page"));
        QCOMPARE(control<Caption>("lbl_sender")->text(), QString("Sender"));
        QCOMPARE(control<Caption>("lbl_theme")->text(), QString("Theme"));
        QCOMPARE(control<Caption>("lbl_send")->text(), QString("Send message"));
        QCOMPARE(sender()->text(), QString(maker::kPlaceholderSender));
        QCOMPARE(theme()->text(), QString("I found an error!"));
        QCOMPARE(message()->toPlainText(), QString("Type your message..."));
        QCOMPARE(page()->windowTitle(), QString("Tarnwick"));
        QCOMPARE(page()->size(), QSize(640, 480));
        for (QWidget* box : {static_cast<QWidget*>(sender()), static_cast<QWidget*>(theme()),
                             static_cast<QWidget*>(message())}) {
            QCOMPARE(toColorRef(box->palette().color(QPalette::Base)), rgb(224, 224, 224));
            QCOMPARE(toColorRef(box->palette().color(QPalette::Text)), rgb(64, 64, 64));
        }
    }

    void aClickClearsAPlaceholderAndLeavingEmptyPutsItBack() {
        clickInto(sender());
        QCOMPARE(sender()->text(), QString(""));
        clickInto(message());
        QCOMPARE(message()->toPlainText(), QString(""));
        QCOMPARE(sender()->text(), QString(maker::kPlaceholderSender));
        clickInto(theme());
        QCOMPARE(message()->toPlainText(), QString("Type your message..."));
        // The theme box has no placeholder.
        QCOMPARE(theme()->text(), QString("I found an error!"));
    }

    void theKeyboardWalksThePageLeavingThePlaceholdersAndEscapeCloses() {
        QCOMPARE(test::focusedName(), QString("frmFeedback"));
        test::press(Qt::Key_Tab);
        QCOMPARE(test::focusedName(), QString("txtSender"));
        QCOMPARE(test::tabOrder(),
                 QStringList({"txtSender", "txtTheme", "txt_msg", "lbl_send", "cmd_close"}));
        QCOMPARE(sender()->text(), QString(maker::kPlaceholderSender));
        QCOMPARE(message()->toPlainText(), QString("Type your message..."));
        test::press(Qt::Key_Backtab);
        test::press(Qt::Key_Backtab);
        test::press(Qt::Key_Return);
        QCOMPARE(env->messages.shown.size(), size_t(1));
        QCOMPARE(env->messages.shown[0].text, std::string("Input valid e-mail!"));
        test::press(Qt::Key_Escape);
        QWidget* info = pages->loaded(PageId::Info);
        QVERIFY(info && info->isVisible());
    }

    // The page comes up active; what the user types before clicking anywhere goes into no box.
    void typingStraightAfterOpeningLandsBehindNoPlaceholder() {
        QTest::keyClicks(nullptr, "john@x.local");
        QCOMPARE(sender()->text(), QString(maker::kPlaceholderSender));
        QCOMPARE(message()->toPlainText(), QString("Type your message..."));
        test::click(control<Caption>("lbl_send"));
        QCOMPARE(env->messages.shown.size(), size_t(1));
        QCOMPARE(env->messages.shown[0].text, std::string("Input valid e-mail!"));
        QVERIFY(env->helper.sent.empty());
    }

    void typedTextSurvivesClicksAndLeaving() {
        clickInto(sender());
        QTest::keyClicks(sender(), "ann@mail.example");
        clickInto(message());
        QTest::keyClicks(message(), "It crashes.");
        clickInto(sender());
        clickInto(message());
        QCOMPARE(sender()->text(), QString("ann@mail.example"));
        QCOMPARE(message()->toPlainText(), QString("It crashes."));
    }

    void sendingMailsTheSupportAndLeavesTheBoxesAsTheyWere_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");
        QTest::newRow("sent") << 0 << "Your message has been sent!";
        QTest::newRow("not sent") << 1 << "The message is not sent, check the data!";
    }
    void sendingMailsTheSupportAndLeavesTheBoxesAsTheyWere() {
        QFETCH(int, answer);
        QFETCH(QString, shown);
        env->helper.mailResult = static_cast<std::int16_t>(answer);
        sender()->setText("ann@mail.example");
        message()->setPlainText("It crashes.\nEvery time.");
        test::click(control<Caption>("lbl_send"));
        QCOMPARE(env->helper.sent.size(), size_t(1));
        const test::SentMail& mail = env->helper.sent[0];
        QCOMPARE(mail.recipient, std::string(maker::kSupportMailbox));
        QCOMPARE(mail.subject, std::string("theme: I found an error! e-mail: ann@mail.example"));
        QCOMPARE(mail.body, std::string("It crashes.\nEvery time."));
        QCOMPARE(mail.attachment, std::string());
        QCOMPARE(env->messages.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(env->messages.shown[0].text), shown);
        QVERIFY(env->messages.shown[0].icon ==
                (answer == 0 ? MsgIcon::Information : MsgIcon::Error));
        QCOMPARE(sender()->text(), QString("ann@mail.example"));
        QCOMPARE(theme()->text(), QString("I found an error!"));
        QCOMPARE(message()->toPlainText(), QString("It crashes.\nEvery time."));
        QVERIFY(page()->isVisible());
    }

    void placeholdersAreRefusedWithoutSending() {
        test::click(control<Caption>("lbl_send"));
        sender()->setText("ann@mail.example");
        test::click(control<Caption>("lbl_send"));
        QVERIFY(env->helper.sent.empty());
        QCOMPARE(env->messages.shown.size(), size_t(2));
        QCOMPARE(env->messages.shown[0].text, std::string("Input valid e-mail!"));
        QCOMPARE(env->messages.shown[1].text, std::string("Input your message for us!"));
    }

    void closeUnloadsThePageAndShowsTheInformationPage() {
        QPointer<QWidget> feedback = page();
        auto* close = control<PictureButton>("cmd_close");
        test::hover(close);
        QVERIFY(close->showsPicture("cmd_close1"));
        test::leave(close);
        QVERIFY(close->showsPicture("cmd_close0"));
        test::click(close);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(feedback.isNull());
        QVERIFY(!pages->loaded(PageId::Feedback));
        QWidget* info = pages->loaded(PageId::Info);
        QVERIFY(info && info->isVisible());
        QVERIFY(!pages->main().isVisible());
    }

    void theSendLinkLightsUpAndDimsOverTheBackground() {
        auto* send = control<Caption>("lbl_send");
        QCOMPARE(send->textColor(), ColorRef(0x00404040));
        test::hover(send);
        QCOMPARE(send->textColor(), ColorRef(0x00969696));
        QTest::mouseMove(page(), QPoint(200, 460));
        QCOMPARE(send->textColor(), ColorRef(0x00484848));
        test::hover(send);
        QTest::mouseMove(page(), QPoint(300, 40));  // over the title, which belongs to the surface
        QCOMPARE(send->textColor(), ColorRef(0x00484848));
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmFeedbackTest)
#include "frm_feedback_test.moc"
