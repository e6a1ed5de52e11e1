#pragma once

#include <QFile>
#include <QObject>
#include <QStringList>
#include <memory>

#include "batch_options.h"
#include "batch_types.h"

class BatchRunner;
class ProgressDisplay;
class StopRequests;

// The job of one `relettra-batch` run: it reads the inputs and the rules, checks them all before
// any file is touched, then has the batch runner do the files and writes the report and the
// progress as they finish. Asked to stop (Ctrl-C, SIGTERM), it stops the files under way
// (their unfinished outputs are removed), completes the report and ends.
class HeadlessBatch : public QObject {
    Q_OBJECT

  public:
    // Exit codes.
    static constexpr int kAllSucceeded = 0;
    static constexpr int kSomeFailed = 1;
    static constexpr int kBadCommand = 2;
    static constexpr int kInterrupted = 130;

    explicit HeadlessBatch(QObject* parent = nullptr);
    ~HeadlessBatch() override;

    // Reads and checks everything; prints each problem on standard error. kBadCommand when
    // something is wrong, -1 when the job is ready to start.
    int prepare(const BatchOptions& options);
    // Starts the job; done() reports its end.
    void start();

  signals:
    void done(int exitCode);

  private:
    void onFileFinished(const FileResult& result);
    void onFinished();
    void onStopRequested();
    void writeReport(const QByteArray& line);
    void end(int exitCode);

    BatchOptions options;
    FileRules rules;
    QStringList inputs;
    QStringList outputs;  // planned outputs, or empty names for the first free one
    QStringList skippedInputs;
    QStringList skippedOutputs;
    QFile report;
    BatchRunner* runner = nullptr;
    StopRequests* stops = nullptr;
    std::unique_ptr<ProgressDisplay> progress;
    bool anyFailed = false;
    bool ended = false;
};
