#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

namespace twk {

// One Tarnwick per user. The first start holds a lock in the user's private instance folder and
// listens on a socket beside it; a later start finds the lock held, asks the running one to show
// its main window and ends, so a hidden Tarnwick can be reached even with no tray host. A crashed
// instance leaves neither stuck.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // True when this process is the one that runs (also when the user has no private folder to
    // hold a lock in); false once it has asked the running one to come forward.
    bool claim();

signals:
    // A later start asked for the main window.
    void showRequested();

private:
    void listen(const QString& socketPath);
    void answer();

    bool claimed_ = false;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

}  // namespace twk
