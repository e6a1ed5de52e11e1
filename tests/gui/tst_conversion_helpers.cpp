// The pure helpers behind the file list and the page-count pass: size text, page count from the
// information file and the helper's command line.
#include <QtTest>

#include "helper_command.h"
#include "info_file.h"
#include "size_text.h"
#include "test_environment.h"

class ConversionHelpersTest : public QObject {
    Q_OBJECT

  private slots:
    void sizeText_formatsUnitAndPadsNumberTo14_data();
    void sizeText_formatsUnitAndPadsNumberTo14();
    void pageCountFromInfo_takesDigitsAfterFirstMarker_data();
    void pageCountFromInfo_takesDigitsAfterFirstMarker();
    void dossalyInfoCommand_quotesPathsAndKeepsArgumentsWhole();
};

void ConversionHelpersTest::sizeText_formatsUnitAndPadsNumberTo14_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("2,000,000 bytes in MB")
        << qint64(2000000) << QStringLiteral("         2.000 MB");
    QTest::newRow("exactly 1 MiB stays in KB")
        << qint64(1048576) << QStringLiteral("      1048.576 KB");
    QTest::newRow("one byte above 1 MiB in MB")
        << qint64(1048577) << QStringLiteral("         1.049 MB");
    QTest::newRow("one byte in KB") << qint64(1) << QStringLiteral("         0.001 KB");
    QTest::newRow("3 GiB is not cut to 32 bits")
        << qint64(3221225472) << QStringLiteral("      3221.225 MB");
}

void ConversionHelpersTest::sizeText_formatsUnitAndPadsNumberTo14() {
    QFETCH(qint64, bytes);
    QFETCH(QString, expected);
    QCOMPARE(sizeText(bytes), expected);
}

void ConversionHelpersTest::pageCountFromInfo_takesDigitsAfterFirstMarker_data() {
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("expected");
    QTest::newRow("12 and a line break")
        << QStringLiteral("Title: x\nNumberOfPages: 12\nPDF: 1.4\n") << QStringLiteral("12");
    QTest::newRow("7, a blank and a word")
        << QStringLiteral("NumberOfPages: 7 word") << QStringLiteral("7");
    QTest::newRow("no marker") << QStringLiteral("Pages: 3\n") << QString();
    QTest::newRow("marker in other case") << QStringLiteral("numberofpages: 3\n") << QString();
    QTest::newRow("marker without its blank") << QStringLiteral("NumberOfPages:3\n") << QString();
    QTest::newRow("marker without digits") << QStringLiteral("NumberOfPages: none\n") << QString();
    QTest::newRow("first of two markers")
        << QStringLiteral("NumberOfPages: 4\nNumberOfPages: 9\n") << QStringLiteral("4");
    QTest::newRow("marker at the very end") << QStringLiteral("NumberOfPages: ") << QString();
}

void ConversionHelpersTest::pageCountFromInfo_takesDigitsAfterFirstMarker() {
    QFETCH(QString, info);
    QFETCH(QString, expected);
    QCOMPARE(pageCountFromInfo(info), expected);
}

void ConversionHelpersTest::dossalyInfoCommand_quotesPathsAndKeepsArgumentsWhole() {
    const HelperCommand command =
        dossalyInfoCommand(QStringLiteral("/w d"), QStringLiteral("/in put/a.pdf"),
                           QStringLiteral("/w d/fileinfo.txt"));
    QCOMPARE(command.program, QStringLiteral("/w d/Dossaly.dll"));
    QCOMPARE(command.arguments,
             QStringList({QStringLiteral("/in put/a.pdf"), QStringLiteral("-getinfo"),
                          QStringLiteral("-outfile"), QStringLiteral("/w d/fileinfo.txt")}));
    QCOMPARE(command.commandLine(),
             QStringLiteral(
                 "\"/w d/Dossaly.dll\" \"/in put/a.pdf\" -getinfo -outfile \"/w d/fileinfo.txt\""));
}

RELETTRA_GUI_TEST_MAIN(ConversionHelpersTest)
#include "tst_conversion_helpers.moc"
