// How long the windows go without painting while a report is mailed: opens the report page on
// a report folder, types a recipient into the send-report dialog and sends the report (written
// to ManualReport.csv, then mailed through the helper library to a loopback SMTP server) while
// a timer on the GUI thread ticks every 10 ms:
//   send_report_repaint_bench <reports folder>     (make one with make_reports)
// Prints the rows, how long the send took, and the longest gap between two ticks, which is the
// longest time the windows could not repaint.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/reports/frm_report.h"
#include "pages/reports/frm_send_report.h"
#include "pages/reports/report_page_fixture.h"
#include "support/smtp_server.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: send_report_repaint_bench <reports folder>\n");
        return 2;
    }
    twk::test::chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    using namespace twk;

    test::SmtpServerOptions counting;
    counting.discard = true;
    test::SmtpServer server(counting);
    if (!server.running()) {
        std::fprintf(stderr, "%s\n", server.error().c_str());
        return 1;
    }
    test::TempDir mailSettings;
    test::HelperMailSettings settings;
    settings.server = server.url();
    settings.timeout = "120";
    test::HelperMailConfig mailConfig(mailSettings.path(), settings);
    LoadedHelperLibrary library(TWK_TEST_HELPER_DIR);

    test::PageEnvironment env(&library);
    test::useReportsFolder(env, argv[1]);
    Navigator pages(env.context, env.tray);
    registerPages(pages);
    env.startUp();  // loads the report page, hidden, with every row of the folder
    pages.open(PageId::Reports);
    auto* report = qobject_cast<frmReport*>(pages.loaded(PageId::Reports));
    const int rows = report->findChild<QTableView*>("lstReport")->model()->rowCount();
    test::click(report->findChild<Caption*>("txtSend"));
    frmSendReport* dialog = report->sendReportDialog();
    dialog->findChild<QLineEdit*>("txtRepDir")->setText("boss@example.org");
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    qint64 lastTick = 0, longestGap = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        dialog->update();
    });
    clock.start();
    timer.start(10);
    test::click(dialog->findChild<Caption*>("txtSend"));
    const qint64 sendMs = clock.elapsed();
    longestGap = std::max(longestGap, sendMs - lastTick);
    timer.stop();

    const std::string answer =
        env.messages.shown.empty() ? std::string("(none)") : env.messages.shown.back().text;
    std::printf("rows %d, ManualReport.csv %.1f MB\n", rows,
                std::filesystem::file_size(env.userFiles.file("ManualReport.csv")) / 1e6);
    std::printf("send %.2f s, answer \"%s\"\n", sendMs / 1000.0, answer.c_str());
    std::printf("longest gap between 10 ms ticks: %lld ms\n", static_cast<long long>(longestGap));
    return 0;
}
