#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

#include "about_dialog.h"
#include "batch_state.h"
#include "user_dialogs.h"

class ChildRun;
class PageLayerRequest;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QProcess;
class QTableWidget;
class QTableWidgetItem;
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

    // Position batch: the rule file of the visible position table, written before each file.
    void settextsomerule();
    void setimagesomerule();
    // Content batch, in the order a file passes through: one file step, the page helper's run,
    // its completion, one page step, the page's text layer read, its analysis, the engine run.
    void setallintorule();
    QStringList splitPage();
    void setlink();
    void getAlltheText();
    void gethtm();
    void getTextPosition(QString sxml);
    void replacealltext();

  private:
    void centreOnPrimaryScreen();
    void makeConnections();
    void setUpFileListLook();
    void setUpRuleTableMenus();
    void paintBackground();

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
    void startInformationRun(int position);
    void onInformationRunFailedToStart(QProcess* run);
    void writePageCell(int position, const QString& pageCount);

    // Batches (gui/conversion/process_batches.cpp).
    void createBatchRunners();
    void stopBatchQuietly();
    bool batchStepAllowed();
    bool batchInputReady(const QString& emptyListText);
    bool runFolderReady();
    void beginBatchFile(BatchFlow flow);
    void startBatchEngine(const QString& ruleFile);
    void onBatchRunFinished(int exitCode, bool crashed, const QString& output);
    void onPageHelperFinished(int exitCode, bool crashed, const QString& output);
    void onBatchRunFailedToStart(const QString& program, const QString& reason);
    void onBatchRunTimedOut(const QString& program, int timeLimitMs);
    void failBatchFile(const QString& reason);
    void writeResultCell(const QString& result, const QString& details);
    void continueBatch();
    void haltBatch();
    void finishBatch();
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
    QProcess* informationProcess = nullptr;
    bool pageCountRunning = false;

    // The batch of the "Replace" buttons, its child programs and its text-layer reads.
    BatchState batch;
    // Rows added, removed, moved or given another file since the window was made.
    int fileListChanges = 0;
    ChildRun* batchRun = nullptr;
    PageLayerRequest* pageRequest = nullptr;
};
