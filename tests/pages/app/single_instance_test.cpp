#include <QDir>
#include <QProcess>
#include <QTest>

#include "pages/support/page_fixture.h"

namespace twk {

// Starts the real program twice, side by side, in a private environment.
class SingleInstanceTest : public QObject {
    Q_OBJECT

    QProcess* start(const test::TempDir& runtime, const test::TempDir& config) {
        auto* process = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path()));
        environment.insert("XDG_CONFIG_DIRS", QString::fromStdString(config.path()));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(TWK_PROGRAM_DIR "/tarnwick"), {});
        return process;
    }

private slots:
    void aSecondStartEndsByItselfAndLeavesTheFirstRunning() {
        test::TempDir runtime, config;
        QFile::setPermissions(QString::fromStdString(runtime.path()),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
        QProcess* first = start(runtime, config);
        QVERIFY(first->waitForStarted());
        const QString lock = QString::fromStdString(runtime.file("tarnwick.lock"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 60000);

        QProcess* second = start(runtime, config);
        QVERIFY(second->waitForFinished(60000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);

        first->kill();
        QVERIFY(first->waitForFinished(10000));
        // A lock left by a killed instance does not keep the next start from running.
        QProcess* third = start(runtime, config);
        QVERIFY(!third->waitForFinished(3000));
        QCOMPARE(third->state(), QProcess::Running);
        third->kill();
        third->waitForFinished(10000);
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::SingleInstanceTest)
#include "single_instance_test.moc"
