#pragma once

#include <QObject>

// What a console program needs of its platform: whether standard error is a terminal, and the
// requests to stop (Ctrl-C, a termination signal) delivered on the thread of the event loop.
bool standardErrorIsTerminal();

// Emits stopRequested() from the event loop each time the program is asked to stop. One object
// at a time; while it lives, the request no longer ends the program by itself.
class StopRequests : public QObject {
    Q_OBJECT

  public:
    explicit StopRequests(QObject* parent = nullptr);
    ~StopRequests() override;

  signals:
    void stopRequested();

  private:
    class Watch;
    Watch* watch = nullptr;
};
