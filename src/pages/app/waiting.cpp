#include "pages/app/waiting.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <memory>

namespace twk {

void runWhileWaiting(const std::function<void()>& work) {
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    // Queued to the GUI thread: a call that ends before the loop runs still ends it.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    QApplication::restoreOverrideCursor();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace twk
