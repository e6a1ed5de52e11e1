#pragma once

#include <QList>
#include <QString>

// One text rule as it passes between the main window and the rule picker.
struct ExchangeTextRow {
    QString position;  // "P<page> (<left> <top> <width> <height>)"
    QString find;
    QString replace;
};

// One image rule handed back by the picker; width and height as whole numbers.
struct ExchangeImageRow {
    QString position;
    QString find;
    QString imageFile;
    int width = 0;
    int height = 0;
};

// One image rule handed in by the main window: the five cells of its row as text (position, find
// text, image file, width, height).
struct ExchangeImageCells {
    QString position;
    QString find;
    QString imageFile;
    QString width;
    QString height;
};

// The record through which the main window hands its visible position-rule table to the rule
// picker and takes the picker's saved rules back. The lists grow with the tables, so no row is
// ever dropped; each count always equals the size of its list.
struct RuleExchange {
    // 0 until the picker has saved; then 1 (text rules were saved) or 2 (image rules).
    int resultKind = 0;
    int resultTextCount = 0;
    int resultImageCount = 0;
    // Which rows were handed in: 1 text, 2 image; 0 before the first hand-in.
    int inputKind = 0;
    int inputTextCount = 0;
    int inputImageCount = 0;
    QList<ExchangeTextRow> resultText;
    QList<ExchangeImageRow> resultImage;
    QList<ExchangeTextRow> inputText;
    QList<ExchangeImageCells> inputImage;

    void handInText(const QList<ExchangeTextRow>& rows);
    void handInImage(const QList<ExchangeImageCells>& rows);
    void handBackText(const QList<ExchangeTextRow>& rows);
    void handBackImage(const QList<ExchangeImageRow>& rows);

    // The program's one record, made on first use (by main(), before the main window) and kept
    // until the program ends.
    static RuleExchange& shared();
};
