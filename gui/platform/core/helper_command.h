#pragma once

#include <QString>
#include <QStringList>

// One start of a child program: what is executed and the command line that the debug log shows.
// The arguments are handed to the process as a list, so blanks, quotes or non-ASCII letters
// inside paths survive; commandLine() gives the same run as one line with every path in double
// quotation marks.
struct HelperCommand {
    QString program;
    QStringList arguments;
    // Indices into arguments that are written quoted in commandLine().
    QList<int> quotedArguments;

    QString commandLine() const;
};

// File names of the child programs in their folder (childProgramFolder()).
inline constexpr const char* kEngineFileName = "Tewkrun.dll";
inline constexpr const char* kHevritFileName = "Hevrit.dll";
inline constexpr const char* kDossalyFileName = "Dossaly.dll";
// Name of the information file the helper writes (in the private run folder).
inline constexpr const char* kInfoFileName = "fileinfo.txt";

// The engine's mode words.
inline constexpr const char* kTextRulesMode = "-tesome";
inline constexpr const char* kImageRulesMode = "-pisome";

// "<programDir>/Tewkrun.dll" "<input>" <mode> "<output>" "<ruleFile>"
HelperCommand engineCommand(const QString& programDir, const QString& inputPdf, const QString& mode,
                            const QString& outputPdf, const QString& ruleFile);

// "<programDir>/Hevrit.dll" "<input>" -ht "<pngBase>": every page's image and text layer. With
// textOnly the switch -textonly is added and no images are made (the content batch reads text
// only).
HelperCommand hevritAllPagesCommand(const QString& programDir, const QString& inputPdf,
                                    const QString& pngBase, bool textOnly);

// "<programDir>/Hevrit.dll" "<file>" -ht "<pngBase>" -f N -l N: one page, written as page 0001.
// Page 0 leaves the range out (every page).
HelperCommand hevritPageCommand(const QString& programDir, const QString& pdfFile,
                                const QString& pngBase, int page);

// "<programDir>/Dossaly.dll" "<input>" -getinfo -outfile "<infoFile>"
HelperCommand dossalyInfoCommand(const QString& programDir, const QString& inputPdf,
                                 const QString& infoFile);
