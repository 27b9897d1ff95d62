#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <algorithm>
#include <vector>

#include "pages/support/page_fixture.h"

namespace twk {

// Starts the real program side by side, with a private runtime folder.
class SingleInstanceTest : public QObject {
    Q_OBJECT

    static constexpr int kBurst = 20;

    // A runtime folder is private to its user, as the lock expects.
    static void makeRuntimeFolder(const test::TempDir& runtime) {
        QFile::setPermissions(QString::fromStdString(runtime.path()), QFileDevice::ReadOwner |
                                                                          QFileDevice::WriteOwner |
                                                                          QFileDevice::ExeOwner);
    }

    QProcess* start(QProcessEnvironment environment) {
        auto* process = new QProcess(this);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(TWK_PROGRAM_DIR "/tarnwick"), {});
        return process;
    }
    QProcess* start(const test::TempDir& runtime) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        return start(environment);
    }

    // Starts the program kBurst times in quick succession and waits until all but one have
    // ended; that one must keep running. Answers the survivor.
    QProcess* startBurstAndKeepOne(const test::TempDir& runtime) {
        std::vector<QProcess*> starts;
        for (int i = 0; i < kBurst; ++i) starts.push_back(start(runtime));
        auto ended = [&] {
            return std::count_if(starts.begin(), starts.end(),
                                 [](QProcess* p) { return p->state() == QProcess::NotRunning; });
        };
        [&] { QTRY_COMPARE_WITH_TIMEOUT(ended(), kBurst - 1, 240000); }();
        QProcess* survivor = nullptr;
        for (QProcess* process : starts) {
            if (process->state() != QProcess::NotRunning) {
                survivor = process;
                continue;
            }
            // Every other start ended by itself, quietly.
            [&] {
                QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0,
                         process->readAllStandardError().constData());
            }();
        }
        return survivor;
    }

private slots:
    void aSecondStartEndsByItselfAndLeavesTheFirstRunning() {
        test::TempDir runtime;
        makeRuntimeFolder(runtime);
        QProcess* first = start(runtime);
        QVERIFY(first->waitForStarted());
        const QString lock = QString::fromStdString(runtime.file("tarnwick.lock"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 60000);

        QProcess* second = start(runtime);
        QVERIFY(second->waitForFinished(60000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);

        first->kill();
        QVERIFY(first->waitForFinished(10000));
        // A lock left by a killed instance does not keep the next start from running.
        QProcess* third = start(runtime);
        QVERIFY(!third->waitForFinished(3000));
        QCOMPARE(third->state(), QProcess::Running);
        third->kill();
        third->waitForFinished(10000);
    }

    void manyStartsAtOnceLeaveExactlyOneRunningEvenAfterACrash() {
        test::TempDir runtime;
        makeRuntimeFolder(runtime);
        QProcess* survivor = startBurstAndKeepOne(runtime);
        QVERIFY(survivor);
        QVERIFY(!survivor->waitForFinished(3000));

        // The survivor dies without unlocking; the next burst still gets exactly one instance.
        survivor->kill();
        QVERIFY(survivor->waitForFinished(10000));
        QVERIFY(QFile::exists(QString::fromStdString(runtime.file("tarnwick.lock"))));
        QProcess* next = startBurstAndKeepOne(runtime);
        QVERIFY(next);
        QVERIFY(!next->waitForFinished(3000));
        next->kill();
        next->waitForFinished(10000);
    }

    // What another user can leave in shared places: a folder named as the lock, links, a
    // runtime folder open to all. None of it keeps the user's own Tarnwick from starting, and a
    // second start still finds the first.
    void nothingPlantedInASharedFolderKeepsItFromStarting() {
        test::TempDir shared;
        QFile::setPermissions(QString::fromStdString(shared.path()),
                              QFileDevice::Permissions(0x7777));
        const std::string user = qEnvironmentVariable("USER", "root").toStdString();
        for (const std::string& planted :
             {shared.file("tarnwick.lock/x"), shared.file("runtime-" + user + "/tarnwick.lock/x"),
              shared.file("open/tarnwick.lock/x")})
            test::writeFile(planted, "");
        QFile::link("/nonexistent", QString::fromStdString(shared.file("open/tarnwick.socket")));
        for (const std::string& folder : {std::string("open"), "runtime-" + user})
            QFile::setPermissions(QString::fromStdString(shared.file(folder)),
                                  QFileDevice::Permissions(0x7777));

        for (const char* runtime : {"", "open"}) {
            test::TempDir cache;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("TMPDIR", QString::fromStdString(shared.path()));
            environment.insert("XDG_CACHE_HOME", QString::fromStdString(cache.path()));
            if (*runtime)
                environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(shared.file(runtime)));
            else
                environment.remove("XDG_RUNTIME_DIR");
            QProcess* first = start(environment);
            // The lock went into a private folder of the user's own instead.
            const QString ownLock = QString::fromStdString(cache.file("tarnwick/run-")) +
                                    QSysInfo::machineHostName() + "/tarnwick.lock";
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ownLock), 60000);
            QProcess* second = start(environment);
            QVERIFY(second->waitForFinished(60000));
            QCOMPARE(second->exitCode(), 0);
            QCOMPARE(first->state(), QProcess::Running);
            first->kill();
            first->waitForFinished(10000);
        }
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::SingleInstanceTest)
#include "single_instance_test.moc"
