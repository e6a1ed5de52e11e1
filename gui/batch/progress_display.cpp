#include "progress_display.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("ProgressDisplay", text);
}

QString duration(double seconds) {
    const qint64 whole = static_cast<qint64>(seconds + 0.5);
    if (whole >= 3600) {
        return QString::asprintf("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    }
    return QString::asprintf("%lld:%02lld", whole / 60, whole % 60);
}

}  // namespace

ProgressDisplay::ProgressDisplay(Style style, int totalFiles, std::FILE* stream)
    : style(style), total(totalFiles), stream(stream) {
    clock.start();
}

QString ProgressDisplay::barLine(int done, int total, int pages, double seconds, int width) {
    const int filled = total > 0 ? std::clamp(done * width / total, 0, width) : width;
    QString line = QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
                   QString(width - filled, QLatin1Char('-')) + QLatin1String("] ");
    line += translated("%1/%2 files, %3 pages").arg(done).arg(total).arg(pages);
    if (done > 0 && seconds > 0) {
        const double rate = done / seconds;
        line += QString::asprintf(", %.1f ", rate) + translated("files/s");
        if (done < total) {
            line += QLatin1String(", ") + duration((total - done) / rate) + QLatin1Char(' ') +
                    translated("left");
        }
    }
    return line;
}

void ProgressDisplay::print(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void ProgressDisplay::redraw(bool force) {
    if (style != Style::Bar) {
        return;
    }
    const qint64 now = clock.elapsed();
    // A terminal redrawn for every page of a fast job would cost more than the job.
    if (!force && lastDraw >= 0 && now - lastDraw < 100) {
        return;
    }
    lastDraw = now;
    print(QLatin1String("\r\x1b[K") +
          barLine(done, total, pages, static_cast<double>(now) / 1000.0, 30));
}

void ProgressDisplay::pageAnalysed() {
    ++pages;
    redraw(false);
}

void ProgressDisplay::fileFinished(const FileResult& result) {
    ++done;
    if (!result.succeeded) {
        ++failed;
    }
    if (style == Style::Lines) {
        print(QStringLiteral("[%1/%2] ").arg(done).arg(total) +
              (result.succeeded
                   ? translated("succeeded: %1 -> %2 (%3)")
                         .arg(result.inputPath, result.outputPath,
                              result.details.section(QLatin1Char('\n'), 0, 0))
                   : translated("failed: %1: %2").arg(result.inputPath, result.reason)) +
              QLatin1Char('\n'));
    } else if (style == Style::Bar && !result.succeeded) {
        print(QLatin1String("\r\x1b[K") +
              translated("failed: %1: %2").arg(result.inputPath, result.reason) +
              QLatin1Char('\n'));
    }
    redraw(true);
}

void ProgressDisplay::fileSkipped(const QString& input) {
    ++done;
    ++skipped;
    if (style == Style::Lines) {
        print(QStringLiteral("[%1/%2] ").arg(done).arg(total) +
              translated("skipped (its output exists): %1").arg(input) + QLatin1Char('\n'));
    }
    redraw(false);
}

void ProgressDisplay::finish(bool interrupted) {
    if (style == Style::Quiet) {
        return;
    }
    if (style == Style::Bar) {
        redraw(true);
        print(QStringLiteral("\n"));
    }
    QString totals = translated("%1 of %2 files done: %3 succeeded, %4 failed, %5 skipped")
                         .arg(done)
                         .arg(total)
                         .arg(done - failed - skipped)
                         .arg(failed)
                         .arg(skipped);
    if (interrupted) {
        totals += QLatin1String("; ") + translated("interrupted");
    }
    print(totals + QStringLiteral(" (%1)\n").arg(duration(clock.elapsed() / 1000.0)));
}
