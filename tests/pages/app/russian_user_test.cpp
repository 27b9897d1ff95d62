#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "core/reports/report_loader.h"
#include "core/settings/main_op.h"
#include "pages/app/frm_main.h"
#include "pages/app/qt_services.h"
#include "pages/app/qt_text.h"
#include "pages/app/qt_translations.h"
#include "pages/mail/frm_feedback.h"
#include "pages/options/frm_options.h"
#include "pages/reports/frm_send_report.h"
#include "pages/reports/report_page_fixture.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

// Latin words a Russian user may still meet: names, and the OK that Qt's Russian keeps.
const QStringList kNames = {"Tarnwick", "USB", "CSV", "Facebook", "Twitter", "OK"};

// The English words in text; addresses, paths and other values with a separator are values
// from the settings or the reports, not texts of the program.
QStringList englishWordsIn(const QString& text) {
    QStringList words;
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    for (const QString& token :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        if (token.contains(QRegularExpression(QStringLiteral("[@/\\\\:*]")))) continue;
        for (const QRegularExpressionMatch& match : latinWord.globalMatch(token))
            if (!kNames.contains(match.captured())) words << match.captured();
    }
    return words;
}

std::string shippedRussian() {
    return test::readFile(std::string(TWK_SOURCE_DIR) + "/resources/languages/Russian.twl");
}

// Everything a window shows or reads out, but for lists of values (report rows, dates beyond
// the first entry, the names of the language files on offer) and the text in entry boxes.
QStringList shownTexts(QWidget* window) {
    QStringList texts = {window->windowTitle(), window->accessibleName()};
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window)) continue;
        texts << widget->accessibleName() << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* box = qobject_cast<QLineEdit*>(widget)) texts << box->placeholderText();
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            texts << list->placeholderText();
            // The language list offers file names, the date chooser dates after "All dates".
            const QString name = list->objectName();
            const int shown = name == QLatin1String("lng_cmb")    ? 0
                              : name == QLatin1String("lstDates") ? std::min(1, list->count())
                                                                  : list->count();
            for (int item = 0; item < shown; ++item) texts << list->itemText(item);
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
            const QAbstractItemModel* model = view->model();
            for (int column = 0; column < model->columnCount(view->rootIndex()); ++column)
                texts << model->headerData(column, Qt::Horizontal).toString();
        }
    }
    texts.removeAll(QString());
    return texts;
}

}  // namespace

// A user who chose Russian meets no English on any page, in the tray menu, in the boxes the
// pages show, or in Qt's own dialogs.
class RussianUserTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ReportPageFixture> app;
    QtTranslations translations;
    QStringList english;  // "where: word" for every English word met

    test::PageEnvironment& env() { return app->env; }
    Navigator& pages() { return *app->pages; }
    template <typename T = PictureButton>
    T* control(QWidget* page, const char* name) {
        T* found = page->findChild<T*>(name);
        if (!found) qFatal("missing control %s", name);
        return found;
    }
    void look(const QString& where, const QStringList& texts) {
        QVERIFY2(!texts.isEmpty(), qPrintable(where));
        for (const QString& text : texts)
            for (const QString& word : englishWordsIn(text))
                english << where + ": " + word + " in \"" + text + "\"";
    }
    void lookAt(QWidget* window) { look(window->objectName(), shownTexts(window)); }
    void lookAtBoxes() {
        for (const test::ShownBox& box : env().messages.shown)
            look(QStringLiteral("message box"), {qs(box.title), qs(box.text)});
        env().messages.shown.clear();
    }

    // A report too large to be read and, where this machine can take read access away, one the
    // user may not read: the viruses view names them, each with why, in the box it shows.
    void lookAtUnreadableReports(QWidget* report) {
        // Sparse: it takes no disk space.
        const std::string large = test::writeFile(app->quarantine + "/large.csv", "x");
        std::filesystem::resize_file(large, ReportMemoryLimit() + 1);
        const std::string locked =
            test::writeFile(app->quarantine + "/locked.csv", "pc;u;03.02.2013 12:00:00;Moved\r\n");
        std::vector<std::string> unreadable = {large};
        {
            test::Unreadable lockedOut(locked);
            if (lockedOut.active())
                unreadable.push_back(locked);
            else
                qInfo("this machine cannot take read access away: only the large report is named");
            test::click(control(report, "cmd_viruses"));
        }
        std::filesystem::remove(large);
        QCOMPARE(env().messages.shown.size(), size_t{1});
        const QString text = qs(env().messages.shown[0].text);
        for (const std::string& path : unreadable) {
            const QRegularExpression named(QRegularExpression::escape(qs(path)) +
                                           QStringLiteral(" - \\S"));
            QVERIFY2(text.contains(named), qPrintable(text));
        }
        lookAtBoxes();
    }

private slots:
    void init() {
        app = std::make_unique<test::ReportPageFixture>("Russian", shippedRussian());
        translations.follow(env().context.langOp);
        QVERIFY(pages().main().Form_Load());
        pages().showMain();
        english.clear();
    }
    void cleanup() {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void everyPageMenuAndBoxSpeaksRussian() {
        frmMain& main = pages().main();
        lookAt(&main);
        for (QAction* item : env().tray.menu->actions())
            if (!item->isSeparator()) look(QStringLiteral("tray menu"), {item->text()});

        env().admin = false;
        test::click(control(&main, "cmd_guard"));
        QCOMPARE(env().messages.shown.size(), size_t{1});
        lookAtBoxes();
        env().admin = true;

        lookAt(pages().open(PageId::Protection));

        auto* report = static_cast<frmReport*>(pages().open(PageId::Reports));
        QVERIFY(app->dates()->count() > 1);
        lookAt(report);
        lookAtUnreadableReports(report);
        lookAt(report);
        const test::TempDir saved;
        env().saveFile.answer = saved.file("report.csv");
        test::click(control<QWidget>(report, "txtSave"));
        look(QStringLiteral("save dialog filter"), {qs(env().saveFile.lastFilterName)});
        QCOMPARE(env().messages.shown.size(), size_t{1});
        lookAtBoxes();
        report->openSendReport();
        lookAt(report->sendReportDialog());
        test::click(control(report->sendReportDialog(), "cmdSend"));
        QCOMPARE(env().messages.shown.size(), size_t{1});
        lookAtBoxes();

        auto* options = static_cast<frmOptions*>(pages().open(PageId::Options));
        lookAt(options);
        test::click(control(options, "rep_ch"));
        env().folders.answer.clear();
        test::click(control(options, "RepDirCh"));
        QCOMPARE(env().folders.titles.size(), size_t{1});
        look(QStringLiteral("folder dialog"), {qs(env().folders.titles[0])});
        options->ShowMailTab();
        lookAt(options);
        test::click(control(options, "rep_send"));
        control<QLineEdit>(options, "txtrec")->clear();
        test::click(control(options, "img_save"));
        QCOMPARE(env().messages.shown.size(), size_t{1});
        lookAtBoxes();

        lookAt(pages().open(PageId::Info));
        QWidget* feedback = pages().open(PageId::Feedback);
        lookAt(feedback);
        test::click(control<QWidget>(feedback, "lbl_send"));
        QCOMPARE(env().messages.shown.size(), size_t{1});
        lookAtBoxes();

        QVERIFY2(english.isEmpty(), qPrintable(english.join('\n')));
    }

    // A user of the English program who picks Russian and saves is told so in Russian, and the
    // main window that follows speaks Russian too.
    void savingAfterPickingRussianIsConfirmedInRussian() {
        cleanup();
        app = std::make_unique<test::ReportPageFixture>();
        env().addLanguage("Russian", shippedRussian());
        translations.follow(env().context.langOp);
        QVERIFY(pages().main().Form_Load());
        pages().showMain();
        auto* options = static_cast<frmOptions*>(pages().open(PageId::Options));
        auto* languages = control<QComboBox>(options, "lng_cmb");
        languages->setCurrentIndex(languages->findText(QStringLiteral("Russian")));
        QCOMPARE(languages->currentText(), QStringLiteral("Russian"));
        test::click(control(options, "img_save"));
        QCOMPARE(env().messages.shown.size(), size_t{1});
        QVERIFY(env().messages.shown[0].icon == MsgIcon::Information);
        lookAtBoxes();
        QVERIFY(pages().main().isVisible());
        lookAt(&pages().main());
        QVERIFY2(english.isEmpty(), qPrintable(english.join('\n')));
    }

    // The update question and Qt's own box and file dialog, as the real services show them.
    void theUpdateQuestionAndQtsDialogsSpeakRussian() {
        test::writeFile(env().userFiles.file("version.dat"),
                        "[Tarnwick]\r\nVersion=99.0\r\nURL=https://www.brindle.example/\r\n");
        env().messages.answers = {MsgAnswer::Cancel};
        env().context.mainOp.isNew("http://127.0.0.1:1/Tarnwick/version.dat",
                                   env().context.userFolder, env().messages, env().urls,
                                   env().context.langOp);
        QCOMPARE(env().messages.shown.size(), size_t{1});
        QVERIFY(env().messages.shown[0].text.find("99.0") != std::string::npos);
        lookAtBoxes();

        QStringList boxTexts;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QAbstractButton* button : box->buttons()) boxTexts << button->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QtMessageBoxes boxes;
        boxes.show(env().context.langOp.lfr_overwrite, "Tarnwick", MsgIcon::Error,
                   MsgButtons::OkCancel);
        QCOMPARE(boxTexts.size(), 2);
        QVERIFY2(boxTexts.contains(QString::fromUtf8("Отмена")), qPrintable(boxTexts.join(',')));
        look(QStringLiteral("Qt message box"), boxTexts);

        QStringList dialogTexts;
        const test::TempDir folder;
        test::writeFile(folder.file("old.csv"), "x");
        QString typeOfOld;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            // The folder is listed a little after the dialog shows.
            auto* files = dialog->findChild<QTreeView*>();
            if (files &&
                QTest::qWaitFor([&] { return files->model()->rowCount(files->rootIndex()) > 0; })) {
                typeOfOld = files->model()->index(0, 2, files->rootIndex()).data().toString();
            }
            dialogTexts = shownTexts(dialog);
            dialog->reject();
        });
        QtSaveFileDialog saveFile;
        QCOMPARE(saveFile.askSaveFile(env().context.langOp.lfr_csvfile, "*.csv", folder.path()),
                 std::string());
        QVERIFY2(dialogTexts.contains(QString::fromUtf8("Сохранить как")),
                 qPrintable(dialogTexts.join(',')));
        QCOMPARE(typeOfOld, QString::fromUtf8("Файл csv"));
        look(QStringLiteral("Qt file dialog"), dialogTexts);

        QVERIFY2(english.isEmpty(), qPrintable(english.join('\n')));
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::RussianUserTest)
#include "russian_user_test.moc"
