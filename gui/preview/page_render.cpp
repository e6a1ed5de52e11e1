#include "page_render.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "helper_command.h"

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("Rules", text);
}

// Runs the command and tells how it ended.
PageRenderOutcome runHelper(const HelperCommand& command, int timeoutMs) {
    PageRenderOutcome outcome;
    outcome.helperPath = command.program;
    if (!QFileInfo(command.program).isFile()) {
        outcome.problem = PageRenderProblem::HelperMissing;
        return outcome;
    }
    QProcess helper;
    helper.start(command.program, command.arguments, QIODevice::ReadWrite);
    if (!helper.waitForStarted(timeoutMs)) {
        qWarning().noquote() << "The page helper could not be started:" << helper.errorString();
        outcome.problem = PageRenderProblem::HelperNotStarted;
        return outcome;
    }
    if (!helper.waitForFinished(timeoutMs)) {
        outcome.problem = PageRenderProblem::TimedOut;
        helper.kill();
        helper.waitForFinished(1000);
    } else if (helper.exitStatus() != QProcess::NormalExit) {
        outcome.problem = PageRenderProblem::Crashed;
    } else if (helper.exitCode() != 0) {
        outcome.problem = PageRenderProblem::ExitCode;
        outcome.exitCode = helper.exitCode();
    }
    helper.close();
    return outcome;
}

}  // namespace

PageRenderFiles pageRenderFiles(const QString& pngBase) {
    QString base = pngBase;
    if (base.endsWith(QLatin1String(".png"))) {
        base.chop(4);
    }
    return {base + QLatin1String("_pg_0001.png"), base + QLatin1String("_pg_0001.htm")};
}

PageRenderOutcome renderPage(const QString& workingDir, const QString& pdfFile, int page,
                             const QString& pngBase, int timeoutMs) {
    PageRenderOutcome outcome;
    outcome.pdfFile = pdfFile;
    if (pngBase.isEmpty()) {
        outcome.problem = PageRenderProblem::NoOutputFolder;
        return outcome;
    }
    const PageRenderFiles files = pageRenderFiles(pngBase);
    QFile::remove(files.image);
    QFile::remove(files.textLayer);

    const QFileInfo pdfInfo(pdfFile);
    if (!pdfInfo.isFile() || !pdfInfo.isReadable()) {
        outcome.problem = PageRenderProblem::FileUnreadable;
        return outcome;
    }
    const HelperCommand command = hevritPageCommand(workingDir, pdfFile, pngBase, page);
    qDebug().noquote() << "PNG FILE CMD" << command.commandLine();
    PageRenderOutcome run = runHelper(command, timeoutMs);
    run.pdfFile = pdfFile;
    return run;
}

QString pageNotShownText(const PageRenderOutcome& outcome) {
    QString reason;
    switch (outcome.problem) {
        case PageRenderProblem::None:
            reason = translated("the page helper wrote no readable page image.");
            break;
        case PageRenderProblem::NoOutputFolder:
            reason = translated("the private temporary folder could not be made.");
            break;
        case PageRenderProblem::FileUnreadable:
            reason = translated("the file %1 cannot be read.").arg(outcome.pdfFile);
            break;
        case PageRenderProblem::HelperMissing:
            reason = translated("the page helper %1 is missing.").arg(outcome.helperPath);
            break;
        case PageRenderProblem::HelperNotStarted:
            reason = translated("the page helper %1 could not be started.").arg(outcome.helperPath);
            break;
        case PageRenderProblem::TimedOut:
            reason = translated("the page helper did not finish in time and was stopped.");
            break;
        case PageRenderProblem::Crashed:
            reason = translated("the page helper crashed.");
            break;
        case PageRenderProblem::ExitCode:
            reason = translated("the page helper ended with exit code %1.").arg(outcome.exitCode);
            break;
    }
    return translated("The page cannot be shown: %1").arg(reason);
}
