#include "size_text.h"

QString sizeText(qint64 bytes) {
    constexpr qint64 kMegabyteThreshold = 1048576;
    // QString::asprintf formats numbers in the C locale.
    if (bytes > kMegabyteThreshold) {
        return QString::asprintf("%14.3f MB", static_cast<double>(bytes) / 1000000.0);
    }
    return QString::asprintf("%14.3f KB", static_cast<double>(bytes) / 1000.0);
}
