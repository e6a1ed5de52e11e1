// The headless batch command: the batches of the window, run from a terminal, a script or a
// scheduler, over many files at once.
#include <QCoreApplication>
#include <cstdio>

#include "batch_options.h"
#include "headless_batch.h"

namespace {

// The command's own lines are its output; what the layers below log for a window's message log
// (each child program's command line, say) is left out, but warnings are kept.
void printWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg) {
        return;
    }
    std::fprintf(stderr, "relettra-batch: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(printWarnings);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("relettra-batch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RELETTRA_VERSION));

    const ParsedOptions parsed = parseBatchOptions(QCoreApplication::arguments());
    if (!parsed.text.isEmpty()) {
        std::fputs(parsed.text.toLocal8Bit().constData(), stdout);
        return HeadlessBatch::kAllSucceeded;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "relettra-batch: %s\nTry 'relettra-batch --help'.\n",
                     parsed.error.toLocal8Bit().constData());
        return HeadlessBatch::kBadCommand;
    }

    HeadlessBatch batch;
    const int early = batch.prepare(parsed.options);
    if (early >= 0) {
        return early;
    }
    QObject::connect(&batch, &HeadlessBatch::done, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    batch.start();
    return app.exec();
}
