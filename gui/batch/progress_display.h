#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

#include "batch_types.h"

// What the command shows on standard error while it runs: on a terminal one line redrawn in
// place (a bar of the files done, the pages analysed, the rate and the time left), otherwise one
// plain line per file; nothing at all when quiet.
class ProgressDisplay {
  public:
    enum class Style { Bar, Lines, Quiet };

    ProgressDisplay(Style style, int totalFiles, std::FILE* stream = stderr);

    void pageAnalysed();
    void fileFinished(const FileResult& result);
    void fileSkipped(const QString& input);
    // Ends the bar's line and prints the totals.
    void finish(bool interrupted);

    // The bar's line for the counts given (for tests): "[#####-----] 12/200 files, 340 pages,
    // 2.1 files/s, 1:30 left".
    static QString barLine(int done, int total, int pages, double seconds, int width);

  private:
    void redraw(bool force);
    void print(const QString& line);

    Style style;
    int total;
    std::FILE* stream;
    int done = 0;
    int failed = 0;
    int skipped = 0;
    int pages = 0;
    QElapsedTimer clock;
    qint64 lastDraw = -1;
};
