#pragma once

#include <QString>
#include <QtGlobal>

// The program-wide message log "splitterlog2.txt" in the user's generic data directory. It holds
// the messages of the current run only: startMessageLog() removes the previous run's file.

// Full path of the log file, taken from the toolkit each time it is asked.
QString messageLogPath();

// Creates the data directory when missing and removes the previous run's log.
void startMessageLog();

// One log line for a message of the given type, without the line end ("Debug: text", ...).
QString messageLogLine(QtMsgType type, const QString& text);

// The message handler installed with qInstallMessageHandler: appends one line per message and
// flushes it at once; a fatal message ends the process after it has been written.
void logMessage(QtMsgType type, const QMessageLogContext& context, const QString& text);
