#pragma once

#include <QString>
#include <QStringList>

// The window's command line: relettra [--help] [--version] [FILE.pdf...].
struct WindowCommandLine {
    // The files to list, as absolute paths in the order given.
    QStringList files;
    // One line for each argument that names no readable file; those are left out of the list.
    QStringList skipped;
    // The help or version text to print instead of starting the window.
    QString text;
    // Why the command line was refused (an unknown option); the window is not started.
    QString error;
};

// Names the application (its name and version, which --version prints and the per-user folders
// are named after).
void describeApplication();

// Whether the arguments (argv as given, before the toolkit takes out its own options) ask only
// for the help or the version, which need no display.
bool asksForTextOnly(int argc, char* argv[]);

// Reads the arguments (the program's name first); relative paths are taken from the working
// directory.
WindowCommandLine parseWindowCommandLine(const QStringList& arguments);
