// The two batches started by the "Replace" buttons. They come with the batch driver and the
// content workflow; until then the buttons report that in the debug log and change nothing.
#include "process.h"

// What this part of the window builds on.
#include <QDebug>

void Process::on_pushButton_textsome_replace_clicked() {
    qDebug("Replace by positions: the position batch is not available yet.");
}

void Process::on_pushButton_textall_replace_clicked() {
    qDebug("Replace by content: the content batch is not available yet.");
}
