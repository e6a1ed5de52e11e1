// The file list: adding and dropping files, size texts, removing, moving rows, opening a file and
// the output folder. No information helper lies in the working directory here, so each page-count
// pass ends at once with empty "Page" cells.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QtTest>

#include "process.h"
#include "scripted_dialogs.h"
#include "settings_store.h"
#include "test_environment.h"

namespace {

QStringList column(const QTableWidget& table, int col) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QTableWidgetItem* item = table.item(row, col);
        texts << (item ? item->text() : QStringLiteral("<none>"));
    }
    return texts;
}

void selectRows(QTableWidget& table, const QList<int>& rows) {
    table.clearSelection();
    for (int row : rows) {
        table.selectionModel()->select(table.model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

QMimeData* uriList(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << (path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    }
    data->setUrls(urls);
    return data;
}

}  // namespace

class FileListTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void add_fillsPathAndSizeTextsAndNoCellForEmptyFile();
    void add_sameFileTwice_listsItTwice();
    void add_cancelled_changesNothing();
    void add_startsInDotThenInFolderOfFirstChosenFile();
    void add_disablesControlsUntilPassEnds();
    void drop_addsOnlyPdfFilesAfterExistingRows();
    void drop_ofFolderSkipsItAndKeepsOtherFiles();
    void dragEnter_isRefusedWhilePageCountPassRuns();
    void dragEnter_withoutUriList_isRefused();
    void remove_removesSelectedRows1And3();
    void removeAll_byContextMenu_thenAddWorksAsOnFreshWindow();
    void up_onRow0_andDown_onLastRow_doNothing();
    void upAndDown_moveWholeRowsAndSelection();
    void up_afterHeaderSort_keepsTheUsersOrder();
    void viewPdf_opensCurrentRowAsLocalFileUrl();
    void outputFolder_choiceFillsFieldAndCancelEmptiesIt();

  private:
    QString makeFile(const QString& name, qint64 size);
    void addFiles(const QStringList& paths);
    void waitForPassEnd();
    QTableWidget* fileList() const;
    QPushButton* button(const char* name) const;

    QString dir;
    std::shared_ptr<DialogScript> script;
    std::unique_ptr<Process> window;
};

void FileListTest::init() {
    dir = TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("file-list"));
    script = std::make_shared<DialogScript>();
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
}

void FileListTest::cleanup() {
    window.reset();
}

QString FileListTest::makeFile(const QString& name, qint64 size) {
    const QString path = dir + QLatin1Char('/') + name;
    writeFileOfSize(path, size);
    return path;
}

QTableWidget* FileListTest::fileList() const {
    return window->findChild<QTableWidget*>(QStringLiteral("inputfiletableWidget"));
}

QPushButton* FileListTest::button(const char* name) const {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

void FileListTest::waitForPassEnd() {
    QTRY_VERIFY(!window->pageCountPassRunning());
}

void FileListTest::addFiles(const QStringList& paths) {
    script->fileListAnswers << paths;
    button("openfileButton")->click();
    waitForPassEnd();
}

void FileListTest::add_fillsPathAndSizeTextsAndNoCellForEmptyFile() {
    const QString big = makeFile(QStringLiteral("big.pdf"), 2000000);
    const QString mebi = makeFile(QStringLiteral("mebi.pdf"), 1048576);
    const QString empty = makeFile(QStringLiteral("empty.pdf"), 0);
    addFiles({big, mebi, empty});
    QCOMPARE(column(*fileList(), 0), QStringList({big, mebi, empty}));
    QCOMPARE(column(*fileList(), 2),
             QStringList({"         2.000 MB", "      1048.576 KB", "<none>"}));
    QCOMPARE(script->captions.first(), QStringLiteral("Add File"));
    QCOMPARE(script->filters.first(), QStringLiteral("PDF File(*.pdf);;ALL files(*.*)"));
    // Row 0 is current and selected after adding.
    QCOMPARE(fileList()->currentRow(), 0);
    QVERIFY(fileList()->item(0, 0)->isSelected());
}

void FileListTest::add_sameFileTwice_listsItTwice() {
    const QString file = makeFile(QStringLiteral("twice.pdf"), 10);
    addFiles({file});
    addFiles({file});
    QCOMPARE(column(*fileList(), 0), QStringList({file, file}));
}

void FileListTest::add_cancelled_changesNothing() {
    script->fileListAnswers << QStringList();
    button("openfileButton")->click();
    QCOMPARE(fileList()->rowCount(), 0);
    QVERIFY(!window->pageCountPassRunning());
    QVERIFY(button("openfileButton")->isEnabled());
    QVERIFY(window->findChild<QTextEdit*>("textEdit_process")->toPlainText().isEmpty());
}

void FileListTest::add_startsInDotThenInFolderOfFirstChosenFile() {
    QDir().mkpath(dir + QStringLiteral("/in"));
    const QString file = makeFile(QStringLiteral("in/a.pdf"), 10);
    addFiles({file});
    addFiles({});
    QCOMPARE(script->startDirs, QStringList({QStringLiteral("."), dir + QStringLiteral("/in")}));
    QCOMPARE(readSetting(SettingsKeys::inputDir), dir + QStringLiteral("/in"));
    // In the per-user configuration folder, not in the working directory.
    QCOMPARE(settingsFilePath(),
             TestEnvironment::instance()->configDir() + QStringLiteral("/relettra/setting.ini"));
    QVERIFY(QFile::exists(settingsFilePath()));
    QVERIFY(!QFile::exists(dir + QStringLiteral("/setting.ini")));
}

void FileListTest::add_disablesControlsUntilPassEnds() {
    const QString file = makeFile(QStringLiteral("a.pdf"), 10);
    script->fileListAnswers << QStringList{file};
    button("openfileButton")->click();
    const char* controls[] = {"openfileButton", "removeButton",    "removeallButton",
                              "pushButton_up",  "pushButton_down", "pushButton_option"};
    QVERIFY(window->pageCountPassRunning());
    for (const char* name : controls) {
        QVERIFY2(!button(name)->isEnabled(), name);
    }
    QCOMPARE(fileList()->contextMenuPolicy(), Qt::NoContextMenu);
    waitForPassEnd();
    for (const char* name : controls) {
        QVERIFY2(button(name)->isEnabled(), name);
    }
    QCOMPARE(fileList()->contextMenuPolicy(), Qt::ActionsContextMenu);
}

void FileListTest::drop_addsOnlyPdfFilesAfterExistingRows() {
    const QString first = makeFile(QStringLiteral("first.pdf"), 10);
    addFiles({first});
    const QString a = makeFile(QStringLiteral("a.PDF"), 10);
    const QString text = makeFile(QStringLiteral("notes.txt"), 10);
    const QString b = makeFile(QStringLiteral("b.pdf"), 10);

    std::unique_ptr<QMimeData> data(uriList({a, text, b}));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 0), QStringList({first, a, b}));
}

void FileListTest::drop_ofFolderSkipsItAndKeepsOtherFiles() {
    QDir().mkpath(dir + QStringLiteral("/folder.pdf"));
    const QString a = makeFile(QStringLiteral("a.pdf"), 10);
    std::unique_ptr<QMimeData> data(uriList({dir + QStringLiteral("/folder.pdf"), a}));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 0), QStringList({a}));
    QVERIFY(window->findChild<QTextEdit*>("textEdit_process")->toPlainText().endsWith("Finished."));
}

void FileListTest::dragEnter_isRefusedWhilePageCountPassRuns() {
    const QString a = makeFile(QStringLiteral("a.pdf"), 10);
    script->fileListAnswers << QStringList{a};
    button("openfileButton")->click();
    QVERIFY(window->pageCountPassRunning());

    std::unique_ptr<QMimeData> data(uriList({a}));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(!enter.isAccepted());
    // A drop that arrives anyway adds nothing.
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    QCOMPARE(fileList()->rowCount(), 1);
    waitForPassEnd();
    QCOMPARE(fileList()->rowCount(), 1);
}

void FileListTest::dragEnter_withoutUriList_isRefused() {
    QMimeData data;
    data.setText(QStringLiteral("plain text"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(!enter.isAccepted());
}

void FileListTest::remove_removesSelectedRows1And3() {
    QStringList files;
    for (int i = 0; i < 5; ++i) {
        files << makeFile(QStringLiteral("f%1.pdf").arg(i), 10);
    }
    addFiles(files);
    selectRows(*fileList(), {1, 3});
    button("removeButton")->click();
    QCOMPARE(column(*fileList(), 0), QStringList({files[0], files[2], files[4]}));
}

void FileListTest::removeAll_byContextMenu_thenAddWorksAsOnFreshWindow() {
    const QString a = makeFile(QStringLiteral("a.pdf"), 10);
    const QString b = makeFile(QStringLiteral("b.pdf"), 2000000);
    addFiles({a, b});
    const QList<QAction*> actions = fileList()->actions();
    QCOMPARE(actions.at(3)->text(), QStringLiteral("Delete All Item(s)"));
    actions.at(3)->trigger();
    QCOMPARE(fileList()->rowCount(), 0);

    addFiles({b});
    QCOMPARE(column(*fileList(), 0), QStringList({b}));
    QCOMPARE(column(*fileList(), 2), QStringList({"         2.000 MB"}));
    QCOMPARE(fileList()->currentRow(), 0);
}

void FileListTest::up_onRow0_andDown_onLastRow_doNothing() {
    const QStringList files = {makeFile(QStringLiteral("a.pdf"), 10),
                               makeFile(QStringLiteral("b.pdf"), 20),
                               makeFile(QStringLiteral("c.pdf"), 30)};
    addFiles(files);
    selectRows(*fileList(), {0});
    button("pushButton_up")->click();
    QCOMPARE(column(*fileList(), 0), files);
    selectRows(*fileList(), {2});
    button("pushButton_down")->click();
    QCOMPARE(column(*fileList(), 0), files);
}

void FileListTest::upAndDown_moveWholeRowsAndSelection() {
    const QString a = makeFile(QStringLiteral("a.pdf"), 1000);
    const QString b = makeFile(QStringLiteral("b.pdf"), 2000);
    const QString c = makeFile(QStringLiteral("c.pdf"), 3000);
    addFiles({a, b, c});
    selectRows(*fileList(), {2});
    button("pushButton_up")->click();
    QCOMPARE(column(*fileList(), 0), QStringList({a, c, b}));
    QCOMPARE(column(*fileList(), 2).at(1), QStringLiteral("         3.000 KB"));
    QVERIFY(fileList()->item(1, 0)->isSelected());
    QVERIFY(!fileList()->item(2, 0)->isSelected());

    selectRows(*fileList(), {0});
    button("pushButton_down")->click();
    QCOMPARE(column(*fileList(), 0), QStringList({c, a, b}));
    QCOMPARE(column(*fileList(), 2),
             QStringList({"         3.000 KB", "         1.000 KB", "         2.000 KB"}));

    // Rows 0 and 1 moved up exchange: row 0 stays at the edge, row 1 goes up.
    selectRows(*fileList(), {0, 1});
    button("pushButton_up")->click();
    QCOMPARE(column(*fileList(), 0), QStringList({a, c, b}));
}

void FileListTest::up_afterHeaderSort_keepsTheUsersOrder() {
    const QString a = makeFile(QStringLiteral("a.pdf"), 10);
    const QString b = makeFile(QStringLiteral("b.pdf"), 10);
    const QString c = makeFile(QStringLiteral("c.pdf"), 10);
    addFiles({b, c, a});
    // Added files keep the order in which they were added.
    QCOMPARE(column(*fileList(), 0), QStringList({b, c, a}));
    fileList()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    QCOMPARE(column(*fileList(), 0), QStringList({a, b, c}));
    selectRows(*fileList(), {2});
    button("pushButton_up")->click();
    QCOMPARE(column(*fileList(), 0), QStringList({a, c, b}));
}

void FileListTest::viewPdf_opensCurrentRowAsLocalFileUrl() {
    const QString a = makeFile(QStringLiteral("a.pdf"), 10);
    const QString b = makeFile(QStringLiteral("b b.pdf"), 10);
    addFiles({a, b});
    fileList()->setCurrentCell(1, 0);
    fileList()->actions().at(1)->trigger();
    QCOMPARE(script->openedUrls, QList<QUrl>({QUrl::fromLocalFile(b)}));
}

void FileListTest::outputFolder_choiceFillsFieldAndCancelEmptiesIt() {
    auto* edit = window->findChild<QLineEdit*>(QStringLiteral("outputfolderEdit"));
    script->directoryAnswers << dir << QString();
    button("outputButton")->click();
    QCOMPARE(edit->text(), dir);
    QCOMPARE(readSetting(SettingsKeys::outputDir), dir);
    button("outputButton")->click();
    QCOMPARE(script->captions, QStringList({"Save", "Save"}));
    QCOMPARE(script->startDirs, QStringList({".", dir}));
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(readSetting(SettingsKeys::outputDir), QString());
}

RELETTRA_GUI_TEST_MAIN(FileListTest)
#include "tst_file_list.moc"
