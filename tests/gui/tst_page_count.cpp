// The page-count pass: the information helper is run for each added file in turn and its count
// goes into the file's "Page" cell. The real helper is used for real PDFs; a small script in its
// place gives the information files of the edge cases and a helper that hangs.
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QtTest>

#include "message_log.h"
#include "process.h"
#include "run_folder.h"
#include "scripted_dialogs.h"
#include "test_environment.h"

namespace {

// Stands in for the helper: copies the input file as the information file, so each input holds
// the information its test needs; an input whose name contains "unopenable" gets a folder in
// place of the information file. FAKE_DELAY slows each run down.
const char* const kFakeHelper =
    "#!/bin/sh\n"
    "case \"$1\" in *unopenable*) mkdir -p \"$4\"; exit 0;; esac\n"
    "sleep \"${FAKE_DELAY:-0}\"\n"
    "cp \"$1\" \"$4\"\n";

QStringList column(const QTableWidget& table, int col) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QTableWidgetItem* item = table.item(row, col);
        texts << (item ? item->text() : QStringLiteral("<none>"));
    }
    return texts;
}

QString writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text);
    }
    return path;
}

}  // namespace

class PageCountTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void realHelper_countsThreePdfsInOrderAndEnablesControls();
    void missingHelper_leavesPageEmptyAndPassGoesOn();
    void markerCases_giveDigitsAfterMarker_data();
    void markerCases_giveDigitsAfterMarker();
    void informationFile_isDeletedSoNoStaleCountReachesNextFile();
    void unopenableInformationFile_isLoggedAndPassGoesOn();
    void sortingDuringPass_writesEachCountToItsFilesRow();
    void debugLog_holdsCommandInformationFileAndPageNumberLines();
    void secondAdd_startsNewPassWithNewLists();
    void closingWindowDuringPass_stopsHelperQuietly();
    void hangingHelper_isStoppedAtItsTimeLimitAndPassGoesOn();

  private:
    void installFakeHelper();
    QString infoFile() const;
    void addFiles(const QStringList& paths);
    void waitForPassEnd();
    QStringList paneLines() const;
    QTableWidget* fileList() const;

    QString dir;
    std::shared_ptr<DialogScript> script;
    std::unique_ptr<Process> window;
};

void PageCountTest::init() {
    dir = TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("page-count"));
    qunsetenv("FAKE_DELAY");
    script = std::make_shared<DialogScript>();
    window = std::make_unique<Process>(std::make_unique<ScriptedDialogs>(script));
}

void PageCountTest::cleanup() {
    window.reset();
}

void PageCountTest::installFakeHelper() {
    TestEnvironment::writeStandInProgram(QStringLiteral("Dossaly.dll"), kFakeHelper);
}

QString PageCountTest::infoFile() const {
    return runFolderFile(QStringLiteral("fileinfo.txt"));
}

QTableWidget* PageCountTest::fileList() const {
    return window->findChild<QTableWidget*>(QStringLiteral("inputfiletableWidget"));
}

void PageCountTest::addFiles(const QStringList& paths) {
    script->fileListAnswers << paths;
    window->findChild<QPushButton*>(QStringLiteral("openfileButton"))->click();
}

void PageCountTest::waitForPassEnd() {
    QTRY_VERIFY_WITH_TIMEOUT(!window->pageCountPassRunning(), 30000);
}

QStringList PageCountTest::paneLines() const {
    return window->findChild<QTextEdit*>(QStringLiteral("textEdit_process"))
        ->toPlainText()
        .split(QLatin1Char('\n'));
}

void PageCountTest::realHelper_countsThreePdfsInOrderAndEnablesControls() {
    QVERIFY2(QFile::exists(RELETTRA_RUN_DIR "/Dossaly.dll"),
             "the information helper has not been built");
    TestEnvironment::linkBuiltPrograms({"Dossaly.dll"});

    QStringList files;
    for (int pages : {3, 1, 2}) {
        files << dir + QStringLiteral("/doc%1.pdf").arg(pages);
        writeMinimalPdf(files.last(), pages);
    }
    addFiles(files);
    QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("removeButton"))->isEnabled());
    waitForPassEnd();

    QCOMPARE(column(*fileList(), 1), QStringList({"3", "1", "2"}));
    QCOMPARE(paneLines(), QStringList({"Loading " + files[0], "Loading " + files[1],
                                       "Loading " + files[2], "Finished."}));
    for (const char* name : {"openfileButton", "removeButton", "removeallButton", "pushButton_up",
                             "pushButton_down", "pushButton_option"}) {
        QVERIFY2(window->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled(), name);
    }
    QCOMPARE(fileList()->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(!QFile::exists(infoFile()));
    QVERIFY(!QFile::exists(dir + QStringLiteral("/fileinfo.txt")));
}

void PageCountTest::missingHelper_leavesPageEmptyAndPassGoesOn() {
    const QString a = writeText(dir + QStringLiteral("/a.pdf"), "NumberOfPages: 4\n");
    const QString b = writeText(dir + QStringLiteral("/b.pdf"), "NumberOfPages: 5\n");
    addFiles({a, b});
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 1), QStringList({"", ""}));
    // The pane names the path the helper was looked for at, beside the running program.
    const QString notStarted =
        QStringLiteral("Could not start %1/Dossaly.dll").arg(TestEnvironment::programDir());
    const QStringList lines = paneLines();
    QCOMPARE(lines.size(), 5);
    QVERIFY2(lines.at(0).startsWith(notStarted), qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), "Loading " + a);
    QVERIFY2(lines.at(2).startsWith(notStarted), qPrintable(lines.at(2)));
    QCOMPARE(lines.mid(3), QStringList({"Loading " + b, "Finished."}));
    QVERIFY(window->findChild<QPushButton*>(QStringLiteral("openfileButton"))->isEnabled());
}

void PageCountTest::markerCases_giveDigitsAfterMarker_data() {
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12 and a line break")
        << QByteArray("Title: t\nNumberOfPages: 12\nPDF: 1.7\n") << QStringLiteral("12");
    QTest::newRow("7, a blank and a word")
        << QByteArray("NumberOfPages: 7 word") << QStringLiteral("7");
    QTest::newRow("no marker") << QByteArray("Pages: 7\n") << QString();
}

void PageCountTest::markerCases_giveDigitsAfterMarker() {
    QFETCH(QByteArray, info);
    QFETCH(QString, expected);
    installFakeHelper();
    const QString input = writeText(dir + QStringLiteral("/in.pdf"), info);
    addFiles({input});
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 1), QStringList({expected}));
}

void PageCountTest::informationFile_isDeletedSoNoStaleCountReachesNextFile() {
    installFakeHelper();
    const QString counted = writeText(dir + QStringLiteral("/counted.pdf"), "NumberOfPages: 9\n");
    // Not a file the helper can copy: it writes no information file.
    const QString missing = dir + QStringLiteral("/missing.pdf");
    addFiles({counted, missing});
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 1), QStringList({"9", ""}));
    QVERIFY(!QFile::exists(infoFile()));
}

void PageCountTest::unopenableInformationFile_isLoggedAndPassGoesOn() {
    installFakeHelper();
    const QString counted = writeText(dir + QStringLiteral("/counted.pdf"), "NumberOfPages: 3\n");
    const QString unopenable = writeText(dir + QStringLiteral("/unopenable.pdf"), "x");
    const QString after = writeText(dir + QStringLiteral("/after.pdf"), "NumberOfPages: 5\n");
    QTest::ignoreMessage(QtDebugMsg, "No information file.");
    addFiles({counted, unopenable, after});
    waitForPassEnd();
    // What the helper left in place of the file does not keep the next file from its count.
    QCOMPARE(column(*fileList(), 1), QStringList({"3", "", "5"}));
    QCOMPARE(paneLines(), QStringList({"Loading " + counted, "Loading " + unopenable,
                                       "Loading " + after, "Finished."}));
    QVERIFY(window->findChild<QPushButton*>(QStringLiteral("openfileButton"))->isEnabled());
}

void PageCountTest::sortingDuringPass_writesEachCountToItsFilesRow() {
    installFakeHelper();
    qputenv("FAKE_DELAY", "0.3");
    const QString a = writeText(dir + QStringLiteral("/a.pdf"), "NumberOfPages: 1\n");
    const QString b = writeText(dir + QStringLiteral("/b.pdf"), "NumberOfPages: 2\n");
    const QString c = writeText(dir + QStringLiteral("/c.pdf"), "NumberOfPages: 3\n");
    addFiles({a, b, c});
    // A header click while the first run is still going turns the list upside down.
    fileList()->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    QCOMPARE(column(*fileList(), 0), QStringList({c, b, a}));
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 0), QStringList({c, b, a}));
    QCOMPARE(column(*fileList(), 1), QStringList({"3", "2", "1"}));
}

void PageCountTest::debugLog_holdsCommandInformationFileAndPageNumberLines() {
    installFakeHelper();
    const QString input = writeText(dir + QStringLiteral("/in.pdf"), "NumberOfPages: 12\n");
    startMessageLog();
    const QtMessageHandler previous = qInstallMessageHandler(logMessage);
    addFiles({input});
    QTRY_VERIFY_WITH_TIMEOUT(!window->pageCountPassRunning(), 30000);
    qInstallMessageHandler(previous);

    const QString expected = QStringLiteral(
                                 "Debug: \"%1/Dossaly.dll\" \"%2\" -getinfo -outfile \"%3\"\n"
                                 "Debug: Information file is: \"%3\"\n"
                                 "Debug: Page number is:12.\n")
                                 .arg(TestEnvironment::programDir(), input, infoFile());
    QCOMPARE(readTextFile(messageLogPath()), expected);
}

void PageCountTest::secondAdd_startsNewPassWithNewLists() {
    installFakeHelper();
    const QString a = writeText(dir + QStringLiteral("/a.pdf"), "NumberOfPages: 1\n");
    const QString b = writeText(dir + QStringLiteral("/b.pdf"), "NumberOfPages: 2\n");
    addFiles({a});
    waitForPassEnd();
    addFiles({b});
    waitForPassEnd();
    QCOMPARE(column(*fileList(), 1), QStringList({"1", "2"}));
    QCOMPARE(paneLines(), QStringList({"Loading " + a, "Finished.", "Loading " + b, "Finished."}));
}

void PageCountTest::closingWindowDuringPass_stopsHelperQuietly() {
    installFakeHelper();
    qputenv("FAKE_DELAY", "5");
    const QString a = writeText(dir + QStringLiteral("/a.pdf"), "NumberOfPages: 1\n");
    addFiles({a});
    QVERIFY(window->pageCountPassRunning());
    QTest::qWait(200);
    window.reset();
    QVERIFY(!QFile::exists(infoFile()));
}

void PageCountTest::hangingHelper_isStoppedAtItsTimeLimitAndPassGoesOn() {
    installFakeHelper();
    qputenv("FAKE_DELAY", "30");
    window->setPageCountTimeLimit(1000);
    const QString a = writeText(dir + QStringLiteral("/a.pdf"), "NumberOfPages: 1\n");
    const QString b = writeText(dir + QStringLiteral("/b.pdf"), "NumberOfPages: 2\n");
    QElapsedTimer clock;
    clock.start();
    addFiles({a, b});
    QTRY_VERIFY_WITH_TIMEOUT(!window->pageCountPassRunning(), 10000);
    QVERIFY2(clock.elapsed() < 10000, "each run ends at its limit, not when the helper does");

    QCOMPARE(column(*fileList(), 1), QStringList({"", ""}));
    const QString stopped =
        QStringLiteral("%1/Dossaly.dll did not finish within 1 seconds and was stopped.")
            .arg(TestEnvironment::programDir());
    QCOMPARE(paneLines(),
             QStringList({stopped, "Loading " + a, stopped, "Loading " + b, "Finished."}));
    // The list is free again, and a batch is no longer refused: it goes on to ask for the
    // missing output folder.
    for (const char* name : {"openfileButton", "removeButton", "pushButton_option"}) {
        QVERIFY2(window->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled(), name);
    }
    window->findChild<QPushButton*>(QStringLiteral("pushButton_textsome_replace"))->click();
    QCOMPARE(script->captions, QStringList({"Add File", "Invalid order"}));
    QVERIFY(!QFile::exists(infoFile()));
}

RELETTRA_GUI_TEST_MAIN(PageCountTest)
#include "tst_page_count.moc"
