#include "message_log.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cstdlib>

namespace {

QString dataDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

}  // namespace

QString messageLogPath() {
    return dataDirectory() + QStringLiteral("/splitterlog2.txt");
}

void startMessageLog() {
    QDir().mkpath(dataDirectory());
    QFile::remove(messageLogPath());
}

QString messageLogLine(QtMsgType type, const QString& text) {
    switch (type) {
        case QtDebugMsg:
            return QStringLiteral("Debug: %1").arg(text);
        case QtInfoMsg:
            return QStringLiteral("Info: %1").arg(text);
        case QtWarningMsg:
            return QStringLiteral("Warning: %1").arg(text);
        case QtCriticalMsg:
            return QStringLiteral("Critical: %1").arg(text);
        case QtFatalMsg:
            return QStringLiteral("Fatal: %1").arg(text);
    }
    return text;
}

void logMessage(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    // Anything the file functions below report must not come back into this handler.
    static thread_local bool writing = false;
    if (!writing) {
        writing = true;
        QByteArray line = messageLogLine(type, text).toLocal8Bit();
        // A message that already ends with a line feed stays one line.
        if (!line.endsWith('\n')) {
            line.append('\n');
        }
        QFile log(messageLogPath());
        if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            log.write(line);
            log.flush();
            log.close();
        }
        writing = false;
    }
    if (type == QtFatalMsg) {
        std::abort();
    }
}
