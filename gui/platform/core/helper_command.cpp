#include "helper_command.h"

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString programPath(const QString& programDir, const char* fileName) {
    return programDir + QLatin1Char('/') + QLatin1String(fileName);
}

}  // namespace

QString HelperCommand::commandLine() const {
    QStringList parts{quoted(program)};
    for (int i = 0; i < arguments.size(); ++i) {
        parts << (quotedArguments.contains(i) ? quoted(arguments.at(i)) : arguments.at(i));
    }
    return parts.join(QLatin1Char(' '));
}

HelperCommand engineCommand(const QString& programDir, const QString& inputPdf, const QString& mode,
                            const QString& outputPdf, const QString& ruleFile) {
    HelperCommand command;
    command.program = programPath(programDir, kEngineFileName);
    command.arguments = {inputPdf, mode, outputPdf, ruleFile};
    command.quotedArguments = {0, 2, 3};
    return command;
}

HelperCommand hevritAllPagesCommand(const QString& programDir, const QString& inputPdf,
                                    const QString& pngBase, bool textOnly) {
    HelperCommand command;
    command.program = programPath(programDir, kHevritFileName);
    command.arguments = {inputPdf, QStringLiteral("-ht"), pngBase};
    command.quotedArguments = {0, 2};
    if (textOnly) {
        command.arguments << QStringLiteral("-textonly");
    }
    return command;
}

HelperCommand hevritPageCommand(const QString& programDir, const QString& pdfFile,
                                const QString& pngBase, int page) {
    HelperCommand command = hevritAllPagesCommand(programDir, pdfFile, pngBase, false);
    if (page != 0) {
        const QString number = QString::number(page);
        command.arguments << QStringLiteral("-f") << number << QStringLiteral("-l") << number;
    }
    return command;
}

HelperCommand dossalyInfoCommand(const QString& programDir, const QString& inputPdf,
                                 const QString& infoFile) {
    HelperCommand command;
    command.program = programPath(programDir, kDossalyFileName);
    command.arguments = {inputPdf, QStringLiteral("-getinfo"), QStringLiteral("-outfile"),
                         infoFile};
    command.quotedArguments = {0, 3};
    return command;
}
