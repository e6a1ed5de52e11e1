#pragma once

#include <QObject>
#include <QString>

#include "helper_command.h"

class QProcess;
class QTimer;

// One child program at a time (the engine or a helper, for a batch or the rule picker), never
// waited for on the calling thread. It owns its process, reads everything the program prints
// (both channels merged) and reports by signal; it reports a program that cannot be started from
// the event loop, so that a failure inside start() never nests the caller's next step into the
// call that started this one. A program that runs longer than its time limit is stopped and
// reported, so that a hanging program cannot hold a batch (and the window's locked controls) for
// ever.
class ChildRun : public QObject {
    Q_OBJECT

  public:
    // Ten minutes: far beyond what the engine or the page helper needs for a document of
    // thousands of pages.
    static constexpr int kDefaultTimeLimitMs = 10 * 60 * 1000;

    explicit ChildRun(QObject* parent = nullptr);
    // A program still running is stopped without reporting anything.
    ~ChildRun() override;

    // Starts the command (the debug log shows its command line); the previous process is
    // released.
    void start(const HelperCommand& command);
    // Stops a running program without reporting anything.
    void stop();
    // Started and not yet reported.
    bool isActive() const { return active; }
    void setTimeLimit(int milliseconds) { timeLimitMs = milliseconds; }

  signals:
    // The program ended by itself; `crashed` when it did not exit normally; `output` is what it
    // printed.
    void finished(int exitCode, bool crashed, const QString& output);
    // The program could not be started (missing, not executable); `program` is its full path.
    void failedToStart(const QString& program, const QString& reason);
    // The program ran beyond the time limit and was stopped.
    void timedOut(const QString& program, int timeLimitMs);

  private:
    void release();

    QProcess* process = nullptr;
    QTimer* limit = nullptr;
    int timeLimitMs = kDefaultTimeLimitMs;
    bool active = false;
};
