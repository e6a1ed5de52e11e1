// Start-up of the front end: command line, message log, application object, settings, main
// window, event loop.
#include <QApplication>
#include <QDebug>
#include <QDir>
#include <cstdio>

#include "message_log.h"
#include "process.h"
#include "rule_exchange.h"
#include "settings_store.h"
#include "window_command_line.h"

namespace {

// --help and --version print their text and end; no display is needed for them.
int printTextOnly(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    describeApplication();
    const WindowCommandLine commandLine = parseWindowCommandLine(QCoreApplication::arguments());
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "relettra: %s\n", commandLine.error.toLocal8Bit().constData());
        return 2;
    }
    std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
    return 0;
}

// Every message goes to the log; a fatal one is shown on standard error too, so that a window
// that cannot start (no display, say) does not end without a word.
void logAndShowFatal(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "relettra: %s\n", text.toLocal8Bit().constData());
    }
    logMessage(type, context, text);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (asksForTextOnly(argc, argv)) {
        return printTextOnly(argc, argv);
    }
    // The previous run's log goes first, so that the messages of the toolkit's own start-up,
    // which the handler already receives, stay in this run's log.
    startMessageLog();
    qInstallMessageHandler(logAndShowFatal);

    QApplication app(argc, argv);
    describeApplication();
    // The toolkit has taken out its own options (-platform, -style, ...) by now.
    const WindowCommandLine commandLine = parseWindowCommandLine(QCoreApplication::arguments());
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "relettra: %s\nTry 'relettra --help'.\n",
                     commandLine.error.toLocal8Bit().constData());
        return 2;
    }
    for (const QString& line : commandLine.skipped) {
        std::fprintf(stderr, "relettra: %s\n", line.toLocal8Bit().constData());
        qWarning().noquote() << line;
    }
    qDebug().noquote() << QStringLiteral("Relettra %1 started as process %2 in \"%3\"")
                              .arg(QCoreApplication::applicationVersion())
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDir::currentPath());
    adoptWorkingDirectorySettings(QDir::currentPath());

    // The record through which the main window hands its rules to the rule picker and takes
    // them back: made before the window, it lives until the program ends.
    RuleExchange::shared();

    int exitCode = 0;
    {
        Process window;
        window.show();
        window.addFiles(commandLine.files);
        exitCode = app.exec();
    }
    return exitCode;
}
