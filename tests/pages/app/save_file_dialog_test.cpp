#include <sys/inotify.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "pages/app/qt_services.h"
#include "pages/support/page_fixture.h"
#include "support/temp_dir.h"

namespace twk {

class SaveFileDialogTest : public QObject {
    Q_OBJECT

    // The names of files in folder that were opened since the watch began.
    static QStringList openedFiles(int watch) {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0 && !(event->mask & IN_ISDIR)) names << QString(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private slots:
    // Typing a folder into the name box lists it; a file whose type could only be guessed from
    // its bytes (such as /proc/kmsg, which never answers a read) is never opened for that.
    void aFolderTypedIntoTheNameIsListedWithoutOpeningItsFiles() {
        test::TempDir start, listed;
        test::writeFile(listed.file("notes"), "words with no suffix to name their type\n");
        test::writeFile(listed.file("run"), "#!/bin/sh\necho hello\n");
        test::writeFile(listed.file("old.csv"), "User;Time\r\n");
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, listed.path().c_str(), IN_OPEN) >= 0);

        bool listedAll = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            auto* model = dialog->findChild<QFileSystemModel*>();
            QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
            QTest::keyClicks(dialog->findChild<QLineEdit*>("fileNameEdit"),
                             QString::fromStdString(listed.path()) + "/");
            listedAll = QTest::qWaitFor([&] {
                for (const QList<QVariant>& signal : loaded)
                    if (signal.at(0).toString() == QString::fromStdString(listed.path()))
                        return true;
                return false;
            });
            dialog->reject();
        });
        QtSaveFileDialog dialog;
        QCOMPARE(dialog.askSaveFile("CSV file ", "*.csv", start.path()), std::string());
        QVERIFY2(listedAll, "the dialog never listed the typed folder");
        const QStringList opened = openedFiles(watch);
        ::close(watch);
        QVERIFY2(opened.isEmpty(), qPrintable("opened: " + opened.join(", ")));
    }
};

}  // namespace twk

TWK_PAGE_TEST_MAIN(twk::SaveFileDialogTest)
#include "save_file_dialog_test.moc"
