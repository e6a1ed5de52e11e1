// Drives the window of an installed tree: installed into the test's staging tree only, beside the
// staged `relettra` and linked like it, it starts the way the window starts (the same command
// line reading and settings take-over), lists the files of its command line, runs a content batch
// through the child programs it finds from its own folder and reports what it saw. Exit code 0
// when every check passed.
//
//   installed_window_check [FILE.pdf...]
//   CHECK_OUTPUT_DIR  the output folder (chosen through the output folder button)
//   CHECK_RULES       content rules, "find=replace" separated by ";"; without any, no batch runs
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QThread>
#include <cstdio>
#include <functional>

#include "process.h"
#include "scripted_dialogs.h"
#include "settings_store.h"
#include "window_command_line.h"

namespace {

int failures = 0;

void check(bool ok, const QString& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.toLocal8Bit().constData());
    if (!ok) {
        ++failures;
    }
}

bool waitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

QString cell(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    describeApplication();
    const WindowCommandLine commandLine = parseWindowCommandLine(QCoreApplication::arguments());
    check(commandLine.error.isEmpty() && commandLine.skipped.isEmpty(),
          QStringLiteral("command line read"));
    adoptWorkingDirectorySettings(QDir::currentPath());
    std::printf("settings: %s\n", settingsFilePath().toLocal8Bit().constData());

    auto script = std::make_shared<DialogScript>();
    script->directoryAnswers << QString::fromLocal8Bit(qgetenv("CHECK_OUTPUT_DIR"));
    Process window(std::make_unique<ScriptedDialogs>(script));
    window.show();
    window.addFiles(commandLine.files);
    check(waitFor([&]() { return !window.pageCountPassRunning(); }, 60000),
          QStringLiteral("page counts read"));

    auto* fileList = window.findChild<QTableWidget*>(QStringLiteral("inputfiletableWidget"));
    check(fileList->rowCount() == commandLine.files.size() && !commandLine.files.isEmpty(),
          QStringLiteral("%1 files listed").arg(fileList->rowCount()));
    for (int row = 0; row < fileList->rowCount(); ++row) {
        const QString pages = cell(*fileList, row, 1);
        bool number = false;
        pages.toInt(&number);
        check(cell(*fileList, row, 0) == commandLine.files.value(row) && number,
              QStringLiteral("listed %1 with %2 pages").arg(cell(*fileList, row, 0), pages));
    }

    window.findChild<QPushButton*>(QStringLiteral("outputButton"))->click();
    const QStringList rules =
        QString::fromLocal8Bit(qgetenv("CHECK_RULES")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (rules.isEmpty()) {
        return failures == 0 ? 0 : 1;
    }
    window.findChild<QTabWidget*>(QStringLiteral("tabWidget_replacechild"))->setCurrentIndex(0);
    auto* contentRules = window.findChild<QTableWidget*>(QStringLiteral("tableWidget_textall"));
    for (const QString& rule : rules) {
        window.findChild<QPushButton*>(QStringLiteral("pushButton_text_add"))->click();
        const int row = contentRules->rowCount() - 1;
        qobject_cast<QLineEdit*>(contentRules->cellWidget(row, 0))
            ->setText(rule.section('=', 0, 0));
        qobject_cast<QLineEdit*>(contentRules->cellWidget(row, 1))->setText(rule.section('=', 1));
    }
    auto* pane = window.findChild<QTextEdit*>(QStringLiteral("textEdit_process"));
    window.findChild<QPushButton*>(QStringLiteral("pushButton_textall_replace"))->click();
    check(
        waitFor(
            [&]() { return pane->toPlainText().contains(QStringLiteral("Conversion Finished.")); },
            240000),
        QStringLiteral("content batch finished"));
    for (int row = 0; row < fileList->rowCount(); ++row) {
        check(cell(*fileList, row, 3) == QStringLiteral("Succeed"),
              QStringLiteral("%1: %2").arg(cell(*fileList, row, 0), cell(*fileList, row, 3)));
    }
    std::printf("pane:\n%s\n", pane->toPlainText().toLocal8Bit().constData());
    return failures == 0 ? 0 : 1;
}
