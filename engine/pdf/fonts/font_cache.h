#pragma once
// Parsed fonts of one document, so each font dictionary is read once per run.

#include <map>
#include <memory>
#include <mutex>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

#include "pdf/fonts/pdf_font.h"

namespace relettra::pdf {

class FontCache {
  public:
    // The font of a font dictionary, parsed on first request. Indirect dictionaries are keyed
    // by object id, direct ones by the identity of the dictionary object. Never throws.
    std::shared_ptr<const PdfFont> get(QPDFObjectHandle fontDict);

    std::size_t size() const;

    // Drops what is known of a font whose dictionary changed (a font the run itself writes), to
    // be read again on the next request; a dictionary (and what it refers to) that says the same
    // as when the font was last read keeps it.
    void forget(QPDFObjectHandle fontDict);

  private:
    mutable std::mutex mutex_;
    std::map<QPDFObjGen, std::shared_ptr<const PdfFont>> byObject_;
    // For fonts that were forgotten: what their dictionaries said when they were read again.
    std::map<QPDFObjGen, std::string> readFrom_;
    struct DirectEntry {
        QPDFObjectHandle dict;
        std::shared_ptr<const PdfFont> font;
    };
    std::vector<DirectEntry> direct_;  // direct font dictionaries are rare: a short list
};

}  // namespace relettra::pdf
