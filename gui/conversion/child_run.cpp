#include "child_run.h"

#include <QDebug>
#include <QProcess>

ChildRun::ChildRun(QObject* parent) : QObject(parent) {}

ChildRun::~ChildRun() {
    stop();
}

void ChildRun::release() {
    if (!process) {
        return;
    }
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(3000);
    }
    // Later, not now: the process may be the sender of the signal that is being handled.
    process->deleteLater();
    process = nullptr;
}

void ChildRun::stop() {
    release();
    active = false;
}

void ChildRun::start(const HelperCommand& command) {
    release();
    qDebug().noquote() << command.commandLine();

    auto* run = new QProcess(this);
    process = run;
    active = true;
    run->setProcessChannelMode(QProcess::MergedChannels);
    connect(run, &QProcess::finished, this, [this, run](int exitCode) {
        if (run != process || !active) {
            return;
        }
        active = false;
        emit finished(exitCode, QString::fromUtf8(run->readAll()));
    });
    connect(run, &QProcess::errorOccurred, this, [this, run](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || run != process) {
            return;
        }
        const QString program = run->program();
        const QString reason = run->errorString();
        QMetaObject::invokeMethod(
            this,
            [this, run, program, reason]() {
                if (run != process || !active) {
                    return;
                }
                active = false;
                emit failedToStart(program, reason);
            },
            Qt::QueuedConnection);
    });
    run->start(command.program, command.arguments, QIODevice::ReadWrite);
}
