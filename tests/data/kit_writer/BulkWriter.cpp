#include "BulkWriter.h"

#include <array>
#include <cstdint>

#include "ContentWriter.h"
#include "KitDocument.h"

namespace {

constexpr int linesPerPage = 40;
constexpr double top = 750;
constexpr double leading = 16;

// Deterministic word sequence, so the same arguments always give the same file.
class WordSource {
  public:
    std::string sentence(int words) {
        static const std::array<const char*, 32> vocabulary = {
            "the",     "report",   "shows",   "that",   "annual", "revenue", "grew",   "by",
            "several", "percent",  "while",   "costs",  "stayed", "within",  "the",    "planned",
            "budget",  "and",      "every",   "team",   "met",    "its",     "target", "for",
            "quality", "delivery", "service", "during", "this",   "period",  "of",     "review"};
        std::string text;
        for (int index = 0; index < words; ++index) {
            state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
            if (index > 0) {
                text += ' ';
            }
            text += vocabulary[(state_ >> 33) % vocabulary.size()];
        }
        return text;
    }

  private:
    std::uint64_t state_ = 20240601;
};

}  // namespace

void writeBulk(const std::string& path, int pageCount, const std::string& keyword) {
    KitDocument document;
    auto resources = document.qpdf().makeIndirectObject(
        document.fontResources({{"F1", document.standardFont("Helvetica")}}));
    WordSource words;
    for (int page = 1; page <= pageCount; ++page) {
        ContentWriter content;
        content.beginText().font("F1", 11).num(leading).op("TL").moveText(56, top);
        for (int line = 1; line < linesPerPage; ++line) {
            content.show(words.sentence(9 + line % 4)).op("T*");
        }
        std::string last = "End of page " + std::to_string(page) + " " + words.sentence(4);
        if (!keyword.empty()) {
            last += " " + keyword + " marked";
        }
        content.show(last).endText();
        document.addPage(PageBox{}, resources, content.data());
    }
    document.write(path, true);
}
