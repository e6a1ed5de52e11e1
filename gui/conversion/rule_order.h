#pragma once

#include <QList>

#include "rule_file_lines.h"

// The order in which a batch hands text rules to the engine: page by page, and on a page from the
// right to the left (and from the bottom up), so that an edit that makes its text wider or
// narrower, and so moves what follows it on its line, never moves a place that a later rule
// points at. Rules at the same place keep their order. Returns indices into `places`.
QList<int> applyingOrder(const QList<PositionFields>& places);
