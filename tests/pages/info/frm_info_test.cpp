#include "pages/info/frm_info.h"

#include <QPointer>

#include "core/app/maker.h"
#include "pages/app/frm_main.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/support/page_fixture.h"

namespace twk {

class FrmInfoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<Navigator> pages;

    void start(const std::string& infoSection) {
        env = std::make_unique<test::PageEnvironment>();
        env->addLanguage("English", "[frmInfo]\n" + infoSection +
                                        "[frmFeedback]\nlff_msg=Type your message...\n");
        env->startUp();
        pages = std::make_unique<Navigator>(env->context, env->tray);
        registerPages(*pages);
    }
    QWidget* info() { return pages->loaded(PageId::Info); }
    template <typename T = PictureButton>
    T* control(const char* name) {
        T* found = info()->findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    ColorRef colourOf(const char* link) { return control<Caption>(link)->textColor(); }
    static void finishDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init() {
        start("lfi_homepage=Webseite\nlfi_mail=Post\n");
        pages->open(PageId::Info);
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void linksTakeTheirCaptionsAndOkStaysFixed() {
        QCOMPARE(control<Caption>("txtMail")->text(), QString("Post"));
        QCOMPARE(control<Caption>("txtHome")->text(), QString("Webseite"));
        QCOMPARE(control<Caption>("txtOk")->text(), QString("Ok"));
        QCOMPARE(info()->windowTitle(), QString("Tarnwick"));
        QCOMPARE(info()->size(), QSize(640, 479));
        QCOMPARE(control<Caption>("txtMail")->geometry(), QRect(64, 304, 67, 27));
        QCOMPARE(control<Caption>("txtHome")->geometry(), QRect(64, 344, 117, 27));
        QCOMPARE(control<Caption>("txtOk")->geometry(), QRect(592, 440, 31, 27));
        QCOMPARE(control("cmd_facebook")->geometry(), QRect(16, 440, 24, 24));
        QCOMPARE(control("cmd_twitter")->geometry(), QRect(48, 437, 32, 32));
        QCOMPARE(control("cmd_close")->geometry(), QRect(600, 8, 29, 29));
    }

    // The texts of the artwork follow the language like the captions.
    void theArtworkTextsComeFromTheLanguageFile() {
        QCOMPARE(control<Caption>("lblVersion")->text(), QString("Version 1.41"));
        cleanup();
        start("lfi_tagline=Защита USB-накопителей\nlfi_version=Версия\n");
        pages->open(PageId::Info);
        QCOMPARE(control<Caption>("lblTagline")->text(), QString("Защита USB-накопителей"));
        QCOMPARE(control<Caption>("lblVersion")->text(), QString("Версия 1.41"));
    }

    void aMissingHomepageKeyLeavesTheLinkEmpty() {
        cleanup();
        start("lfi_mail=E-Mail\n");
        pages->open(PageId::Info);
        QCOMPARE(control<Caption>("txtHome")->text(), QString(""));
        QCOMPARE(control<Caption>("txtMail")->text(), QString("E-Mail"));
        QCOMPARE(control<Caption>("txtOk")->text(), QString("Ok"));
    }

    void okAndCloseBothUnloadThePageAndShowTheMainWindow_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Ok") << "txtOk";
        QTest::newRow("close") << "cmd_close";
    }
    void okAndCloseBothUnloadThePageAndShowTheMainWindow() {
        QFETCH(QString, button);
        QVERIFY(!pages->main().isVisible());
        QPointer<QWidget> page = info();
        test::click(page->findChild<QWidget*>(button));
        finishDeletes();
        QVERIFY(page.isNull());
        QVERIFY(!pages->loaded(PageId::Info));
        QVERIFY(pages->main().isVisible());
        QVERIFY(env->urls.opened.empty());
    }

    void theSupportLinkReplacesThePageByTheFeedbackPage() {
        QPointer<QWidget> page = info();
        test::click(control<Caption>("txtMail"));
        finishDeletes();
        QVERIFY(page.isNull());
        QWidget* feedback = pages->loaded(PageId::Feedback);
        QVERIFY(feedback && feedback->isVisible());
        QCOMPARE(feedback->objectName(), QString("frmFeedback"));
        QVERIFY(!pages->main().isVisible());
    }

    void eachButtonOpensItsAddressAndThePageStays() {
        test::click(control<Caption>("txtHome"));
        test::click(control("cmd_facebook"));
        test::click(control("cmd_twitter"));
        QCOMPARE(env->urls.opened, (std::vector<std::string>{maker::kHomePage, maker::kFacebookPage,
                                                             maker::kTwitterPage}));
        QVERIFY(info() && info()->isVisible());
    }

    void linksLightUpUnderThePointerAndDimOverTheBackground() {
        for (const char* link : {"txtMail", "txtHome", "txtOk"})
            QCOMPARE(colourOf(link), ColorRef(0x00404040));
        test::hover(control<Caption>("txtHome"));
        QCOMPARE(colourOf("txtHome"), ColorRef(0x00969696));
        QCOMPARE(colourOf("txtMail"), ColorRef(0x00404040));
        test::hover(control<Caption>("txtOk"));
        QCOMPARE(colourOf("txtOk"), ColorRef(0x00969696));
        QTest::mouseMove(info(), QPoint(400, 100));
        for (const char* link : {"txtMail", "txtHome", "txtOk"})
            QCOMPARE(colourOf(link), ColorRef(0x00484848));
    }

    void theKeyboardFollowsThePageAndEscapeCloses() {
        test::activate(info());
        QCOMPARE(test::tabOrder(), QStringList({"txtMail", "txtHome", "cmd_facebook", "cmd_twitter",
                                                "txtOk", "cmd_close"}));
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Return);
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Space);
        QCOMPARE(env->urls.opened,
                 (std::vector<std::string>{maker::kHomePage, maker::kFacebookPage}));
        QPointer<QWidget> page = info();
        test::press(Qt::Key_Escape);
        finishDeletes();
        QVERIFY(page.isNull());
        QVERIFY(pages->main().isVisible());
    }

    void buttonsSwapTheirPicturesUnderThePointer_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("holders");
        QTest::newRow("Facebook") << "cmd_facebook"
                                  << "cmd_f";
        QTest::newRow("Twitter") << "cmd_twitter"
                                 << "cmd_t";
        QTest::newRow("close") << "cmd_close"
                               << "cmd_close";
    }
    void buttonsSwapTheirPicturesUnderThePointer() {
        QFETCH(QString, button);
        QFETCH(QString, holders);
        auto* control = info()->findChild<PictureButton*>(button);
        QVERIFY(control);
        QVERIFY(control->showsPicture(holders + "0"));
        test::hover(control);
        QVERIFY(control->showsPicture(holders + "1"));
        test::leave(control);
        QVERIFY(control->showsPicture(holders + "0"));
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmInfoTest)
#include "frm_info_test.moc"
