// Start-up of the front end: message log, application object, main window, event loop.
#include <QApplication>
#include <QDebug>
#include <QDir>

#include "message_log.h"
#include "process.h"
#include "rule_exchange.h"

int main(int argc, char* argv[]) {
    // The previous run's log goes first, so that the messages of the toolkit's own start-up,
    // which the handler already receives, stay in this run's log.
    startMessageLog();
    qInstallMessageHandler(logMessage);

    QApplication app(argc, argv);
    qDebug().noquote() << QStringLiteral("Relettra %1 started as process %2 in \"%3\"")
                              .arg(QStringLiteral("2.1"))
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDir::currentPath());

    // The record through which the main window hands its rules to the rule picker and takes
    // them back: made before the window, it lives until the program ends.
    RuleExchange::shared();

    int exitCode = 0;
    {
        Process window;
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
