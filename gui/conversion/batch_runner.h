#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

#include "batch_types.h"

class FileJob;

// Runs a batch: its files in their order, as many at once as it has jobs (one by default, as the
// window runs them), each through its child programs (see FileJob), and reports by signal. Both
// front ends drive it: the window fills it from its tables and shows its signals in the pane and
// the file list; the headless command from its command line. It needs no widgets.
//
// Before each file it asks the front end's check whether the file may start (the window checks
// its output folder); a check that says no halts the batch there, once the files under way are
// done. The rules of a file are taken from the front end's rule source as the file starts.
class BatchRunner : public QObject {
    Q_OBJECT

  public:
    using RuleSource = std::function<FileRules(int index)>;
    using FileCheck = std::function<bool(int index)>;

    explicit BatchRunner(QObject* parent = nullptr);
    // Files under way are stopped (see cancel()).
    ~BatchRunner() override;

    // Where the child programs are.
    void setProgramFolder(const QString& folder) { programFolder = folder; }
    // Where outputs without a path of their own go.
    void setOutputFolder(const QString& folder) { outputFolder = folder; }
    // How many files run at once, 1 or more; the jobs' folders lie in the private run folder
    // (the run folder itself for a single job).
    void setJobs(int count);
    // How long a child program may run before it is stopped and its file fails.
    void setTimeLimit(int milliseconds) { timeLimitMs = milliseconds; }
    void setRuleSource(RuleSource source) { ruleSource = std::move(source); }
    void setFileCheck(FileCheck check) { fileCheck = std::move(check); }

    // Runs `files` from index `from` on. False, and nothing starts, while a batch is running or
    // when the private run folder cannot be made.
    bool start(const QList<BatchFile>& files, int from = 0);
    // Stops every file under way without reporting it: programs are stopped, unfinished outputs
    // removed. The batch then is over and reports nothing more.
    void cancel();
    bool isRunning() const { return running; }

  signals:
    void fileStarted(int index, const QString& inputPath);
    // A line for the progress pane about the file at `index`.
    void message(int index, const QString& text);
    void pageAnalysed(int index, int page, int pageCount);
    void engineStarted(int index);
    void fileFinished(const FileResult& result);
    // The check said no to the file at `index`; the batch stopped before it.
    void halted(int index);
    // Every file is done.
    void finished();

  private:
    void launch();
    void onJobFinished(const FileResult& result);
    QString outputFor(const BatchFile& file);
    bool makeJobs();

    QString programFolder;
    QString outputFolder;
    int jobCount = 1;
    int timeLimitMs = 0;
    RuleSource ruleSource;
    FileCheck fileCheck;

    QList<FileJob*> jobs;
    QList<BatchFile> batchFiles;
    // The outputs of this batch so far: a free name is free of these too, so that files under
    // way at once never take the same one.
    QSet<QString> takenOutputs;
    int next = 0;
    bool running = false;
    bool halting = false;
};
