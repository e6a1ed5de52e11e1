// The headless batch command with the real engine and helpers on kit files: the same outputs as
// the window's batches, inputs from folders and standard input, the report, failures, refused
// rules, a stop in the middle and a job split into shards run at once.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <csignal>

#include "batch_test_window.h"
#include "rule_file_lines.h"
#include "test_environment.h"

namespace {

const QString kCommand = QStringLiteral(RELETTRA_RUN_DIR "/relettra-batch");
const QString kKit = QStringLiteral(RELETTRA_TEST_DATA_DIR "/kit/");

struct CommandRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CommandRun runCommand(const QString& dir, const QStringList& arguments,
                      const QByteArray& input = {}) {
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(kCommand, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QList<QJsonObject> reportEntries(const QByteArray& report) {
    QList<QJsonObject> entries;
    for (const QByteArray& line : report.split('\n')) {
        if (!line.isEmpty()) {
            entries << QJsonDocument::fromJson(line).object();
        }
    }
    return entries;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString copyKit(const QString& kitName, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::copy(kKit + kitName, path);
    return path;
}

QStringList folderFiles(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

class BatchCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void commandAndWindow_writeTheSameBytes_data();
    void commandAndWindow_writeTheSameBytes();
    void foldersAndStandardInput_giveEveryPdfInStableOrder();
    void failingFiles_areFailedInTheReport_othersSucceed();
    void unfitRules_areRefusedBeforeAnyFile_data();
    void unfitRules_areRefusedBeforeAnyFile();
    void stoppedRun_leavesNoPartialOutput_andSkipExistingDoesTheRest();
    void shardsRunAtOnce_writeWhatOneRunWrites();
};

void BatchCommandTest::commandAndWindow_writeTheSameBytes_data() {
    QTest::addColumn<bool>("content");
    QTest::newRow("content batch") << true;
    QTest::newRow("position batch") << false;
}

void BatchCommandTest::commandAndWindow_writeTheSameBytes() {
    QFETCH(bool, content);
    BatchWindow w(QStringLiteral("same-bytes"), {"Dossaly.dll", "Tewkrun.dll", "Hevrit.dll"});
    const QStringList inputs = {copyKit("multipage.pdf", w.dir + "/in/multi.pdf"),
                                copyKit("std14_helvetica.pdf", w.dir + "/in/invoice.pdf")};
    QStringList rules;
    if (content) {
        addContentRule(w, {"STAMPME", "MARKED"});
        rules = QStringList{"--find", "STAMPME", "--replace", "MARKED"};
    } else {
        const QString position = kitPositionText("std14_helvetica.pdf", 1, "Invoice", 12);
        appendRow(*w.child<QTableWidget>("tableWidget_textsome"), {position, "Invoice", "Bill"});
        QVERIFY(writeRuleFile(w.dir + "/rules.txt",
                              {textRuleLine(positionFields(position), "Invoice", "Bill")}));
        rules = QStringList{"--positions", w.dir + "/rules.txt"};
    }
    w.addFiles(inputs);
    w.runBatch(content ? "pushButton_textall_replace" : "pushButton_textsome_replace");
    QCOMPARE(w.resultCells(), QStringList({"Succeed", "Succeed"}));

    const CommandRun run = runCommand(w.dir, rules + QStringList{"-o", "cli", "-q"} + inputs);
    QCOMPARE(run.exitCode, 0);
    for (const char* name : {"multi.pdf", "invoice.pdf"}) {
        const QByteArray window = fileBytes(w.dir + "/out/" + name);
        QVERIFY(!window.isEmpty());
        QVERIFY2(window == fileBytes(w.dir + "/cli/" + name), name);
    }
}

void BatchCommandTest::foldersAndStandardInput_giveEveryPdfInStableOrder() {
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir("inputs");
    copyKit("multipage.pdf", dir + "/tree/b.pdf");
    copyKit("multipage.pdf", dir + "/tree/sub/A.PDF");
    copyKit("multipage.pdf", dir + "/tree/a.pdf");
    QFile(dir + "/tree/notes.txt").open(QIODevice::WriteOnly);
    const QString listed = copyKit("std14_helvetica.pdf", dir + "/elsewhere/listed.pdf");
    // The file named twice (in the folder and on standard input) is run once, at its first place.
    const CommandRun run = runCommand(dir,
                                      {"--find", "STAMPME", "--replace", "X", "-o", "out", "-j",
                                       "2", "-q", "--report", "-", "tree", "-"},
                                      (listed + "\n\n" + dir + "/tree/a.pdf\n").toUtf8());
    QCOMPARE(run.exitCode, 0);
    QStringList order;
    for (const QJsonObject& entry : reportEntries(run.out)) {
        order << entry["input"].toString();
    }
    order.sort();  // two at once finish in any order; the outputs' names tell the places
    QCOMPARE(order, QStringList({listed, "tree/a.pdf", "tree/b.pdf", "tree/sub/A.PDF"}));
    QCOMPARE(folderFiles(dir + "/out"), QStringList({"A.pdf", "a.pdf", "b.pdf", "listed.pdf"}));
}

void BatchCommandTest::failingFiles_areFailedInTheReport_othersSucceed() {
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir("failing");
    const QString good = copyKit("multipage.pdf", dir + "/good.pdf");
    const QString locked = copyKit("encrypted_no_modify.pdf", dir + "/locked.pdf");
    const QString damaged = dir + "/damaged.pdf";
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(fileBytes(good).left(400));
    file.close();

    const CommandRun run = runCommand(dir, {"--find", "STAMPME", "--replace", "MARKED", "-o", "out",
                                            "--report", "-", "-j", "1", good, damaged, locked});
    QCOMPARE(run.exitCode, 1);
    const QList<QJsonObject> entries = reportEntries(run.out);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0]["outcome"].toString(), "succeeded");
    QCOMPARE(entries[0]["pages"].toInt(), 3);
    const QJsonArray rules = entries[0]["rules"].toArray();
    QCOMPARE(rules.size(), 6);
    QCOMPARE(rules[0].toObject()["result"].toString(), "own font");
    QVERIFY(rules[0].toObject()["rule"].toString().endsWith(":STAMPME:MARKED"));
    for (int i : {1, 2}) {
        QCOMPARE(entries[i]["outcome"].toString(), "failed");
        QVERIFY(!entries[i]["reason"].toString().isEmpty());
        QCOMPARE(entries[i]["output"].toString(), QString());
    }
    QCOMPARE(folderFiles(dir + "/out"), QStringList({"good.pdf"}));
    QVERIFY(run.err.contains("failed: " + damaged.toUtf8()));
}

void BatchCommandTest::unfitRules_areRefusedBeforeAnyFile_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("fileText");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("said");
    QTest::newRow("find text cut by a colon")
        << "content.txt" << QByteArray("ok\tfine\r\na:b\tc\r\n")
        << QStringList{"--content", "content.txt"} << QByteArray("content.txt:2:");
    QTest::newRow("position not a number")
        << "rules.txt" << QByteArray("1-x-20-30-40:a:b\n")
        << QStringList{"--positions", "rules.txt"} << QByteArray("rules.txt:1:");
    QTest::newRow("content line without a tab")
        << "content.txt" << QByteArray("find\treplace\nno tab here\n")
        << QStringList{"--content", "content.txt"} << QByteArray("content.txt:2:");
    QTest::newRow("image that is not there")
        << "images.txt" << QByteArray("STAMPME\tmissing.png\t40\t20\n")
        << QStringList{"--content-images", "images.txt"} << QByteArray("missing.png");
    QTest::newRow("image path with a bracket")
        << "images.txt" << QByteArray("1:10:20:(a)b.png):40:20\n")
        << QStringList{"--position-images", "images.txt"} << QByteArray("images.txt:1:");
    QTest::newRow("find without replace")
        << "" << QByteArray() << QStringList{"--find", "a"} << QByteArray("--replace");
}

void BatchCommandTest::unfitRules_areRefusedBeforeAnyFile() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, fileText);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, said);
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir("refused");
    if (!fileName.isEmpty()) {
        QFile file(dir + "/" + fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fileText);
    }
    const QString input = copyKit("multipage.pdf", dir + "/in.pdf");
    const CommandRun run = runCommand(dir, options + QStringList{"-o", "out", input});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(said), run.err.constData());
    QVERIFY(!QDir(dir + "/out").exists());
}

void BatchCommandTest::stoppedRun_leavesNoPartialOutput_andSkipExistingDoesTheRest() {
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir("stopped");
    QStringList inputs;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        inputs << copyKit("multipage.pdf", dir + "/in/" + name + ".pdf");
    }
    const QStringList arguments{"--find", "STAMPME", "--replace", "MARKED", "-o",
                                "out",    "-j",      "1",         "-q",     "in"};
    QProcess first;
    first.setWorkingDirectory(dir);
    first.start(kCommand, arguments + QStringList{"--report", "first.jsonl"});
    QTRY_VERIFY_WITH_TIMEOUT(!fileBytes(dir + "/first.jsonl").isEmpty(), 60000);
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(30000));
    QCOMPARE(first.exitCode(), 130);
    const QStringList written = folderFiles(dir + "/out");
    QVERIFY(!written.isEmpty() && written.size() < 5);
    QVERIFY(written.filter(".part").isEmpty());
    for (const QString& output : written) {
        QCOMPARE(QProcess::execute("qpdf", {"--check", dir + "/out/" + output}), 0);
    }
    const QByteArray firstOutput = fileBytes(dir + "/out/a.pdf");

    const CommandRun rest =
        runCommand(dir, arguments + QStringList{"--skip-existing", "--report", "-"});
    QCOMPARE(rest.exitCode, 0);
    int skipped = 0;
    for (const QJsonObject& entry : reportEntries(rest.out)) {
        skipped += entry["outcome"].toString() == "skipped";
    }
    QCOMPARE(skipped, written.size());
    QCOMPARE(reportEntries(rest.out).size(), 5);
    QCOMPARE(folderFiles(dir + "/out").size(), 5);
    QCOMPARE(fileBytes(dir + "/out/a.pdf"), firstOutput);
}

void BatchCommandTest::shardsRunAtOnce_writeWhatOneRunWrites() {
    const QString dir = TestEnvironment::instance()->enterFreshWorkDir("shards");
    int number = 0;
    for (const char* kit : {"multipage.pdf", "std14_helvetica.pdf", "groff_memo.pdf",
                            "libreoffice_letter.pdf", "cairo_text.pdf"}) {
        copyKit(kit, dir + QStringLiteral("/in/%1/report.pdf").arg(number++));
    }
    const QStringList rules{"--find", "the", "--replace", "THE", "-q", "in"};
    QCOMPARE(runCommand(dir, rules + QStringList{"-o", "single", "--overwrite"}).exitCode, 0);
    // Files of one name that run at once still take free names of their own.
    QCOMPARE(runCommand(dir, rules + QStringList{"-o", "free", "-j", "3"}).exitCode, 0);
    QCOMPARE(folderFiles(dir + "/free").size(), 5);
    // GNU Parallel runs both shards at once, as two hosts or two tasks of a job array would.
    const QString shardCommand =
        QStringLiteral("%1 --shard {}/2 -o sharded --find the --replace THE -q in").arg(kCommand);
    QProcess parallel;
    parallel.setWorkingDirectory(dir);
    parallel.start("parallel", {"--will-cite", "-j", "2", shardCommand, ":::", "0", "1"});
    QVERIFY(parallel.waitForFinished(120000));
    QCOMPARE(parallel.exitCode(), 0);
    const QStringList names = folderFiles(dir + "/single");
    QCOMPARE(names, QStringList({"report-0.pdf", "report-1.pdf", "report-2.pdf", "report-3.pdf",
                                 "report.pdf"}));
    QCOMPARE(folderFiles(dir + "/sharded"), names);
    for (const QString& name : names) {
        QVERIFY2(fileBytes(dir + "/single/" + name) == fileBytes(dir + "/sharded/" + name),
                 qPrintable(name));
    }
}

RELETTRA_GUI_TEST_MAIN(BatchCommandTest)
#include "tst_batch_command.moc"
