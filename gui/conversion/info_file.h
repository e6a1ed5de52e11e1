#pragma once

#include <QString>

// The page count as written by the information helper: the decimal digits that directly follow
// the first "NumberOfPages: " (case-sensitive). Empty when the marker is missing or no digit
// follows.
QString pageCountFromInfo(const QString& infoText);
