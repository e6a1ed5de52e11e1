// What the window does before it shows: its command line, and where its settings live (the
// per-user configuration folder, taking over a working directory's "setting.ini" once).
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

#include "settings_store.h"
#include "test_environment.h"
#include "window_command_line.h"

namespace {

void writeIni(const QString& path, const QList<QPair<QString, QString>>& values) {
    QSettings ini(path, QSettings::IniFormat);
    for (const auto& [key, value] : values) {
        ini.setValue(key, value);
    }
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void commandLine_filesAreListedAbsoluteInOrderAndOthersSkipped();
    void commandLine_textOnlyAndRefusedArguments_data();
    void commandLine_textOnlyAndRefusedArguments();
    void asksForTextOnly_onlyHelpAndVersionBeforeDoubleDash_data();
    void asksForTextOnly_onlyHelpAndVersionBeforeDoubleDash();

    void writeSetting_makesTheConfigurationFolder();
    void workingDirectorySettings_takenOverOnceWhenNoneExist();
    void workingDirectorySettings_ignoredWhenSettingsExist();
    void noWorkingDirectorySettings_writesNothing();

  private:
    QString dir;
};

void StartUpTest::initTestCase() {
    describeApplication();
}

void StartUpTest::init() {
    dir = TestEnvironment::instance()->enterFreshWorkDir(QStringLiteral("start-up"));
}

void StartUpTest::commandLine_filesAreListedAbsoluteInOrderAndOthersSkipped() {
    QDir().mkpath(dir + QStringLiteral("/sub"));
    writeMinimalPdf(dir + QStringLiteral("/b.pdf"), 1);
    writeMinimalPdf(dir + QStringLiteral("/sub/a.pdf"), 1);
    writeMinimalPdf(dir + QStringLiteral("/-dash.pdf"), 1);
    const WindowCommandLine parsed = parseWindowCommandLine(
        {"relettra", "b.pdf", dir + "/sub/a.pdf", "missing.pdf", "sub", "--", "-dash.pdf"});
    QCOMPARE(parsed.files, QStringList({dir + "/b.pdf", dir + "/sub/a.pdf", dir + "/-dash.pdf"}));
    QCOMPARE(parsed.skipped, QStringList({"missing.pdf: no such file", "sub: not a file"}));
    QVERIFY(parsed.text.isEmpty());
    QVERIFY(parsed.error.isEmpty());
}

void StartUpTest::commandLine_textOnlyAndRefusedArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("textStart");
    QTest::addColumn<QString>("error");
    QTest::newRow("version") << QStringList{"relettra", "--version"}
                             << QStringLiteral("relettra " RELETTRA_VERSION "\n") << QString();
    QTest::newRow("help, files ignored")
        << QStringList{"relettra", "a.pdf", "-h"} << QStringLiteral("Usage: ") << QString();
    QTest::newRow("unknown option") << QStringList{"relettra", "--bogus", "a.pdf"} << QString()
                                    << QStringLiteral("Unknown option 'bogus'.");
    QTest::newRow("help-all is not offered") << QStringList{"relettra", "--help-all"} << QString()
                                             << QStringLiteral("Unknown option 'help-all'.");
}

void StartUpTest::commandLine_textOnlyAndRefusedArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, textStart);
    QFETCH(QString, error);
    const WindowCommandLine parsed = parseWindowCommandLine(arguments);
    QVERIFY2(textStart.isEmpty() ? parsed.text.isEmpty() : parsed.text.startsWith(textStart),
             qPrintable(parsed.text));
    QCOMPARE(parsed.error, error);
    QVERIFY(parsed.files.isEmpty());
}

void StartUpTest::asksForTextOnly_onlyHelpAndVersionBeforeDoubleDash_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("textOnly");
    QTest::newRow("files") << QStringList{"relettra", "a.pdf"} << false;
    QTest::newRow("toolkit option") << QStringList{"relettra", "-platform", "offscreen"} << false;
    QTest::newRow("-v after a file") << QStringList{"relettra", "a.pdf", "-v"} << true;
    QTest::newRow("--help") << QStringList{"relettra", "--help"} << true;
    QTest::newRow("after --") << QStringList{"relettra", "--", "--help"} << false;
}

void StartUpTest::asksForTextOnly_onlyHelpAndVersionBeforeDoubleDash() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, textOnly);
    QList<QByteArray> bytes;
    std::vector<char*> argv;
    for (const QString& argument : arguments) {
        bytes << argument.toLocal8Bit();
    }
    for (QByteArray& argument : bytes) {
        argv.push_back(argument.data());
    }
    QCOMPARE(asksForTextOnly(static_cast<int>(argv.size()), argv.data()), textOnly);
}

void StartUpTest::writeSetting_makesTheConfigurationFolder() {
    const QString config = TestEnvironment::instance()->configDir();
    QVERIFY(QDir(config).removeRecursively());
    writeSetting(SettingsKeys::outputDir, QStringLiteral("/srv/out"));
    QCOMPARE(settingsFilePath(), config + QStringLiteral("/relettra/setting.ini"));
    QCOMPARE(QSettings(settingsFilePath(), QSettings::IniFormat).value("dir/output").toString(),
             QStringLiteral("/srv/out"));
    QCOMPARE(readSetting(SettingsKeys::outputDir), QStringLiteral("/srv/out"));
    QCOMPARE(readSetting(SettingsKeys::inputDir), QStringLiteral("."));
}

void StartUpTest::workingDirectorySettings_takenOverOnceWhenNoneExist() {
    const QString old = dir + QStringLiteral("/setting.ini");
    writeIni(old, {{"dir/input", "/home/u/in"}, {"file/page", "7"}});
    const QByteArray oldBytes = readTextFile(old).toUtf8();

    QVERIFY(adoptWorkingDirectorySettings(dir));
    QCOMPARE(readSetting(SettingsKeys::inputDir), QStringLiteral("/home/u/in"));
    QCOMPARE(readSetting(SettingsKeys::pickerPage), QStringLiteral("7"));
    QCOMPARE(readTextFile(old).toUtf8(), oldBytes);

    // Later starts keep what the window wrote since, whatever the old file says.
    writeSetting(SettingsKeys::inputDir, QStringLiteral("/home/u/new"));
    writeIni(old, {{"dir/input", "/home/u/changed"}});
    QVERIFY(!adoptWorkingDirectorySettings(dir));
    QCOMPARE(readSetting(SettingsKeys::inputDir), QStringLiteral("/home/u/new"));
}

void StartUpTest::workingDirectorySettings_ignoredWhenSettingsExist() {
    writeSetting(SettingsKeys::outputDir, QStringLiteral("/mine"));
    writeIni(dir + QStringLiteral("/setting.ini"),
             {{"dir/output", "/theirs"}, {"dir/image", "/pictures"}});
    QVERIFY(!adoptWorkingDirectorySettings(dir));
    QCOMPARE(readSetting(SettingsKeys::outputDir), QStringLiteral("/mine"));
    QCOMPARE(readSetting(SettingsKeys::pickerImageDir), QStringLiteral("."));
}

void StartUpTest::noWorkingDirectorySettings_writesNothing() {
    QVERIFY(!adoptWorkingDirectorySettings(dir));
    QVERIFY(!QFile::exists(settingsFilePath()));
    // A folder of that name is no settings file either.
    QVERIFY(QDir().mkpath(dir + QStringLiteral("/setting.ini")));
    QVERIFY(!adoptWorkingDirectorySettings(dir));
    QVERIFY(!QFile::exists(settingsFilePath()));
}

RELETTRA_GUI_TEST_MAIN(StartUpTest)
#include "tst_start_up.moc"
