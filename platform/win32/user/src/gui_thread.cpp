// The Qt application, the hand-over of work to the GUI thread and the object that wakes its loop.
#include "gui_thread.h"

#include <QApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "message_queue.h"
#include "window.h"
#include "window_widget.h"

namespace platform::user {
namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::User + 0x51);
const QEvent::Type kRepaintEvent = static_cast<QEvent::Type>(QEvent::User + 0x52);

// Made on any thread, read on the GUI thread. Qt's event queue orders the two with locks the thread
// checker cannot see, so the release and acquire on `made` state that ordering in our own code.
struct RepaintEvent : QEvent {
    RepaintEvent(HWND w, const QRect& r) : QEvent(kRepaintEvent), hwnd(w), rect(r) {
        made.store(true, std::memory_order_release);
    }
    HWND hwnd;
    QRect rect;
    std::atomic<bool> made{false};
};

struct WaitingTask {
    const std::function<void()>* task;
    bool done = false;
};

struct Tasks {
    std::mutex lock; // guards queue and each entry's done
    std::condition_variable finished;
    std::deque<WaitingTask*> queue;
};

Tasks& tasks() {
    static Tasks t;
    return t;
}

// Lives on the GUI thread; receives wake-ups and repaint requests posted from any thread.
class Pump : public QObject {
public:
    Pump() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] { serveOutsideRetrieval(); });
    }
    bool event(QEvent* e) override {
        if (e->type() == kWakeEvent) {
            wakePending.store(false);
            serveOutsideRetrieval();
            return true;
        }
        if (e->type() == kRepaintEvent) {
            auto* r = static_cast<RepaintEvent*>(e);
            r->made.load(std::memory_order_acquire);
            if (WindowPtr window = findWindow(r->hwnd); window && window->widget)
                window->widget->update(r->rect);
            return true;
        }
        return QObject::event(e);
    }
    QTimer timer_;
    std::atomic<bool> wakePending{false};
};

std::atomic<Pump*> pump{nullptr};

} // namespace

bool ensureApplication() {
    if (pump.load())
        return true;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "orvanel";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the process
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        QThread::currentThread() != QCoreApplication::instance()->thread())
        return false;
    pump.store(new Pump);
    return true;
}

bool onGuiThread() {
    return pump.load() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

bool runOnGuiThread(const std::function<void()>& task) {
    if (onGuiThread()) {
        task();
        return true;
    }
    if (!pump.load())
        return false;
    Tasks& t = tasks();
    WaitingTask entry{&task};
    std::unique_lock guard(t.lock);
    t.queue.push_back(&entry);
    guard.unlock();
    wakeGuiThread();
    guard.lock();
    t.finished.wait(guard, [&] { return entry.done; });
    return true;
}

void serveWaitingTasks() {
    Tasks& t = tasks();
    std::unique_lock guard(t.lock);
    while (!t.queue.empty()) {
        WaitingTask* entry = t.queue.front();
        t.queue.pop_front();
        guard.unlock();
        (*entry->task)();
        guard.lock();
        entry->done = true;
        t.finished.notify_all();
    }
}

void wakeGuiThread() {
    Pump* p = pump.load();
    if (p && !p->wakePending.exchange(true))
        QCoreApplication::postEvent(p, new QEvent(kWakeEvent));
}

void wakeGuiThreadIn(int64_t ms) {
    Pump* p = pump.load();
    if (!p)
        return;
    if (ms < 0)
        p->timer_.stop();
    else
        p->timer_.start(static_cast<int>(std::min<int64_t>(ms, 1 << 30)));
}

void postRepaint(HWND hwnd, const QRect& rect) {
    if (Pump* p = pump.load())
        QCoreApplication::postEvent(p, new RepaintEvent(hwnd, rect));
}

} // namespace platform::user
