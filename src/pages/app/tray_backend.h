#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QMenu;
class QAction;

namespace twk {

// The desktop's notification area. The tray icon talks to it only through this seam, so tests
// run without a desktop.
class TrayBackend : public QObject {
    Q_OBJECT
public:
    virtual bool isAvailable() const = 0;
    // Shows the icon; an icon already shown stays the one icon.
    virtual void add(const QIcon& icon, const QString& tip) = 0;
    virtual void modify(const QIcon& icon, const QString& tip) = 0;
    virtual void remove() = 0;
    virtual bool isShown() const = 0;
    // The icon's own menu, which the desktop shows on a context click: hosts that show only a
    // menu the program exports to them show it too.
    virtual void setMenu(QMenu* menu) = 0;
    // A message from the icon, for desktops without a notification service.
    virtual void showMessage(const QString& title, const QString& body) = 0;

signals:
    // An action on the icon, as its tray code.
    void activated(qint16 code);
    // The user clicked the last message shown.
    void messageClicked();

protected:
    // Reports what the desktop says happened on the icon; actions that have no code are dropped.
    void report(QSystemTrayIcon::ActivationReason reason);
};

class QtTrayBackend : public TrayBackend {
    Q_OBJECT
public:
    QtTrayBackend();
    bool isAvailable() const override;
    void add(const QIcon& icon, const QString& tip) override;
    void modify(const QIcon& icon, const QString& tip) override;
    void remove() override;
    bool isShown() const override;
    void setMenu(QMenu* menu) override;
    void showMessage(const QString& title, const QString& body) override;

private:
    QSystemTrayIcon icon_;
};

}  // namespace twk
