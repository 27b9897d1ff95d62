// How long the report page holds the GUI thread on a large report folder: starts the program's
// pages on the folder, then opens Reports, opens and closes the date chooser, picks a date, picks
// "All dates" again, sorts by a few headings, selects and copies every row, then types into the
// search box key by key and clears it with Escape, while a timer on the GUI thread ticks every
// 10 ms:
//   report_page_block_bench <reports folder>     (make one with make_reports)
// Prints, for each step, the longest gap between two ticks (the longest time no window could
// paint or answer) and how much of that gap the GUI thread spent working: on a machine that other
// programs keep busy, the rest is time it waited for a core.
#include <time.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "pages/app/navigator.h"
#include "pages/app/page_registry.h"
#include "pages/reports/frm_report.h"
#include "pages/reports/report_page_fixture.h"
#include "pages/reports/report_table_model.h"

namespace {

class GapClock {
public:
    GapClock() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        clock_.start();
        timer_.start(10);
    }
    // Runs step, then lets the events it left run for settle ms, and prints the longest gap.
    void measure(const char* name, const std::function<void()>& step, int settle = 300) {
        lastTick_ = clock_.elapsed();
        lastCpu_ = threadCpuMs();
        longest_ = 0;
        longestBusy_ = 0;
        const qint64 start = lastTick_;
        step();
        tick();
        const qint64 stepMs = clock_.elapsed() - start;
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < settle) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::printf("%-30s step %7lld ms, longest gap %5lld ms, GUI thread busy %5.0f ms of it\n",
                    name, static_cast<long long>(stepMs), static_cast<long long>(longest_),
                    longestBusy_);
        std::fflush(stdout);
    }

private:
    // CPU time of the GUI thread in ms: what it spent of a gap working rather than waiting for
    // a core, which other programs on a loaded machine take.
    static double threadCpuMs() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
    }
    void tick() {
        const qint64 now = clock_.elapsed();
        const double cpu = threadCpuMs();
        if (now - lastTick_ > longest_) {
            longest_ = now - lastTick_;
            longestBusy_ = cpu - lastCpu_;
        }
        lastTick_ = now;
        lastCpu_ = cpu;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastTick_ = 0, longest_ = 0;
    double lastCpu_ = 0, longestBusy_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: report_page_block_bench <reports folder>\n");
        return 2;
    }
    twk::test::chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    using namespace twk;

    test::PageEnvironment env;
    test::useReportsFolder(env, argv[1]);
    Navigator pages(env.context, env.tray);
    registerPages(pages);
    GapClock gaps;
    frmReport* report = nullptr;
    QTableView* table = nullptr;
    QComboBox* dates = nullptr;
    // The start loads the report page hidden and reads its rows on threads of their own; the
    // rows are handed to the table when they arrive.
    gaps.measure("start-up", [&] {
        env.startUp();
        report = qobject_cast<frmReport*>(pages.loaded(PageId::Reports));
        table = report->findChild<QTableView*>("lstReport");
        dates = report->findChild<QComboBox*>("lstDates");
    }, 0);
    gaps.measure("first rows arriving", [&] {
        while (table->model()->rowCount() == 0) QCoreApplication::processEvents();
    }, 1000);
    std::printf("rows %d, date entries %d\n", table->model()->rowCount(), dates->count());
    gaps.measure("open Reports", [&] { pages.open(PageId::Reports); });
    gaps.measure("open the date chooser", [&] { dates->showPopup(); });
    gaps.measure("close the date chooser", [&] { dates->hidePopup(); });
    const auto pick = [dates](int entry) {
        dates->setCurrentIndex(entry);
        emit dates->activated(entry);
    };
    gaps.measure("pick the middle date", [&] { pick(dates->count() / 2); });
    std::printf("rows %d\n", table->model()->rowCount());
    gaps.measure("open the date chooser again", [&] { dates->showPopup(); });
    gaps.measure("close the date chooser", [&] { dates->hidePopup(); });
    gaps.measure("pick All dates", [&] { pick(0); });
    QHeaderView* headings = table->horizontalHeader();
    for (int column : {1, 2, 0, 6}) {
        const QByteArray name =
            "first sort by " +
            table->model()->headerData(column, Qt::Horizontal).toString().toUtf8();
        gaps.measure(name.constData(), [&] { emit headings->sectionClicked(column); });
        // The next sort starts from reading order, as the first one did.
        gaps.measure("  (pick All dates)", [&] { pick(0); }, 50);
    }
    gaps.measure("select every row (Ctrl+A)", [&] { table->selectAll(); });
    gaps.measure("copy them (Ctrl+C)", [&] {
        QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
        QApplication::sendEvent(table, &copy);
    });

    // Each key, then the events until the rows shown follow the box: the step is how long the
    // user waits for the rows, the gap how long the window could not paint meanwhile.
    auto* search = report->findChild<QLineEdit*>("txtSearch");
    const auto* model = static_cast<const ReportTableModel*>(table->model());
    const auto searchShown = [&] {
        while (model->table().search().text() != search->text().toStdString())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    const auto type = [&](const char* step, Qt::Key key) {
        gaps.measure(step, [&] {
            QTest::keyClick(search, key);
            searchShown();
        });
        std::printf("  rows shown %zu\n", model->table().rowCount());
    };
    search->setFocus();
    // "oyelaran" is in a third of the rows, and each letter narrows the rows shown; "qx" is in
    // none, so each of its keys looks through every row.
    for (const char letter : std::string("oyelaran")) {
        const std::string step = std::string("type ") + letter;
        type(step.c_str(), static_cast<Qt::Key>(Qt::Key_A + (letter - 'a')));
    }
    type("Escape", Qt::Key_Escape);
    type("type q", Qt::Key_Q);
    type("type x", Qt::Key_X);
    type("Backspace", Qt::Key_Backspace);
    type("Escape", Qt::Key_Escape);
    return 0;
}
