#include <QApplication>

#include "pages/app/application.h"
#include "pages/app/frm_main.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.brindle.tarnwick"));
    // The program lives in the tray: closing windows only hides them.
    app.setQuitOnLastWindowClosed(false);

    twk::Application tarnwick;
    twk::startUp(tarnwick.context());
    if (!tarnwick.navigator().main().Form_Load()) return 0;
    tarnwick.navigator().showMain();
    return app.exec();
}
