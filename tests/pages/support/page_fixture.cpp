#include "pages/support/page_fixture.h"

#include <QEnterEvent>
#include <filesystem>

#include "core/settings/regedit.h"
#include "pages/app/controls.h"

namespace twk::test {

void ScriptedTrayBackend::add(const QIcon&, const QString& tip) {
    ++adds;
    this->tip = tip;
    shown = true;
}

PageEnvironment::PageEnvironment(HelperLibrary* mail)
    : context(platform::Roots{store.path(), "/proc", "/sys"}, program.path(), userFiles.path(),
              userSettings.path(),
              Services{messages, saveFile, folders, urls, mail ? *mail : helper, clock}) {
    context.updateUrl.clear();
    // The single-instance lock lives in the runtime folder: each test gets its own.
    std::filesystem::permissions(program.path(), std::filesystem::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(program.path()));
    context.adminToken = [this] { return platform::AdminToken{admin, {}}; };
}

void PageEnvironment::addLanguage(const std::string& name, const std::string& content) {
    writeFile(program.file("languages/" + name + ".twl"), content);
}

void PageEnvironment::addShippedLanguages() {
    std::filesystem::create_directories(program.file("languages"));
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TWK_SOURCE_DIR) +
                                                                 "/resources/languages")) {
        if (entry.path().extension() == ".twl")
            std::filesystem::copy_file(
                entry.path(), program.file("languages/" + entry.path().filename().string()),
                std::filesystem::copy_options::overwrite_existing);
    }
}

void PageEnvironment::startUp() { twk::startUp(context); }

void hover(QWidget* widget) {
    const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
    QEnterEvent enter(local, widget->mapToGlobal(local), widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &enter);
    QTest::mouseMove(widget, local.toPoint());
}

void leave(QWidget* widget) {
    QEvent leaveEvent(QEvent::Leave);
    QApplication::sendEvent(widget, &leaveEvent);
}

void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

void activate(QWidget* window) {
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qFatal("%s did not become active", qPrintable(window->objectName()));
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) qFatal("no control has the keyboard focus");
    QTest::keyClick(focused, key, modifiers);
}

// The focused control by its design name: an inner part, such as a list's entry line, answers for
// the control it belongs to.
QString focusedName() {
    for (QWidget* part = QApplication::focusWidget(); part; part = part->parentWidget())
        if (!part->objectName().isEmpty() && !part->objectName().startsWith(QLatin1String("qt_")))
            return part->objectName();
    return {};
}

QStringList tabOrder() {
    const QString start = focusedName();
    QStringList visited{start};
    for (int step = 0; step < 40; ++step) {
        press(Qt::Key_Tab);
        if (focusedName() == start) break;
        visited << focusedName();
    }
    return visited;
}

QStringList rowCaptions(QWidget* page, const char* name) {
    QMap<int, QString> byIndex;
    for (Caption* label : page->findChildren<Caption*>(name))
        byIndex[label->property("Index").toInt()] =
            label->toolTip().isEmpty() ? label->text() : label->toolTip();
    return byIndex.values();
}

}  // namespace twk::test
