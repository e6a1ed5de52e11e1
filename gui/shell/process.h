#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

#include "about_dialog.h"
#include "batch_progress.h"
#include "batch_types.h"
#include "child_run.h"
#include "user_dialogs.h"

class BatchRunner;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QCloseEvent;
class QKeyEvent;
class QTableWidget;
class QTableWidgetItem;
class QTextBrowser;
class QTimer;
class Rules;

namespace Ui {
class Process;
}

// The main window: the file list with its buttons, the output folder, the rule tables of the two
// tabs and the progress pane. Its slots are spread over several source files by topic: the file
// list, the rule tables, the page-count pass and the batches.
class Process : public QWidget {
    Q_OBJECT

  public:
    // The window asks the user and the desktop through the given interface; by default through
    // Qt's own dialogs.
    explicit Process(std::unique_ptr<UserDialogs> dialogs = nullptr);
    ~Process() override;

    // Whether the page-count pass is running (the file-list controls are disabled meanwhile).
    bool pageCountPassRunning() const { return pageCountRunning; }
    // Each run of the information helper is stopped after this long (the batches' limit unless
    // set otherwise).
    void setPageCountTimeLimit(int milliseconds);

    // Lists the files as Add does and reads their page counts (the files of the command line).
    void addFiles(const QStringList& paths);

  public slots:
    void enteroption();
    void setopenfile();
    void setremove();
    void setopenselected();
    void setremoveall();
    void setoutputfile();
    void setabout();
    void setabout1();

  protected slots:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Asks before a running batch is stopped by closing the window; keeps the window's place.
    void closeEvent(QCloseEvent* event) override;

  public slots:
    void dopreview();
    void setpreview();
    void getpdfpage();
    void setrowup();
    void setrowdown();
    void setpdfpage();
    void setopenimagefile();
    void on_pushButton_text_add_clicked();
    void on_pushButton_text_remove_clicked();
    void on_pushButton__text_clear_clicked();
    void on_pushButton_textall_replace_clicked();
    void on_pushButton_textsome_replace_clicked();
    void on_pushButton_help_clicked();
    void on_pushButton_removetextsome_clicked();
    void on_pushButton_clicked();

    // The batches: the position batch's rules from the visible position table, and the content
    // batch's entry point (the rules of the current content table, taken as each file starts).
    FileRules settextsomerule();
    FileRules setimagesomerule();
    void setallintorule();

  private:
    void centreOnPrimaryScreen();
    void makeConnections();
    void setUpFileListLook();
    void setUpRuleTableMenus();
    void paintBackground();
    // The window's place, its splitter, its tabs and the output folder, as the last run left them.
    void restoreLook();
    void connectLookSaving();
    // The user guide in a window of the program itself, for when no browser can be started.
    void showUserGuideHere(const QString& guide);

    // File list.
    void startAdding();
    void addFileRow(const QString& path);
    void finishAdding();
    void setFileListControlsEnabled(bool enabled);
    void connectSelectionHook();
    void disconnectSelectionHook();
    void swapRows(int row, int otherRow);

    // Rule picker (process_picker.cpp).
    void createPicker();

    // Rule tables.
    QTableWidget* visiblePositionTable() const;
    QTableWidget* currentContentTable() const;

    // Page-count pass.
    void createInformationRun();
    void startInformationRun(int position);
    void stopPageCountQuietly();
    void writePageCell(int position, const QString& pageCount);

    // Batches (process_batches.cpp): starting one, the checks before each file, and what the
    // window shows of the runner's reports.
    enum class BatchFlow { Position, Content };
    void createBatchRunners();
    void stopBatchQuietly();
    void startBatch(BatchFlow flow);
    bool batchFileReady();
    bool batchInputReady();
    bool runFolderReady();
    FileRules contentRulesForFile();
    void onBatchFileStarted(int index, const QString& inputPath);
    void onBatchFileFinished(const FileResult& result);
    void onBatchHalted(int index);
    void showBatchProgress();
    void finishBatch();
    void writeResultCell(int index, const QString& result, const QString& details,
                         bool warning = false);
    // Locks or frees the controls a batch must not meet changed (process_filelist.cpp).
    void setBatchControlsEnabled(bool enabled);
    void appendToPane(const QString& message);

    std::unique_ptr<UserDialogs> dialogs;
    std::unique_ptr<Ui::Process> ui;
    AboutDialog aboutDialog;
    // The rule picker, made once by the constructor and kept for the window's whole life.
    Rules* rules = nullptr;
    QTimer* previewTimer = nullptr;

    QAction* actionAddFiles = nullptr;
    QAction* actionViewPdf = nullptr;
    QAction* actionDeleteSelectedItems = nullptr;
    QAction* actionDeleteAllItems = nullptr;
    QAction* actionDeleteTextsomeRules = nullptr;
    QAction* actionDeleteImagesomeRules = nullptr;
    QAction* actionDeleteTextallRules = nullptr;
    QAction* actionDeleteImageallRules = nullptr;

    // Page-count pass: the files of the last add or drop, in the order added, the row each went
    // into (as decimal text), and the path item of each row, which is what the result is written
    // by, since sorting can move rows while the pass runs.
    QStringList pendingPaths;
    QStringList pendingRows;
    QList<QTableWidgetItem*> pendingItems;
    int pendingPosition = 0;
    ChildRun* informationRun = nullptr;
    int pageCountTimeLimitMs = ChildRun::kDefaultTimeLimitMs;
    bool pageCountRunning = false;

    // The batch of the "Replace" buttons: its runner, which batch it is, the path item of each
    // of its files (a result goes to the row that holds the item, wherever sorting moved it),
    // and the file it started from.
    BatchRunner* batchRunner = nullptr;
    BatchFlow batchFlow = BatchFlow::Position;
    QList<QTableWidgetItem*> batchItems;
    int batchStartIndex = 0;
    // The window's controls are locked between the first file and "Conversion Finished.";
    // sortingBeforeBatch keeps whether the file list sorted by header before.
    bool batchControlsLocked = false;
    bool sortingBeforeBatch = false;
    // A batch halted by a failed check is taken up again at its file (haltedAt) only while the
    // file list is as it was: fileListChanges counts rows added, removed, moved or given another
    // file since the window was made.
    int haltedAt = -1;
    int listChangesAtHalt = 0;
    int fileListChanges = 0;
    BatchProgress batchProgress;
    QTextBrowser* guideWindow = nullptr;
};
