#include <QTest>

#include "pages/reports/report_page_fixture.h"

namespace twk {

// A report line of megabytes, as a broken guard service may write it: the table shows the start
// of the long cell, so that painting stays quick, and the export keeps the cell whole.
class LongCellTest : public QObject {
    Q_OBJECT

private slots:
    void aLongCellIsShownCutAndExportedWhole() {
        test::ReportPageFixture app;
        // One ASCII letter, then two-byte characters: the cut falls inside a character.
        std::string name = "x";
        for (int i = 0; i < (5 << 20); ++i) name += "\xc3\xbc";  // ü
        test::writeFile(app.reports + "/long.log",
                        "pc;ann;05.05.2024 10:00:00;Connect;" + name + ";E:\\\r\n");
        app.pages->open(PageId::Reports);
        test::click(app.control("cmd_viruses"));
        test::click(app.control("cmd_devices"));

        const QStringList names = app.column(4);
        const int row = names.indexOf(QRegularExpression("^xü.*"));
        QVERIFY(row >= 0);
        const QString shown = names[row];
        QCOMPARE(shown, "x" + QString(511, QChar(0xfc)) + QChar(0x2026));
        QVERIFY(!app.report()->grab().isNull());

        const std::string file = app.data.file("export.csv");
        QVERIFY(app.report()->save_report(file));
        QVERIFY(test::readFile(file).find(";" + name + ";") != std::string::npos);
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::LongCellTest)
#include "long_cell_test.moc"
