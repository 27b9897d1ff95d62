#pragma once

#include <QIcon>
#include <QObject>

class QMenu;
class QWidget;

namespace twk {

class TrayBackend;

// The program's one icon in the notification area: keeps its picture, tool tip and menu, and
// raises OnIcon for each action on the icon. Only the icon raises it: presses on a window are
// never taken for tray notifications.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(TrayBackend& backend);

    QWidget* hwnd = nullptr;
    QIcon Icon;
    QString ToolTipText;

    void Add();
    void Modify();
    void Delete();
    // The menu the desktop shows for the icon, its default action drawn as the default item.
    void setMenu(QMenu* menu);

    // What the icon shows: kept from Add so Modify and Delete address the same icon.
    QWidget* owner() const { return addedOwner_; }
    QString shownTip() const { return shownTip_; }

signals:
    void OnIcon(qint16 code);

private:
    TrayBackend& backend_;
    QWidget* addedOwner_ = nullptr;
    QString shownTip_;
};

}  // namespace twk
