#include "window_command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstring>

void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("relettra"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RELETTRA_VERSION));
}

bool asksForTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--") == 0) {
            return false;
        }
        for (const char* option : {"-h", "--help", "-v", "--version"}) {
            if (std::strcmp(argument, option) == 0) {
                return true;
            }
        }
    }
    return false;
}

WindowCommandLine parseWindowCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "relettra",
        "Rewrites PDF files in batches: text at given places, images over page "
        "areas, text found by its content."));
    // Its own help option rather than the toolkit's, which adds --help-all for options that only
    // a started window would read.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")},
        QCoreApplication::translate("relettra", "Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QCoreApplication::translate("relettra", "PDF files to put into the file list."),
        QStringLiteral("[FILE.pdf...]"));

    WindowCommandLine result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    for (const QString& argument : parser.positionalArguments()) {
        const QFileInfo file(argument);
        if (!file.exists()) {
            result.skipped
                << QCoreApplication::translate("relettra", "%1: no such file").arg(argument);
        } else if (!file.isFile()) {
            result.skipped
                << QCoreApplication::translate("relettra", "%1: not a file").arg(argument);
        } else if (!file.isReadable()) {
            result.skipped
                << QCoreApplication::translate("relettra", "%1: cannot be read").arg(argument);
        } else {
            result.files << file.absoluteFilePath();
        }
    }
    return result;
}
