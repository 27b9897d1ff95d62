#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <optional>

class QMenu;
class QAction;
class QWidget;

namespace twk {

class TrayBackend;

// The program's one icon in the notification area: keeps its picture and tool tip, raises OnIcon
// for each action on the icon and shows the tray menu.
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
    // Decodes a mouse-down of the owner window given in twips; raises OnIcon for a tray
    // notification (Y exactly 0) and does nothing for an ordinary mouse-down.
    void CallEvent(float& X, float& Y);
    // Shows popMenu (at the pointer unless a position is given) with defaultMenu drawn as the
    // default item; returns when the menu has closed.
    void CallPopupMenu(QWidget* window, QMenu* popMenu, int flags = 0,
                       std::optional<QPoint> at = std::nullopt, QAction* defaultMenu = nullptr);

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

// Twips per pixel of the primary screen's horizontal axis (15 at 96 dpi).
double screenTwipsPerPixel();

}  // namespace twk
