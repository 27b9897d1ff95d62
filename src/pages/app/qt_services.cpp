#include "pages/app/qt_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "pages/app/qt_text.h"

namespace twk {
namespace {

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer QtMessageBoxes::show(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons) {
    QMessageBox box(
        iconOf(icon), qs(title), qs(text),
        buttons == MsgButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
        QApplication::activeWindow());
    // Texts come from files and servers too (version.dat, report paths): never markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

std::string QtSaveFileDialog::askSaveFile(const std::string& filterName, const std::string& pattern,
                                          const std::string& startFolder) {
    const QString filter = QStringLiteral("%1(%2)").arg(qs(filterName), qs(pattern));
    return local8(QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
                                               qs(startFolder), filter, nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

std::string QtFolderPicker::browseFolder(const std::string& title) {
    return local8(QDir::toNativeSeparators(QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), qs(title), QString(), QFileDialog::ShowDirsOnly)));
}

void QtUrlOpener::openUrl(const std::string& url) {
    if (isOpenableAddress(url)) QDesktopServices::openUrl(QUrl(qs(url)));
}

}  // namespace twk
