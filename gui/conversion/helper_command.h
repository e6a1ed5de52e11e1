#pragma once

#include <QString>
#include <QStringList>

// One start of a child program: what is executed and the command line that the debug log shows.
// The arguments are handed to the process as a list, so blanks or quotes inside paths survive;
// commandLine() gives the same run as one line with every path in double quotation marks.
struct HelperCommand {
    QString program;
    QStringList arguments;
    // Indices into arguments that are written quoted in commandLine().
    QList<int> quotedArguments;

    QString commandLine() const;
};

// File name under which the information helper is installed in the working directory.
inline constexpr const char* kDossalyFileName = "Dossaly.dll";
// Name of the information file the helper writes into the working directory.
inline constexpr const char* kInfoFileName = "fileinfo.txt";

// "<cwd>/Dossaly.dll" "<input>" -getinfo -outfile "<infoFile>"
HelperCommand dossalyInfoCommand(const QString& workingDir, const QString& inputPdf,
                                 const QString& infoFile);
