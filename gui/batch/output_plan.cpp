#include "output_plan.h"

#include <QSet>

#include "output_naming.h"

QStringList plannedOutputs(const QString& folder, const QStringList& inputs) {
    QSet<QString> taken;
    QStringList outputs;
    for (const QString& input : inputs) {
        const QString output = firstFreeOutputPath(
            folder, input, [&taken](const QString& path) { return taken.contains(path); });
        taken.insert(output);
        outputs << output;
    }
    return outputs;
}
