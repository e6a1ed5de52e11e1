#include "page_render.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("Rules", text);
}

// Where a PDF file's header may stand: readers accept it within the first kilobyte.
constexpr qint64 kPdfHeaderWindow = 1024;

bool startsLikePdf(const QString& file) {
    QFile input(file);
    return input.open(QIODevice::ReadOnly) && input.read(kPdfHeaderWindow).contains("%PDF-");
}

}  // namespace

PageRenderFiles pageRenderFiles(const QString& pngBase) {
    QString base = pngBase;
    if (base.endsWith(QLatin1String(".png"))) {
        base.chop(4);
    }
    return {base + QLatin1String("_pg_0001.png"), base + QLatin1String("_pg_0001.htm")};
}

RenderedPage readRenderedPage(const PageRenderFiles& files) {
    RenderedPage page;
    QImageReader reader(files.image);
    page.image = reader.read();
    QFile layerFile(files.textLayer);
    if (layerFile.open(QIODevice::ReadOnly)) {
        QByteArray layer = layerFile.readAll();
        const qsizetype zeroByte = layer.indexOf('\0');
        if (zeroByte >= 0) {
            layer.truncate(zeroByte);
        }
        page.textLayer = QString::fromUtf8(layer);
    }
    return page;
}

QString pageNotShownText(const PageRenderOutcome& outcome) {
    QString reason;
    switch (outcome.problem) {
        case PageRenderProblem::None:
        case PageRenderProblem::NoPageImage:
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
            // The helper's exit code 1 says that it could not read the document at all.
            reason =
                outcome.exitCode == 1
                    ? translated(
                          "the page helper cannot read the file %1: it is not a PDF, "
                          "it is damaged or it needs a password (exit code 1).")
                          .arg(outcome.pdfFile)
                    : translated("the page helper ended with exit code %1.").arg(outcome.exitCode);
            break;
    }
    return translated("The page cannot be shown: %1").arg(reason);
}

QString unknownPageCountText(const QString& pdfFile) {
    const QString reason =
        startsLikePdf(pdfFile)
            ? translated(
                  "the page count of %1 is not known: the information helper could not "
                  "read it (it may be damaged or need a password).")
                  .arg(pdfFile)
            : translated("the file %1 is not a PDF file.").arg(pdfFile);
    return translated("The page cannot be shown: %1").arg(reason);
}

QString renderingPageText(int page) {
    return translated("Rendering page %1…").arg(page);
}
