#pragma once

#include "pdf/content/text_interpreter.h"
#include "pdf/pdf_api.h"

namespace relettra::pdf {

// Turns what the text interpreter finds into the calls of a TPDFParseInterface.
class ParseCallbacksAdapter : public TextListener {
  public:
    ParseCallbacksAdapter(const void* data, const TPDFParseInterface& callbacks)
        : data_(data), callbacks_(callbacks) {}

    bool onShow(const TextShow& show) override;
    void onSaveState() override;
    void onRestoreState(const TextState& state) override;
    void onTextStateChange(const TextState& state) override;

  private:
    bool emitPiece(const TextShow& show, double penStart, const std::u16string& text,
                   const std::vector<double>& advances, double width);
    void reportState(const TextState& state);

    const void* data_;
    const TPDFParseInterface& callbacks_;
    TextState reported_;
    std::u16string pieceText_;  // buffers kept from one piece to the next
    std::vector<double> pieceAdvances_;
    bool anyReported_ = false;
};

}  // namespace relettra::pdf
