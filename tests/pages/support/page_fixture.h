#pragma once

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <memory>
#include <vector>

#include "core/app/app_context.h"
#include "pages/app/tray_backend.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

namespace twk::test {

// A notification area that counts icons and keeps the icon's menu.
class ScriptedTrayBackend : public TrayBackend {
public:
    bool isAvailable() const override { return available; }
    void add(const QIcon&, const QString& tip) override;
    void modify(const QIcon&, const QString& tip) override { this->tip = tip; }
    void remove() override { shown = false; }
    bool isShown() const override { return shown; }
    void setMenu(QMenu* menu) override { this->menu = menu; }
    void showMessage(const QString& title, const QString& body) override {
        messages.push_back(title + '\n' + body);
    }

    // What the desktop reports for an action on the icon.
    void activate(QSystemTrayIcon::ActivationReason reason) { report(reason); }

    bool available = true;
    bool shown = false;
    int adds = 0;
    QString tip;
    QMenu* menu = nullptr;
    QStringList messages;
};

// Scripted services, a private settings store and a program folder with language files: what
// every page test needs.
class PageEnvironment {
public:
    // The pages mail through mail when given (the real helper library, for end-to-end tests),
    // through the scripted helper otherwise.
    explicit PageEnvironment(HelperLibrary* mail = nullptr);

    // Writes languages/<name>.twl into the program folder.
    void addLanguage(const std::string& name, const std::string& content);
    // Copies the shipped language files into the program folder.
    void addShippedLanguages();
    // Runs the start procedure's steps (without the update check's network).
    void startUp();

    TempDir program, userFiles, userSettings, store;
    ScriptedMessageBoxes messages;
    ScriptedSaveFileDialog saveFile;
    ScriptedFolderPicker folders;
    ScriptedUrlOpener urls;
    ScriptedHelperLibrary helper;
    FixedClock clock;
    ScriptedTrayBackend tray;
    AppContext context;
    bool admin = true;
};

// Moves the pointer onto a widget and off it again, delivering enter and leave.
void hover(QWidget* widget);
void leave(QWidget* widget);
void click(QWidget* widget);

// Keyboard use: the window shown and active, so that keys reach it; a key pressed on whatever has
// the focus; the names of the controls Tab visits, starting from the focused one, once round.
void activate(QWidget* window);
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
QString focusedName();
QStringList tabOrder();

// The protection page's drive rows: the whole captions (a shortened one's tool tip) of the labels
// named name, in row order.
QStringList rowCaptions(QWidget* page, const char* name);

// Before the QApplication: the offscreen platform when there is no display.
inline void chooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace twk::test

// A Qt Test main that picks the offscreen platform when there is no display.
#define TWK_PAGE_TEST_MAIN(TestClass)               \
    int main(int argc, char** argv) {               \
        twk::test::chooseOffscreenWithoutDisplay(); \
        QApplication app(argc, argv);               \
        app.setQuitOnLastWindowClosed(false);       \
        TestClass test;                             \
        return QTest::qExec(&test, argc, argv);     \
    }
