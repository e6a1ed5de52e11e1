// The console on POSIX systems: a terminal test on the descriptor, and SIGINT and SIGTERM turned
// into a signal of the event loop through a pipe (the only thing a handler may safely do is
// write to it).
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

#include "console.h"

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

}  // namespace

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

class StopRequests::Watch {
  public:
    explicit Watch(StopRequests* owner) {
        if (::pipe(stopPipe) != 0) {
            return;
        }
        for (int end : stopPipe) {
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
            ::fcntl(end, F_SETFL, O_NONBLOCK);
        }
        notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, owner);
        QObject::connect(notifier, &QSocketNotifier::activated, owner, [owner]() {
            char bytes[16];
            while (::read(stopPipe[0], bytes, sizeof bytes) > 0) {
            }
            emit owner->stopRequested();
        });
        struct sigaction action = {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &action, &previousInterrupt);
        ::sigaction(SIGTERM, &action, &previousTerminate);
        installed = true;
    }

    ~Watch() {
        if (installed) {
            ::sigaction(SIGINT, &previousInterrupt, nullptr);
            ::sigaction(SIGTERM, &previousTerminate, nullptr);
        }
        delete notifier;
        for (int& end : stopPipe) {
            if (end >= 0) {
                ::close(end);
                end = -1;
            }
        }
    }

  private:
    QSocketNotifier* notifier = nullptr;
    struct sigaction previousInterrupt = {};
    struct sigaction previousTerminate = {};
    bool installed = false;
};

StopRequests::StopRequests(QObject* parent) : QObject(parent), watch(new Watch(this)) {}

StopRequests::~StopRequests() {
    delete watch;
}
