#pragma once

#include <QObject>
#include <QString>

#include "helper_command.h"

class QProcess;

// One child program of a batch at a time (the engine or the page helper). It owns its process,
// reads everything the program prints (both channels merged) and reports by signal; it reports
// a program that cannot be started from the event loop, so that a failure inside start() never
// nests the batch's next step into the call that started this one.
class ChildRun : public QObject {
    Q_OBJECT

  public:
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

  signals:
    // The program ended; `output` is what it printed.
    void finished(int exitCode, const QString& output);
    // The program could not be started (missing, not executable); `program` is its full path.
    void failedToStart(const QString& program, const QString& reason);

  private:
    void release();

    QProcess* process = nullptr;
    bool active = false;
};
