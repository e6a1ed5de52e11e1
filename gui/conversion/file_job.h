#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "batch_types.h"
#include "rule_kind.h"

class ChildRun;
class PageLayerRequest;

// One file's way through a batch, in the order it takes: its page count read by the information
// helper (when the front end does not know it), its text layers written by the page helper and
// each page searched for the content rules (when it has any), then the engine's text-rule run and
// its image-rule run over the result. Each step is started by the completion of the one before
// it, on the thread of the event loop; one child program runs at a time. The job's files (rule
// files, text layers, the information file) lie in its own folder, under fixed names.
class FileJob : public QObject {
    Q_OBJECT

  public:
    FileJob(const QString& folder, QObject* parent = nullptr);
    // A program still running is stopped, and reports nothing.
    ~FileJob() override;

    void setProgramFolder(const QString& folder) { programFolder = folder; }
    void setTimeLimit(int milliseconds);

    // Starts the file; `outputPath` is where its output goes.
    void start(int index, const BatchFile& file, const QString& outputPath, const FileRules& rules);
    // Stops the file without reporting it: its program is stopped and what an engine run stopped
    // halfway left of its output is removed.
    void cancel();
    bool isActive() const { return stage != Stage::Idle; }

  signals:
    // A line for the progress pane.
    void message(int index, const QString& text);
    void pageAnalysed(int index, int page, int pageCount);
    void engineStarted(int index);
    // The file is done with, whatever became of it; the job is free again.
    void finished(const FileResult& result);

  private:
    enum class Stage { Idle, PageCount, Splitting, Analysing, TextEngine, ImageEngine };

    void readPageCount();
    void onPageCountRead(int exitCode, bool crashed, const QString& output);
    void afterPageCount();
    // The content steps: the page helper's run, one page step, a page's text layer read, its
    // analysis, and the start of the engine runs once every page is done.
    void splitPage();
    void onPagesWritten(int exitCode, bool crashed, const QString& output);
    void getAlltheText();
    void gethtm();
    void getTextPosition(const QString& layer);
    void replacealltext();

    void startEngine(RuleKind kind);
    void onEngineFinished(int exitCode, bool crashed, const QString& output);
    void judgeEngineRuns();
    void onRunFinished(int exitCode, bool crashed, const QString& output);
    void onFailedToStart(const QString& program, const QString& reason);
    void onTimedOut(const QString& program, int timeLimitMs);

    // Ends the file as failed, from the event loop, so that a long row of such files does not
    // nest one step inside the other.
    void fail(const QString& reason);
    void finish();

    QString folderFile(const QString& name) const;
    // How many text layers the page helper wrote into the folder.
    int writtenPageLayers() const;
    QString ruleFile(RuleKind kind) const;
    QString engineInput(RuleKind kind) const;
    QString engineOutput(RuleKind kind) const;
    bool writeEngineRules(RuleKind kind);
    void removeStageFile();

    const QString folder;
    QString programFolder;
    ChildRun* run = nullptr;
    PageLayerRequest* pageRequest = nullptr;
    Stage stage = Stage::Idle;

    BatchFile file;
    FileRules rules;
    FileResult result;
    QElapsedTimer clock;
    int currentPage = 1;
    int unreadPages = 0;
    // Rule lines of the content rules, found page by page.
    QStringList foundTextLines;
    QStringList foundImageLines;
    RuleReport textReport;
    RuleReport imageReport;
    QString engineProblem;
};
