#include "pages/app/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "core/app/maker.h"
#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/app/qt_services.h"
#include "pages/app/skin.h"
#include "pages/app/tray_icon.h"
#include "pages/reports/frm_report.h"
#include "pages/reports/frm_send_report.h"
#include "pages/support/page_fixture.h"

namespace twk {

class FrmMainTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PageEnvironment> env;
    std::unique_ptr<Navigator> pages;
    int endCalls = 0;

    frmMain& main() { return pages->main(); }
    template <typename T = PictureButton>
    T* control(const char* name) {
        T* found = main().findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    ColorRef colourOf(const char* caption) { return control<Caption>(caption)->textColor(); }

private slots:
    void init() {
        env = std::make_unique<test::PageEnvironment>();
        env->addLanguage("English",
                         "[frmMain]\nlfm_protection=Protection\nlfm_reports=Reports\n"
                         "lfm_options=Options\n");
        env->addLanguage("Deutsch",
                         "[frmMain]\nlfm_protection=Schutz\nlfm_reports=Berichte\n"
                         "lfm_tagline=USB-Speicherschutz\n");
        env->startUp();
        pages = std::make_unique<Navigator>(env->context, env->tray);
        endCalls = 0;
        pages->endProcess = [this] { ++endCalls; };
        QVERIFY(main().Form_Load());
        pages->showMain();
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void opensWithItsLocalisedCaptionsInTheDesignColour() {
        QCOMPARE(control<Caption>("txtguard")->text(), QString("Protection"));
        QCOMPARE(control<Caption>("txtReport")->text(), QString("Reports"));
        QCOMPARE(control<Caption>("lblTagline")->text(), QString("USB storage protection"));
        QCOMPARE(colourOf("txtReport"), rgb(64, 64, 64));
        QCOMPARE(main().windowTitle(), QString("Tarnwick"));
        QCOMPARE(main().size(), QSize(640, 480));
        QCOMPARE(control("cmd_report")->geometry(), QRect(296, 214, 34, 34));
        QCOMPARE(control("cmd_close")->geometry(), QRect(600, 8, 29, 29));
        QCOMPARE(control<Caption>("txtguard")->geometry(), QRect(115, 256, 73, 18));
    }

    void hoverSwapsPicturesAndCaptionColours() {
        auto* report = control("cmd_report");
        QVERIFY(report->showsPicture("img_report0"));
        test::hover(report);
        QVERIFY(report->showsPicture("img_report1"));
        QCOMPARE(colourOf("txtReport"), ColorRef(0x00969696));
        test::leave(report);
        QVERIFY(report->showsPicture("img_report0"));
        QCOMPARE(colourOf("txtReport"), ColorRef(0x00484848));
        auto* home = control("cmd_home");
        test::hover(home);
        QVERIFY(home->showsPicture("cmd_home1"));
        test::leave(home);
        QVERIFY(home->showsPicture("cmd_home0"));
    }

    void theKeyboardReachesEveryButtonInReadingOrderAndEscapeHidesToTheTray() {
        test::activate(&main());
        QCOMPARE(test::tabOrder(), QStringList({"cmd_home", "cmd_info", "cmd_guard", "cmd_report",
                                                "cmd_options", "cmd_close"}));
        test::press(Qt::Key_Return);
        QCOMPARE(env->urls.opened, std::vector<std::string>{maker::kHomePage});
        test::press(Qt::Key_Backtab);
        QCOMPARE(test::focusedName(), QString("cmd_close"));
        env->admin = false;
        test::press(Qt::Key_Backtab);
        test::press(Qt::Key_Space);
        QCOMPARE(env->messages.shown.size(), size_t(1));  // cmd_options, refused as by a click
        QVERIFY(main().isVisible());
        test::press(Qt::Key_Escape);
        QVERIFY(!main().isVisible());
        QVERIFY(env->tray.shown);
    }

    void skinPicturesAreDrawnForThePixelRatioOfTheScreen() {
        const QSize size(29, 29);
        const QPixmap single = skinPicture("close_0", size, 1);
        const QPixmap twice = skinPicture("close_0", size, 2);  // not the cached 1x picture
        QCOMPARE(single.size(), size);
        QCOMPARE(twice.size(), size * 2);
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        QCOMPARE(twice.deviceIndependentSize(), QSizeF(size));
        // Drawn afresh from the artwork, not the small picture blown up.
        QVERIFY(twice.toImage() !=
                single.scaled(size * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).toImage());
    }

    void guardedPagesAnswerNonAdministratorsWithTheMessage() {
        env->admin = false;
        for (const char* button : {"cmd_guard", "cmd_options"}) {
            env->messages.shown.clear();
            test::click(control(button));
            QCOMPARE(env->messages.shown.size(), size_t(1));
            const auto& box = env->messages.shown[0];
            QCOMPARE(box.text, std::string("You don't have administrator rights!"));
            QCOMPARE(box.title, std::string("Tarnwick"));
            QVERIFY(box.icon == MsgIcon::Error);
            QVERIFY(box.buttons == MsgButtons::Ok);
            QVERIFY(main().isVisible());
        }
        env->admin = true;
        env->messages.shown.clear();
        test::click(control("cmd_guard"));
        QVERIFY(env->messages.shown.empty());
    }

    void homeButtonOpensTheMakersPageAndStays() {
        test::click(control("cmd_home"));
        QCOMPARE(env->urls.opened, std::vector<std::string>{maker::kHomePage});
        QVERIFY(main().isVisible());
    }

    void closeHidesToTheTrayAndADoubleClickBringsItBack() {
        test::click(control("cmd_close"));
        QVERIFY(!main().isVisible());
        QVERIFY(env->tray.shown);
        QCOMPARE(env->tray.tip, QString("Tarnwick"));
        main().close();  // the window's own close request hides too
        QVERIFY(!main().isVisible());
        QCOMPARE(endCalls, 0);
        env->tray.activate(QSystemTrayIcon::DoubleClick);
        QVERIFY(main().isVisible());
        // Most desktops report only a click on the icon: that brings the window back too.
        main().hide();
        env->tray.activate(QSystemTrayIcon::Trigger);
        QVERIFY(main().isVisible());
        main().hide();
        // The context click is the desktop's: it shows the icon's own menu.
        for (auto reason :
             {QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown, QSystemTrayIcon::Context})
            env->tray.activate(reason);
        QVERIFY(!main().isVisible());
    }

    void theIconsOwnMenuHasMainPageAsItsBoldDefault() {
        QMenu* menu = env->tray.menu;
        QCOMPARE(menu, main().mnuMenu());
        QStringList items;
        for (QAction* item : menu->actions())
            items << (item->isSeparator() ? QString("-") : item->objectName() + "=" + item->text());
        QCOMPARE(items, QStringList({"mnuMain=Main page", "-", "mnuInfo=Info",
                                     "mnuFeedback=Feedback", "-", "mnuExit=Exit"}));
        QCOMPARE(menu->defaultAction()->objectName(), QString("mnuMain"));
        QVERIFY(menu->defaultAction()->font().bold());
    }

    void mainPageItemShowsTheWindowAndExitRemovesTheIconFirst() {
        main().hide();
        main().mnuMenu()->findChild<QAction*>("mnuMain")->trigger();
        QVERIFY(main().isVisible());
        QVERIFY(env->tray.shown);
        bool iconGoneBeforeEnd = false;
        pages->endProcess = [this, &iconGoneBeforeEnd] {
            iconGoneBeforeEnd = !env->tray.shown;
            ++endCalls;
        };
        main().mnuMenu()->findChild<QAction*>("mnuExit")->trigger();
        QCOMPARE(endCalls, 1);
        QVERIFY(iconGoneBeforeEnd);
    }

    void withoutANotificationAreaCloseEndsTheProgram() {
        env->tray.available = false;
        test::click(control("cmd_close"));
        QCOMPARE(endCalls, 1);
        QVERIFY(!env->tray.shown);
    }

    void leftDragMovesTheWindowAndRightDragDoesNot() {
        const QPoint start = main().pos();
        QTest::mousePress(&main(), Qt::RightButton, {}, QPoint(300, 100));
        QMouseEvent rightMove(QEvent::MouseMove, QPointF(340, 130),
                              main().mapToGlobal(QPointF(340, 130)), Qt::NoButton, Qt::RightButton,
                              {});
        QApplication::sendEvent(&main(), &rightMove);
        QTest::mouseRelease(&main(), Qt::RightButton, {}, QPoint(340, 130));
        QCOMPARE(main().pos(), start);
        QTest::mousePress(&main(), Qt::LeftButton, {}, QPoint(300, 100));
        QMouseEvent leftMove(QEvent::MouseMove, QPointF(340, 130),
                             main().mapToGlobal(QPointF(340, 130)), Qt::NoButton, Qt::LeftButton,
                             {});
        QApplication::sendEvent(&main(), &leftMove);
        QTest::mouseRelease(&main(), Qt::LeftButton, {}, QPoint(340, 130));
        QCOMPARE(main().pos(), start + QPoint(40, 30));
    }

    // Alt+F4 or the window menu's Close reaches a page as a close event.
    void aPageClosedByTheWindowManagerDoesWhatItsCloseButtonDoes() {
        registerPages(*pages);
        struct Case {
            PageId page;
            std::optional<PageId> back;  // the page that shows afterwards; else the main window
        };
        for (const Case& each :
             {Case{PageId::Protection, {}}, Case{PageId::Reports, {}}, Case{PageId::Options, {}},
              Case{PageId::Info, {}}, Case{PageId::Feedback, PageId::Info}}) {
            main().hide();
            QWidget* page = pages->open(each.page);
            QVERIFY(page->isVisible());
            QVERIFY(!page->close());
            QVERIFY(!pages->loaded(each.page));
            QVERIFY(!page->isVisible());
            if (each.back) {
                QVERIFY(pages->loaded(*each.back)->isVisible());
                QVERIFY(!main().isVisible());
                pages->unload(*each.back);
            } else {
                QVERIFY(main().isVisible());
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }

        auto* report = qobject_cast<frmReport*>(pages->open(PageId::Reports));
        report->openSendReport();
        QVERIFY(!report->isVisible());
        QVERIFY(!report->sendReportDialog()->close());
        QVERIFY(report->isVisible());
        QVERIFY(!report->sendReportDialog());
    }

    void runningTheLoadSequenceAgainAppliesANewLanguageAndKeepsOneIcon() {
        env->context.mainOp.lang = "Deutsch";
        env->context.langOp.Init(env->context.mainOp);
        QVERIFY(main().Form_Load());
        QCOMPARE(control<Caption>("txtguard")->text(), QString("Schutz"));
        QCOMPARE(control<Caption>("txtReport")->text(), QString("Berichte"));
        QCOMPARE(control<Caption>("txtOptions")->text(), QString(""));
        QCOMPARE(control<Caption>("lblTagline")->text(), QString("USB-Speicherschutz"));
        QVERIFY(env->tray.shown);
        main().hide();
        env->tray.activate(QSystemTrayIcon::DoubleClick);  // actions still reach the window
        QVERIFY(main().isVisible());
    }

    void theUpdateQuestionShowsWhatTheServerWroteAsPlainText() {
        const std::string version = "<h1 style='color:red'>9.99</h1><img src='/etc/logo.png'>";
        test::writeFile(env->userFiles.file("version.dat"),
                        "[Tarnwick]\nVersion=" + version + "\n");
        QtMessageBoxes boxes;
        QString shown;
        Qt::TextFormat format = Qt::RichText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            shown = label->text();
            format = label->textFormat();
            box->button(QMessageBox::Cancel)->click();
        });
        env->context.mainOp.isNew("http://127.0.0.1:1/Tarnwick/version.dat",
                                  env->context.userFolder, boxes, env->urls, LangOp());
        QCOMPARE(shown, QString::fromStdString("New version Tarnwick " + version +
                                               " is avialable! Go to the homepage?"));
        QCOMPARE(format, Qt::PlainText);
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmMainTest)
#include "frm_main_test.moc"
