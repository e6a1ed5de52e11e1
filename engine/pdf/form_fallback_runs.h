#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/forms/field_value_edit.h"

namespace relettra::pdf {

class PdfDocument;

// The document's fallback fonts as the form part sees them (FallbackRuns): each run of a text
// in the first font of the chain that has its characters. Loads the chain on first use.
class DocumentFallbackRuns : public FallbackRuns {
  public:
    explicit DocumentFallbackRuns(PdfDocument& document) : document_(document) {}

    bool available() override;
    bool canShow(const std::string& utf8, std::string* missing) override;
    double advance(const std::string& utf8) override;
    double ascent() override;
    double descent() override;
    std::vector<Run> encode(const std::string& utf8) override;
    void written() override;

  private:
    PdfDocument& document_;
    int loaded_ = -1;  // unknown, 0 or 1
    std::vector<QPDFObjectHandle> used_;
};

}  // namespace relettra::pdf
