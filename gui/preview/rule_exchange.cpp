#include "rule_exchange.h"

void RuleExchange::handInText(const QList<ExchangeTextRow>& rows) {
    inputKind = 1;
    inputText = rows;
    inputTextCount = static_cast<int>(rows.size());
}

void RuleExchange::handInImage(const QList<ExchangeImageCells>& rows) {
    inputKind = 2;
    inputImage = rows;
    inputImageCount = static_cast<int>(rows.size());
}

void RuleExchange::handBackText(const QList<ExchangeTextRow>& rows) {
    resultKind = 1;
    resultText = rows;
    resultTextCount = static_cast<int>(rows.size());
}

void RuleExchange::handBackImage(const QList<ExchangeImageRow>& rows) {
    resultKind = 2;
    resultImage = rows;
    resultImageCount = static_cast<int>(rows.size());
}

RuleExchange& RuleExchange::shared() {
    static RuleExchange exchange;
    return exchange;
}
