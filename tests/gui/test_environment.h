#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

// Points everything the front end writes into one temporary folder of the test program: the
// working directory, the data directory (the message log), the configuration directory (the
// settings) and the temporary directory (the private run folder with "fileinfo.txt").
//
// The window finds its child programs beside the running program, so each test program lies in a
// folder of its own (its build puts it there) and puts the programs a case needs beside itself:
// built ones linked from the run folder, or stand-ins.
class TestEnvironment {
  public:
    TestEnvironment();

    QString root() const { return folder.path(); }
    QString workDir() const { return root() + QStringLiteral("/work"); }
    QString dataDir() const { return root() + QStringLiteral("/data"); }
    QString tempDir() const { return root() + QStringLiteral("/tmp"); }
    // The configuration directory of the current case ($XDG_CONFIG_HOME).
    QString configDir() const;
    // The folder the window looks up its child programs in: the test program's own.
    static QString programDir();

    // A fresh, empty folder under the root, made the working directory, with a fresh
    // configuration directory and no child programs beside the test program.
    QString enterFreshWorkDir(const QString& name);

    // Links the run folder's built programs (by file name) beside the test program.
    static void linkBuiltPrograms(const QStringList& programs);
    // Writes a stand-in program (a shell script) beside the test program; returns its path.
    static QString writeStandInProgram(const QString& name, const QByteArray& script);
    // Removes every child program from beside the test program.
    static void removePrograms();

    static TestEnvironment* instance();

  private:
    QTemporaryDir folder;
};

// A file of the given size filled with zero bytes.
void writeFileOfSize(const QString& path, qint64 size);

// A small valid PDF with the given number of empty pages.
void writeMinimalPdf(const QString& path, int pageCount);

// Reads a whole text file; empty when it cannot be read.
QString readTextFile(const QString& path);

// Gives the application one font whatever fonts the machine has installed, so that sizes the
// window derives from its font (row heights, say) are the same on every machine.
void useFixedTestFont();

#define RELETTRA_GUI_TEST_MAIN(TestClass)       \
    int main(int argc, char* argv[]) {          \
        TestEnvironment environment;            \
        QApplication app(argc, argv);           \
        useFixedTestFont();                     \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
