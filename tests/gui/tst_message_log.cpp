// The message log: its line forms, its place in the data directory, and that each start of the
// program begins a new log.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include "message_log.h"
#include "test_environment.h"

namespace {

// Starts the program with its data directory in dataDir and waits until it has logged its start
// line; returns its process id, or 0 when it did not get that far.
qint64 startProgramAndWaitForLog(QProcess& program, const QString& dataDir,
                                 const QString& workDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataDir);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(workDir);
    program.start(QStringLiteral(RELETTRA_PROGRAM), QStringList());
    if (!program.waitForStarted(10000)) {
        return 0;
    }
    const QString log = dataDir + QStringLiteral("/splitterlog2.txt");
    const QString startLine = QStringLiteral("started as process %1 ").arg(program.processId());
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (readTextFile(log).contains(startLine)) {
            return program.processId();
        }
        QTest::qWait(50);
    }
    return 0;
}

void stopProgram(QProcess& program) {
    program.kill();
    program.waitForFinished(10000);
}

}  // namespace

class MessageLogTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void handler_writesOneLinePerMessageWithItsTypePrefix();
    void startMessageLog_createsDataDirectoryAndRemovesOldLog();
    void handler_withUnwritableDataDirectory_losesMessageSilently();
    void twoStartsInARow_secondLogHoldsOnlyItsOwnLines();
};

void MessageLogTest::init() {
    qputenv("XDG_DATA_HOME", TestEnvironment::instance()->dataDir().toLocal8Bit());
}

void MessageLogTest::handler_writesOneLinePerMessageWithItsTypePrefix() {
    startMessageLog();
    const QtMessageHandler previous = qInstallMessageHandler(logMessage);
    qDebug("alpha");
    qWarning("beta %d", 2);
    qCritical("gamma");
    qDebug("Page number is:%d.\n", 5);
    qInstallMessageHandler(previous);
    QCOMPARE(messageLogPath(), TestEnvironment::instance()->dataDir() + "/splitterlog2.txt");
    QCOMPARE(readTextFile(messageLogPath()),
             QStringLiteral("Debug: alpha\nWarning: beta 2\nCritical: gamma\n"
                            "Debug: Page number is:5.\n"));
}

void MessageLogTest::startMessageLog_createsDataDirectoryAndRemovesOldLog() {
    const QString dataDir = TestEnvironment::instance()->root() + QStringLiteral("/fresh/share");
    QVERIFY(!QDir(dataDir).exists());
    qputenv("XDG_DATA_HOME", dataDir.toLocal8Bit());
    startMessageLog();
    QVERIFY(QDir(dataDir).exists());

    const QtMessageHandler previous = qInstallMessageHandler(logMessage);
    qDebug("first run");
    qInstallMessageHandler(previous);
    QVERIFY(QFile::exists(dataDir + QStringLiteral("/splitterlog2.txt")));
    startMessageLog();
    QVERIFY(!QFile::exists(dataDir + QStringLiteral("/splitterlog2.txt")));
}

void MessageLogTest::handler_withUnwritableDataDirectory_losesMessageSilently() {
    // The data directory would have to lie below a plain file.
    const QString blocker = TestEnvironment::instance()->root() + QStringLiteral("/blocker");
    writeFileOfSize(blocker, 1);
    qputenv("XDG_DATA_HOME", (blocker + QStringLiteral("/share")).toLocal8Bit());
    const QtMessageHandler previous = qInstallMessageHandler(logMessage);
    qWarning("nowhere to go");
    qInstallMessageHandler(previous);
    QVERIFY(!QFile::exists(blocker + QStringLiteral("/share/splitterlog2.txt")));
}

void MessageLogTest::twoStartsInARow_secondLogHoldsOnlyItsOwnLines() {
    const QString dataDir = TestEnvironment::instance()->root() + QStringLiteral("/runs/share");
    const QString workDir =
        TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("runs-work"));

    QProcess first;
    const qint64 firstId = startProgramAndWaitForLog(first, dataDir, workDir);
    stopProgram(first);
    QVERIFY(firstId != 0);

    QProcess second;
    const qint64 secondId = startProgramAndWaitForLog(second, dataDir, workDir);
    stopProgram(second);
    QVERIFY(secondId != 0);

    const QString log = readTextFile(dataDir + QStringLiteral("/splitterlog2.txt"));
    QVERIFY(
        log.contains(QStringLiteral("Debug: Relettra 2.1 started as process %1 ").arg(secondId)));
    QVERIFY(!log.contains(QStringLiteral("process %1 ").arg(firstId)));
    for (const QString& line : log.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QVERIFY2(line.startsWith(QLatin1String("Debug: ")) ||
                     line.startsWith(QLatin1String("Warning: ")) ||
                     line.startsWith(QLatin1String("Critical: ")) ||
                     line.startsWith(QLatin1String("Info: ")),
                 qPrintable(line));
    }
}

RELETTRA_GUI_TEST_MAIN(MessageLogTest)
#include "tst_message_log.moc"
