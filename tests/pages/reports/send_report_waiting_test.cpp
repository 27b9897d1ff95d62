// The send-report dialog under a real X server while its mail is on the way: the window keeps
// painting and shows the busy pointer, and a click given meanwhile waits in the queue until the
// send has ended, then arrives.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "pages/reports/frm_send_report.h"
#include "pages/reports/report_page_fixture.h"
#include "support/smtp_server.h"

extern char** environ;

namespace twk {
namespace {

bool run(std::vector<std::string> args, pid_t* child) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return posix_spawnp(child, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
}

// A private X server (Xvfb) for the length of the test program, so that input goes the way a
// person's does: from the server through the platform's event queue.
class PrivateDisplay {
public:
    PrivateDisplay() {
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // The server goes with this program even when it dies without unwinding, so it never
            // outlives the test holding ctest's output pipe.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::dup2(ready[1], 3);
            ::fcntl(3, F_SETFD, 0);  // dup2 onto itself keeps close-on-exec
            ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0",
                     "1024x768x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        // The server writes the display's number and a line end once it takes connections.
        std::string number;
        char got = 0;
        while (pid_ > 0 && ::read(ready[0], &got, 1) == 1 && got != '\n') number += got;
        ::close(ready[0]);
        if (got == '\n' && !number.empty()) name_ = ":" + number;
    }
    ~PrivateDisplay() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }

    bool running() const { return !name_.empty(); }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

PrivateDisplay* display = nullptr;

// A left click at a point of the screen, through the X server.
bool clickOnScreen(QPoint at) {
    pid_t child = 0;
    int status = 0;
    return run({"xdotool", "mousemove", std::to_string(at.x()), std::to_string(at.y()), "click",
                "1"},
               &child) &&
           ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

class SendReportWaitingTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogKeepsPaintingAndHoldsAClickUntilTheMailHasGone() {
        if (!display || !display->running()) QSKIP("Xvfb did not start");
        // A server that takes the connection and never greets: the send lasts the time-out.
        test::SmtpServer server({"", "", test::SmtpFault::StallGreeting});
        QVERIFY2(server.running(), server.error().c_str());
        test::TempDir mailSettings;
        test::HelperMailSettings settings;
        settings.server = server.url();
        settings.timeout = std::to_string(1);  // seconds
        test::HelperMailConfig mailConfig(mailSettings.path(), settings);
        LoadedHelperLibrary library(TWK_TEST_HELPER_DIR);
        test::ReportPageFixture app("English", test::kEnglishReportCaptions, &library);
        app.pages->open(PageId::Reports);
        test::click(app.control<Caption>("txtSend"));
        QPointer<frmSendReport> dialog = app.report()->sendReportDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        dialog->findChild<QLineEdit*>("txtRepDir")->setText("boss@example.org");
        const PictureButton* close = dialog->findChild<PictureButton*>("cmd_close");
        const QPoint closeOnScreen = close->mapToGlobal(close->rect().center());
        PaintCounter counter(dialog);

        int ticks = 0;
        bool clickGiven = false, alwaysBusy = true, closedWhileSending = false;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            if (++ticks == 1) clickGiven = clickOnScreen(closeOnScreen);
            const QCursor* pointer = QApplication::overrideCursor();
            alwaysBusy = alwaysBusy && pointer && pointer->shape() == Qt::WaitCursor;
            closedWhileSending = closedWhileSending || !dialog || !dialog->isVisible();
            if (dialog) dialog->update();
        });
        timer.start(20);
        test::click(dialog->findChild<Caption*>("txtSend"));  // returns once the send has ended
        timer.stop();

        QVERIFY2(ticks > 1, "the GUI thread ran during the send");
        QVERIFY(clickGiven);
        QVERIFY(counter.paints > 0);
        QVERIFY(alwaysBusy);
        QVERIFY2(!closedWhileSending, "the click reached the dialog during the send");
        QVERIFY(!QApplication::overrideCursor());
        const auto& boxes = app.env.messages.shown;
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(boxes[0].text, std::string("The report is not sent, check the data!"));
        // The held click arrives after the answer: the dialog closes.
        QTRY_VERIFY(!dialog || !dialog->isVisible());
        QVERIFY(app.report()->isVisible());
    }
};

}  // namespace twk

int main(int argc, char** argv) {
    twk::PrivateDisplay display;
    if (display.running()) {
        twk::display = &display;
        qputenv("DISPLAY", QByteArray::fromStdString(display.name()));
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    twk::SendReportWaitingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "send_report_waiting_test.moc"
