#include "helper_command.h"

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

QString HelperCommand::commandLine() const {
    QStringList parts{quoted(program)};
    for (int i = 0; i < arguments.size(); ++i) {
        parts << (quotedArguments.contains(i) ? quoted(arguments.at(i)) : arguments.at(i));
    }
    return parts.join(QLatin1Char(' '));
}

HelperCommand dossalyInfoCommand(const QString& workingDir, const QString& inputPdf,
                                 const QString& infoFile) {
    HelperCommand command;
    command.program = workingDir + QLatin1Char('/') + QLatin1String(kDossalyFileName);
    command.arguments = {inputPdf, QStringLiteral("-getinfo"), QStringLiteral("-outfile"),
                         infoFile};
    command.quotedArguments = {0, 3};
    return command;
}
