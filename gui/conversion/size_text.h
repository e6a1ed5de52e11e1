#pragma once

#include <QString>
#include <QtGlobal>

// The "File Size" text of the file list: above 1,048,576 bytes the size in MB (10^6 bytes),
// otherwise in KB (10^3 bytes); three decimals, the number right-aligned in 14 characters.
// Independent of the locale: the decimal separator is always a point.
QString sizeText(qint64 bytes);
