#include <unistd.h>

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "core/app/twips.h"
#include "core/reports/save_report_flow.h"
#include "pages/app/frm_main.h"
#include "pages/reports/report_page_fixture.h"
#include "support/read_only.h"
#include "support/system_text.h"

namespace twk {

using test::ReportPageFixture;

class FrmReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ReportPageFixture> app;

    frmReport& page() {
        if (!app->report()) qFatal("the report page is not loaded");
        return *app->report();
    }
    PictureButton* button(const char* name) { return app->control(name); }
    QLabel* holder(const char* name) { return app->control<QLabel>(name); }
    Caption* caption(const char* name) { return app->control<Caption>(name); }
    ColorRef colourOf(const char* name) { return caption(name)->textColor(); }
    void open() { app->pages->open(PageId::Reports); }
    void moveOverBackground() { test::moveOverBackground(&page(), QPoint(400, 60)); }
    void clickHeading(int section) {
        QHeaderView* headings = app->table()->horizontalHeader();
        const QPoint at(headings->sectionViewportPosition(section) + 4, headings->height() / 2);
        QTest::mouseClick(headings->viewport(), Qt::LeftButton, {}, at);
    }
    QStringList exportedLines(const std::string& file) {
        QStringList lines = QString::fromStdString(test::readFile(file)).split("\r\n");
        if (lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

private slots:
    void init() { app = std::make_unique<ReportPageFixture>(); }
    void cleanup() {
        app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void startUpLoadsThePageHiddenOnTheDevicesView() {
        QVERIFY(app->report());
        QVERIFY(!page().isVisible());
        QCOMPARE(page().size(), QSize(640, 480));
        QCOMPARE(page().windowTitle(), QString("Tarnwick"));
        QCOMPARE(button("cmd_devices")->tag(), QString("1"));
        QCOMPARE(button("cmd_viruses")->tag(), QString("0"));
        QCOMPARE(app->table()->property("Tag").toString(), QString("0"));
        QVERIFY(button("cmd_devices")->showsPicture("cmd_devices1"));
        QVERIFY(button("cmd_viruses")->showsPicture("cmd_viruses0"));
        QCOMPARE(colourOf("txtDevices"), ColorRef(0x00969696));
        QCOMPARE(colourOf("txtViruses"), ColorRef(0x00484848));
        QLabel* marker = holder("cmd_line1");
        QVERIFY(marker->isVisibleTo(&page()));
        QCOMPARE(marker->x(), 16);
        QCOMPARE(marker->geometry(), QRect(16, 88, 100, 10));
        QVERIFY(!holder("cmd_line")->isVisibleTo(&page()));
        QCOMPARE(app->headings(), QStringList({"PC", "User", "Time", "Action", "Name",
                                               "Description", "Path", "Manufacturer", "Service",
                                               "Enumerator", "Hardware ID", "Long serial"}));
        QCOMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob"}));
        QCOMPARE(app->column(4), QStringList({"Stick A", "Stick A", "Stick B", "Stick B"}));
        QCOMPARE(app->dates()->currentText(), QString("All dates"));
        QCOMPARE(app->dateEntries(),
                 QStringList({"All dates", "10.01.2013", "11.01.2013", "12.01.2013"}));
        const QVariant icon = app->table()->model()->index(3, 0).data(Qt::DecorationRole);
        QVERIFY(!icon.value<QIcon>().isNull());
        QVERIFY(!app->table()->model()->index(3, 1).data(Qt::DecorationRole).isValid());
    }

    void controlsSitWhereTheDesignPutsThem() {
        QCOMPARE(app->table()->geometry(), QRect(16, 160, 609, 265));
        QCOMPARE(app->dates()->geometry(), QRect(120, 123, 105, 22));
        QCOMPARE(button("cmd_devices")->geometry(), QRect(48, 24, 32, 32));
        QCOMPARE(button("cmd_viruses")->geometry(), QRect(152, 24, 32, 32));
        QCOMPARE(button("cmd_close")->geometry(), QRect(600, 8, 29, 29));
        QCOMPARE(caption("lblSort")->geometry(), QRect(16, 128, 89, 16));
        QCOMPARE(app->dates()->palette().color(QPalette::Text), QColor(64, 64, 64));
        QCOMPARE(app->dates()->palette().color(QPalette::Base), QColor(224, 224, 224));
        for (const char* picture : {"cmdSave", "cmdSend"})
            QVERIFY(button(picture)->y() >= page().height());
    }

    void theReportsButtonShowsTheLoadedPage() {
        frmReport* loaded = &page();
        app->pages->showMain();
        test::click(app->pages->main().findChild<PictureButton*>("cmd_report"));
        QCOMPARE(app->report(), loaded);
        QVERIFY(page().isVisible());
        QVERIFY(!app->pages->main().isVisible());
    }

    void virusesShowsItsSevenColumnsAndOnlyItsDates() {
        open();
        test::click(button("cmd_viruses"));
        QCOMPARE(app->headings(), QStringList({"PC", "User", "Time", "Action", "Source path",
                                               "Destination path", "Device"}));
        QCOMPARE(app->column(1), QStringList({"eve", "ian"}));
        QCOMPARE(holder("cmd_line1")->x(), 120);
        QCOMPARE(app->dateEntries(), QStringList({"All dates", "01.02.2013", "02.02.2013"}));
        QCOMPARE(app->dates()->currentText(), QString("All dates"));
        QCOMPARE(app->table()->property("Tag").toString(), QString("1"));
        QCOMPARE(button("cmd_viruses")->tag(), QString("1"));
        QCOMPARE(button("cmd_devices")->tag(), QString("0"));
        QVERIFY(button("cmd_devices")->showsPicture("cmd_devices0"));
        QCOMPARE(colourOf("txtDevices"), ColorRef(0x00484848));
        QCOMPARE(colourOf("txtViruses"), ColorRef(0x00969696));

        test::click(caption("txtDevices"));
        QCOMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob"}));
        QCOMPARE(holder("cmd_line1")->x(), 16);
        QCOMPARE(app->table()->property("Tag").toString(), QString("0"));
    }

    void theKeyboardReachesViewsTableAndActionsAndEscapeCloses() {
        open();
        test::activate(&page());
        QCOMPARE(test::tabOrder(),
                 QStringList({"cmd_devices", "cmd_viruses", "lstDates", "txtSearch", "lstReport",
                              "txtSave", "txtSend", "cmd_close"}));
        test::press(Qt::Key_Tab);
        test::press(Qt::Key_Space);
        QCOMPARE(button("cmd_viruses")->tag(), QString("1"));
        QCOMPARE(app->table()->property("Tag").toString(), QString("1"));
        for (int step = 0; step < 4; ++step) test::press(Qt::Key_Tab);
        QCOMPARE(test::focusedName(), QString("txtSave"));
        test::press(Qt::Key_Return);
        QCOMPARE(app->env.saveFile.asked, 1);
        test::press(Qt::Key_Escape);
        QVERIFY(app->pages->main().isVisible());
        QVERIFY(!app->report());
    }

    void missingFoldersAreCreatedWithTheirSendedReports() {
        std::filesystem::remove_all(app->quarantine);
        open();
        test::click(caption("txtViruses"));
        QVERIFY(std::filesystem::is_directory(app->quarantine + "/sended reports"));
        QCOMPARE(app->table()->model()->rowCount(), 0);
        QCOMPARE(app->dateEntries(), QStringList({"All dates"}));
        QVERIFY(app->env.messages.shown.empty());
    }

    void theSelectedViewKeepsItsHighlightWhenThePointerGoes() {
        open();
        test::hover(button("cmd_viruses"));
        QVERIFY(button("cmd_viruses")->showsPicture("cmd_viruses1"));
        QCOMPARE(colourOf("txtViruses"), ColorRef(0x00969696));
        test::leave(button("cmd_viruses"));
        QVERIFY(button("cmd_viruses")->showsPicture("cmd_viruses0"));
        QCOMPARE(colourOf("txtViruses"), ColorRef(0x00484848));
        test::leave(button("cmd_devices"));
        QVERIFY(button("cmd_devices")->showsPicture("cmd_devices1"));
        QCOMPARE(colourOf("txtDevices"), ColorRef(0x00969696));

        test::hover(caption("txtViruses"));
        QVERIFY(button("cmd_viruses")->showsPicture("cmd_viruses1"));
        moveOverBackground();
        QVERIFY(button("cmd_viruses")->showsPicture("cmd_viruses0"));
        QCOMPARE(colourOf("txtViruses"), ColorRef(0x00484848));
        QVERIFY(button("cmd_devices")->showsPicture("cmd_devices1"));
        QCOMPARE(colourOf("txtDevices"), ColorRef(0x00969696));
    }

    void saveAndSendHoverAndTheBackgroundSwitchesThemOff() {
        open();
        test::hover(button("cmdSave"));
        QVERIFY(button("cmdSave")->showsPicture("cmd_save1"));
        QCOMPARE(colourOf("txtSave"), ColorRef(0x00969696));
        test::leave(button("cmdSave"));
        QVERIFY(button("cmdSave")->showsPicture("cmd_save0"));
        QCOMPARE(colourOf("txtSave"), ColorRef(0x00484848));

        test::hover(button("cmdSend"));
        QVERIFY(button("cmdSend")->showsPicture("cmd_send1"));
        test::leave(button("cmdSend"));  // the send picture has no leave of its own
        QVERIFY(button("cmdSend")->showsPicture("cmd_send1"));
        QCOMPARE(colourOf("txtSend"), ColorRef(0x00969696));

        test::hover(caption("txtSave"));
        QCOMPARE(colourOf("txtSave"), ColorRef(0x00969696));
        moveOverBackground();
        QCOMPARE(colourOf("txtSave"), ColorRef(0x00484848));
        QCOMPARE(colourOf("txtSend"), ColorRef(0x00484848));
        QVERIFY(button("cmdSend")->showsPicture("cmd_send0"));

        test::hover(caption("txtSend"));
        QVERIFY(button("cmdSend")->showsPicture("cmd_send1"));
        QCOMPARE(colourOf("txtSend"), ColorRef(0x00969696));
    }

    void pickingADateNarrowsTheRowsAndKeepsTheEntries() {
        open();
        QHeaderView* headings = app->table()->horizontalHeader();
        const auto widths = [headings] {
            QList<int> sizes;
            for (int column = 0; column < headings->count(); ++column)
                sizes << headings->sectionSize(column);
            return sizes;
        };
        const QList<int> fitted = widths();
        app->pickDate("11.01.2013");
        QCOMPARE(widths(), fitted);  // the columns keep the widths the view was given
        QCOMPARE(app->column(1), QStringList({"adam", "mia"}));
        QCOMPARE(app->dates()->currentText(), QString("11.01.2013"));
        QCOMPARE(app->dateEntries(),
                 QStringList({"All dates", "10.01.2013", "11.01.2013", "12.01.2013"}));
        QCOMPARE(app->headings().size(), 12);

        // A report written meanwhile adds its new date at the end; the picked one stays.
        test::writeFile(
            app->reports + "/c.txt",
            "pc5;kim;13.01.2013 07:00:00;Connect\r\npc5;lea;11.01.2013 07:30:00;Scan\r\n");
        app->pickDate("11.01.2013");
        QCOMPARE(app->column(1), QStringList({"adam", "mia", "lea"}));
        QCOMPARE(app->dateEntries(), QStringList({"All dates", "10.01.2013", "11.01.2013",
                                                  "12.01.2013", "13.01.2013"}));
        app->pickDate("All dates");
        QCOMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob", "kim", "lea"}));

        test::click(button("cmd_viruses"));
        app->pickDate("02.02.2013");
        QCOMPARE(app->column(1), QStringList({"ian"}));
        QCOMPARE(app->headings().size(), 7);
    }

    void datesThatAreNoTextPickTheirOwnRecordsEvenWhenTheyLookTheSame() {
        // Two Latin-1 dates on a UTF-8 system: both show as the same replacement character.
        test::writeFile(app->reports + "/latin1.txt",
                        "pc6;ole;11.f\xE9v.2013 07:00:00;Connect\r\n"
                        "pc6;per;11.f\xEAv.2013 08:00:00;Connect\r\n");
        open();
        test::click(button("cmd_devices"));
        QCOMPARE(app->dates()->itemText(4), app->dates()->itemText(5));
        for (int entry : {4, 5}) {
            app->dates()->setCurrentIndex(entry);
            emit app->dates()->activated(entry);
            QCOMPARE(app->column(1), QStringList({entry == 4 ? "ole" : "per"}));
        }
    }

    void aHeadingClickSortsAndTheExportFollowsTheShownOrder() {
        open();
        clickHeading(1);
        QCOMPARE(app->column(1), QStringList({"adam", "bob", "mia", "zoe"}));
        QHeaderView* headings = app->table()->horizontalHeader();
        QCOMPARE(headings->sortIndicatorSection(), 1);
        QCOMPARE(headings->sortIndicatorOrder(), Qt::AscendingOrder);
        clickHeading(1);
        QCOMPARE(app->column(1), QStringList({"zoe", "mia", "bob", "adam"}));
        QCOMPARE(headings->sortIndicatorOrder(), Qt::DescendingOrder);

        const std::string file = app->data.file("sorted.csv");
        QVERIFY(page().save_report(file));
        const QStringList lines = exportedLines(file);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0],
                 QString::fromLatin1(kDevicesExportHeader.data(), kDevicesExportHeader.size()));
        QVERIFY(lines[1].startsWith("zoe;10.01.2013 08:00:00;Connect;"));
        QVERIFY(lines[4].startsWith("adam;"));

        app->pickDate("All dates");  // the view keeps its sort whatever the date
        QCOMPARE(app->column(1), QStringList({"zoe", "mia", "bob", "adam"}));
        QCOMPARE(headings->sortIndicatorSection(), 1);
    }

    // The user types into the search box: the rows narrow to those holding the text in any
    // column, cases aside, together with the picked date; Save to disk writes exactly those rows;
    // Escape empties the box, and only a second Escape closes the page.
    void typingNarrowsTheRowsSaveWritesThemAndEscapeClears() {
        open();
        test::activate(&page());
        auto* search = app->control<QLineEdit>("txtSearch");
        QCOMPARE(search->accessibleName(), QString("Search:"));
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(test::focusedName(), QString("txtSearch"));
        QTest::keyClicks(search, "STICK");
        QTRY_COMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob"}));
        QTest::keyClicks(search, " b");
        QTRY_COMPARE(app->column(1), QStringList({"mia", "bob"}));
        app->pickDate("12.01.2013");
        QCOMPARE(app->column(1), QStringList({"bob"}));
        app->pickDate("All dates");
        QTest::keyClick(search, Qt::Key_Backspace);
        QTest::keyClicks(search, "a");
        QTRY_COMPARE(app->column(1), QStringList({"zoe", "adam"}));

        const std::string file = app->data.file("found.csv");
        app->env.saveFile.answer = file;
        test::click(caption("txtSave"));
        const QStringList lines = exportedLines(file);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].startsWith("zoe;10.01.2013 08:00:00;Connect;Stick A;"));
        QVERIFY(lines[2].startsWith("adam;11.01.2013 09:00:00;Disconnect;Stick A;"));

        test::press(Qt::Key_Escape);
        QCOMPARE(search->text(), QString());
        QTRY_COMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob"}));
        QVERIFY(page().isVisible());
        test::press(Qt::Key_Escape);
        QVERIFY(!app->report());
    }

    // Widths and sort are the user's own: kept for each view in the user's settings folder, not
    // the shared store nor the user files folder that may be cleared, and back when the page opens
    // again.
    void eachViewsWidthsAndSortComeBackAtTheNextOpening() {
        open();
        QHeaderView* headings = app->table()->horizontalHeader();
        const int edge = headings->sectionViewportPosition(1) + headings->sectionSize(1) - 1;
        const int widened = headings->sectionSize(1) + 40;
        QTest::mousePress(headings->viewport(), Qt::LeftButton, {}, QPoint(edge, 5));
        QMouseEvent drag(QEvent::MouseMove, QPointF(edge + 40, 5),
                         headings->viewport()->mapToGlobal(QPointF(edge + 40, 5)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(headings->viewport(), &drag);
        QTest::mouseRelease(headings->viewport(), Qt::LeftButton, {}, QPoint(edge + 40, 5));
        QCOMPARE(headings->sectionSize(1), widened);
        clickHeading(1);
        clickHeading(1);
        test::click(button("cmd_viruses"));
        clickHeading(1);
        clickHeading(1);
        QCOMPARE(app->column(1), QStringList({"ian", "eve"}));
        test::click(button("cmd_close"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(test::exists(app->env.userSettings.file("report_views.ini")));
        QVERIFY(!test::exists(app->env.userFiles.file("report_views.ini")));

        open();
        QTRY_COMPARE(app->column(1), QStringList({"zoe", "mia", "bob", "adam"}));
        headings = app->table()->horizontalHeader();
        QCOMPARE(headings->sectionSize(1), widened);
        QCOMPARE(headings->sortIndicatorSection(), 1);
        QCOMPARE(headings->sortIndicatorOrder(), Qt::DescendingOrder);
        test::click(button("cmd_viruses"));
        QCOMPARE(app->column(1), QStringList({"ian", "eve"}));
        QCOMPARE(headings->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    // A layout that an earlier version kept among the user files is moved at start, once.
    void aLayoutLeftAmongTheUserFilesIsTakenOverAtStart() {
        app.reset();
        app = std::make_unique<ReportPageFixture>(
            "English", test::kEnglishReportCaptions, nullptr, [](ReportPageFixture& starting) {
                test::writeFile(starting.env.userFiles.file("report_views.ini"),
                                "[Devices]\r\nColumnWidths=900,1800,900,900,900,900,900,900,900,"
                                "900,900,900\r\nSortColumn=1\r\nSortDescending=1\r\n");
            });
        QVERIFY(!test::exists(app->env.userFiles.file("report_views.ini")));
        QVERIFY(test::exists(app->env.userSettings.file("report_views.ini")));
        open();
        QTRY_COMPARE(app->column(1), QStringList({"zoe", "mia", "bob", "adam"}));
        QCOMPARE(app->table()->horizontalHeader()->sectionSize(1), twipsToPixels(1800));
    }

    void ctrlCCopiesTheSelectedRowsAsTheirExportLines() {
        open();
        test::activate(&page());
        QTableView* table = app->table();
        const auto clickRow = [table](int row, Qt::KeyboardModifiers keys) {
            const QPoint at = table->visualRect(table->model()->index(row, 1)).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, keys, at);
        };
        clickRow(3, {});
        clickRow(0, Qt::ControlModifier);
        clickRow(1, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);

        const std::string file = app->data.file("all.csv");
        QVERIFY(page().save_report(file));
        const QStringList exported = exportedLines(file);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 exported[1] + "\n" + exported[2] + "\n" + exported[4] + "\n");
        QVERIFY(exported[4].startsWith("bob;12.01.2013 11:00:00;Scan;"));
    }

    void saveToDiskWritesTheShownRowsAndAsksBeforeReplacing() {
        open();
        app->pickDate("11.01.2013");
        const std::string file = app->data.file("out/report.csv");
        std::filesystem::create_directories(app->data.file("out"));
        app->env.saveFile.answer = file;
        test::click(caption("txtSave"));
        QCOMPARE(app->env.saveFile.lastFilterName, std::string("CSV file "));
        QCOMPARE(app->env.saveFile.lastPattern, std::string("*.csv"));
        QCOMPARE(exportedLines(file).size(), 3);
        QVERIFY(exportedLines(file)[1].startsWith("adam;"));
        auto& boxes = app->env.messages.shown;
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].text, std::string("Saving report is complete!"));
        QVERIFY(boxes[0].icon == MsgIcon::Information);

        test::writeFile(file, "old");
        app->env.messages.answers = {MsgAnswer::Cancel};
        test::click(caption("txtSave"));
        QCOMPARE(test::readFile(file), std::string("old"));
        QCOMPARE(boxes.size(), size_t(2));
        QCOMPARE(boxes[1].text, std::string("File is exists, do you want overwrite file?"));
        QVERIFY(boxes[1].icon == MsgIcon::Error);
        QVERIFY(boxes[1].buttons == MsgButtons::OkCancel);

        app->env.messages.answers = {MsgAnswer::Ok};
        test::click(button("cmdSave"));  // the picture saves like its caption
        QCOMPARE(exportedLines(file).size(), 3);
        QCOMPARE(boxes.size(), size_t(4));
        QCOMPARE(boxes[3].text, std::string("Saving report is complete!"));

        app->env.saveFile.answer.clear();  // a cancelled dialog says nothing
        test::click(caption("txtSave"));
        QCOMPARE(boxes.size(), size_t(4));
    }

    void aReadOnlyTargetIsReportedNotClaimedSaved() {
        open();
        const std::string folder = app->data.file("locked");
        std::filesystem::create_directories(folder);
        test::ReadOnlyFolder locked(folder);
        if (!locked.active()) QSKIP("this machine allows no read-only folder for the test");
        app->env.saveFile.answer = folder + "/report.csv";
        test::click(caption("txtSave"));
        auto& boxes = app->env.messages.shown;
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].text, "The report could not be saved to:\n" + folder + "/report.csv");
        QVERIFY(boxes[0].icon == MsgIcon::Error);
        QVERIFY(!test::exists(folder + "/report.csv"));
    }

    void unreadableReportsGiveOneErrorBoxPerRefresh() {
        open();
        const std::string broken = app->reports + "/broken";
        QCOMPARE(::symlink("/proc/self/mem", broken.c_str()), 0);  // opens, fails to read
        auto& boxes = app->env.messages.shown;
        test::click(button("cmd_devices"));
        QCOMPARE(boxes.size(), size_t(1));
        QVERIFY(boxes[0].icon == MsgIcon::Error);
        QCOMPARE(boxes[0].title, std::string("Tarnwick"));
        QVERIFY(QString::fromStdString(boxes[0].text).contains(QString::fromStdString(broken)));
        QCOMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob"}));  // the rest shows
        app->pickDate("12.01.2013");
        QCOMPARE(boxes.size(), size_t(2));
        QCOMPARE(app->column(1), QStringList({"bob"}));

        // A quarantine folder that cannot be made (its parent is a file) is one box too.
        app->env.context.mainOp.DirQuar = app->reports + "/b.txt/quarantine";
        test::click(button("cmd_viruses"));
        QCOMPARE(boxes.size(), size_t(3));
        QVERIFY(QString::fromStdString(boxes[2].text).contains("b.txt/quarantine"));
        QCOMPARE(app->table()->model()->rowCount(), 0);
    }

    // A folder name longer than the system takes is told as such; a folder in the kernel's own
    // folders (here /dev/shm, reached through a link) is never made, and told why.
    void foldersThatCannotBeMadeAreToldWhy() {
        open();
        auto& boxes = app->env.messages.shown;
        const auto lastLine = [&] {
            const std::string& text = boxes.back().text;
            return text.substr(text.rfind('\n') + 1);
        };
        const std::string tooLong = app->reports + "/" + std::string(300, 'n');
        app->env.context.mainOp.DirRep = tooLong;
        test::click(button("cmd_devices"));
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(lastLine(), tooLong + " - the folder could not be created: its name is too long");

        const std::string link = app->data.file("shm");
        QCOMPARE(::symlink("/dev/shm", link.c_str()), 0);
        app->env.context.mainOp.DirQuar = link;
        test::click(button("cmd_viruses"));
        const std::string made = "/dev/shm/sended reports";
        const bool wasMade = std::filesystem::exists(made);
        std::filesystem::remove(made);
        QVERIFY(!wasMade);
        QCOMPARE(boxes.size(), size_t(2));
        QCOMPARE(lastLine(), link +
                                 "/sended reports - the folder could not be created: no folder "
                                 "is made inside a system folder");
    }

    // The page loads hidden at start: what it could not read is told when the user opens it,
    // over the page, never as a box standing alone before the main window.
    void anUnreadableReportAtStartIsToldWhenThePageOpens() {
        std::string broken;
        app = std::make_unique<ReportPageFixture>(
            "English", test::kEnglishReportCaptions, nullptr,
            [&broken](ReportPageFixture& starting) {
                broken = starting.reports + "/broken";
                QCOMPARE(::symlink("/proc/self/mem", broken.c_str()), 0);  // opens, fails to read
            });
        auto& boxes = app->env.messages.shown;
        QVERIFY(app->pages->main().Form_Load());
        app->pages->showMain();
        QCoreApplication::sendPostedEvents();
        QVERIFY(boxes.empty());
        std::vector<bool> pageShownWithBox;
        app->env.messages.whileShown = [&] { pageShownWithBox.push_back(page().isVisible()); };
        test::click(app->pages->main().findChild<PictureButton*>("cmd_report"));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pageShownWithBox, std::vector<bool>{true});
        QVERIFY(QString::fromStdString(boxes[0].text).contains(QString::fromStdString(broken)));
    }

    // A picked date or a view chosen again starts at the first row and column, wherever the
    // table was scrolled to.
    void aNewDateOrViewShowsTheTableFromItsTopLeft() {
        std::string lines;
        for (int row = 0; row < 300; ++row)
            lines += "pc7;user" + std::to_string(row) + ";12.01.2013 08:00:00;Connect;" +
                     std::string(300, 'n') + ";E:\\;" + std::string(300, 'd') + "\r\n";
        test::writeFile(app->reports + "/many.txt", lines);
        open();
        test::click(button("cmd_devices"));
        QTableView* table = app->table();
        for (auto choose :
             std::vector<std::function<void()>>{[this] { app->pickDate("12.01.2013"); },
                                                [this] { test::click(button("cmd_devices")); }}) {
            QCoreApplication::sendPostedEvents();
            table->scrollToBottom();
            table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
            QVERIFY(table->verticalScrollBar()->value() > 0);
            QVERIFY(table->horizontalScrollBar()->value() > 0);
            choose();
            QCoreApplication::sendPostedEvents();
            QCOMPARE(table->verticalScrollBar()->value(), 0);
            QCOMPARE(table->horizontalScrollBar()->value(), 0);
        }
    }

    void closingShowsTheMainWindowAndTheNextOpeningStartsAfresh() {
        open();
        test::click(button("cmd_viruses"));
        app->pages->main().hide();
        test::click(button("cmd_close"));
        QVERIFY(app->pages->main().isVisible());
        QVERIFY(!app->report());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        test::writeFile(app->reports + "/c.txt", "pc5;kim;13.01.2013 07:00:00;Connect\r\n");
        open();
        QCOMPARE(button("cmd_devices")->tag(), QString("1"));
        // The page comes up at once; its rows follow as soon as they are read.
        QTRY_COMPARE(app->column(1), QStringList({"zoe", "adam", "mia", "bob", "kim"}));
    }

    void theCaptionLoaderNamesAndPlacesTheCaptions() {
        QCOMPARE(caption("txtDevices")->text(), QString("Devices"));
        QCOMPARE(caption("txtViruses")->text(), QString("Viruses"));
        QCOMPARE(caption("lblSort")->text(), QString("Sorted by date:"));
        QCOMPARE(caption("txtSend")->text(), QString("Send report"));
        Caption* save = caption("txtSave");
        QCOMPARE(save->text(), QString("Save to disk"));
        QCOMPARE(caption("txtSend")->x(), twipsToPixels(8160));
        QCOMPARE(save->x(), twipsToPixels(8160 - 1560));
        for (Caption* action : {save, caption("txtSend")})
            QVERIFY(action->width() >= action->fontMetrics().horizontalAdvance(action->text()));

        // A second run of the loader re-captions the loaded page, here with no save caption.
        frmReport* loaded = &page();
        app->env.addLanguage("Deutsch", "[frmReport]\nlfr_menu1=Geräte\nlfr_send=Senden\n");
        app->env.context.mainOp.lang = "Deutsch";
        app->env.context.langOp.Init(app->env.context.mainOp);
        QCOMPARE(app->report(), loaded);
        QVERIFY(!page().isVisible());
        QCOMPARE(caption("txtDevices")->text(), QString("Geräte"));
        QCOMPARE(caption("txtViruses")->text(), QString(""));
        QCOMPARE(save->text(), QString(""));
        QCOMPARE(save->x(), caption("txtSend")->x());
    }

    // Cyrillic letters are wider than 130 twips a character allows.
    void russianSaveAndSendCaptionsDoNotRunTogether() {
        QVERIFY2(!QFontDatabase::families().isEmpty(), "captions need fonts to have a width");
        app.reset();
        app = std::make_unique<ReportPageFixture>(
            "Russian", "[frmReport]\nlfr_save=" + test::systemText("Сохранить") +
                           "\nlfr_send=" + test::systemText("Отправить") + "\n");
        Caption* save = caption("txtSave");
        const QFontMetrics metrics = save->fontMetrics();
        QCOMPARE(save->text(), QString("Сохранить"));
        QVERIFY(save->x() + metrics.horizontalAdvance(save->text()) + metrics.averageCharWidth() <=
                caption("txtSend")->x());
    }

    void aPageLoadedAgainTakesTheCurrentLanguage() {
        app.reset();
        app = std::make_unique<ReportPageFixture>(
            "Deutsch",
            "[frmReport]\nlfr_menu1=Geräte\nlfr_menu2=Viren\nlfr_sort=Nach Datum:\n"
            "lfr_save=Speichern\nlfr_send=Senden\n");
        open();
        test::click(button("cmd_close"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        test::click(app->pages->main().findChild<PictureButton*>("cmd_report"));
        QCOMPARE(caption("txtDevices")->text(), QString("Geräte"));
        QCOMPARE(caption("lblSort")->text(), QString("Nach Datum:"));
        QCOMPARE(caption("txtSave")->text(), QString("Speichern"));
        QCOMPARE(caption("txtSave")->x(), twipsToPixels(8160 - 130 * 9));
    }

    void aMillionRecordsOpenWithoutAWidgetPerCell() {
        std::string lines;
        lines.reserve(26'000'000);
        for (int record = 0; record < 1'000'000; ++record)
            lines += "pc;u" + std::to_string(record % 97) + ";1" + std::to_string(record % 3) +
                     ".01.2013 08:00;Scan\r\n";
        test::writeFile(app->reports + "/big.log", lines);
        open();
        test::click(button("cmd_devices"));
        // The table learns of the rows a slice at a time.
        QTRY_COMPARE(app->table()->model()->rowCount(), 1'000'004);
        QCOMPARE(app->dateEntries(),
                 QStringList({"All dates", "10.01.2013", "11.01.2013", "12.01.2013"}));
        app->table()->scrollToBottom();
        const QModelIndex last = app->table()->model()->index(1'000'003, 1);
        QCOMPARE(last.data().toString(), QString("u%1").arg(999'999 % 97));
        QVERIFY(app->table()->findChildren<QWidget*>().size() < 50);
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::FrmReportTest)
#include "frm_report_test.moc"
