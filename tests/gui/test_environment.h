#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

// Points everything the front end writes into one temporary folder of the test program: the
// working directory ("setting.ini", "fileinfo.txt"), the data directory (the message log), the
// configuration directory and the temporary directory.
class TestEnvironment {
  public:
    TestEnvironment();

    QString root() const { return folder.path(); }
    QString workDir() const { return root() + QStringLiteral("/work"); }
    QString dataDir() const { return root() + QStringLiteral("/data"); }
    QString tempDir() const { return root() + QStringLiteral("/tmp"); }

    // A fresh, empty folder under the root, made the working directory.
    QString enterFreshWorkDir(const QString& name);

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
