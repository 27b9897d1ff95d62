#include "pages/app/qt_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
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

// Qt's own word in the language of its translations, which keep the file types' names under the
// icon provider or, in older translations, under the file dialog.
QString qtWord(const char* english) {
    for (const char* context : {"QAbstractFileIconProvider", "QFileDialog"}) {
        const QString word = QCoreApplication::translate(context, english);
        if (word != QLatin1String(english)) return word;
    }
    return QString::fromLatin1(english);
}

// Names a file's icon and type by the file's kind and name alone. The usual provider guesses a
// type from a file's first bytes, so a dialog listing a folder opens every file in it: one such
// as /proc/kmsg never answers a read, and the program would hang.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return qtWord("Folder");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? qtWord("File") : qtWord("%1 File").arg(suffix);
    }
};

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
    NameOnlyIconProvider icons;  // outlives the dialog, which uses it to the end
    QFileDialog dialog(QApplication::activeWindow(), QString(), qs(startFolder), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog, whose icons are the provider's: a desktop's dialog may read files to
    // guess their types.
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return local8(dialog.selectedFiles().front());
}

std::string QtFolderPicker::browseFolder(const std::string& title) {
    return local8(QDir::toNativeSeparators(QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), qs(title), QString(), QFileDialog::ShowDirsOnly)));
}

void QtUrlOpener::openUrl(const std::string& url) {
    if (isOpenableAddress(url)) QDesktopServices::openUrl(QUrl(qs(url)));
}

}  // namespace twk
