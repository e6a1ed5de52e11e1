#include "runners/keyword_runner.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "keyword/keyword_finder.h"
#include "marqel/exit_codes.h"
#include "pdf/basics/utf8.h"
#include "pdf/pdf_api.h"
#include "runners/input_document.h"
#include "runners/library_error_report.h"

using namespace marqel;

bool KeywordToUtf16(const std::string& keyword, std::u16string& out) {
    out.clear();
    if (!relettra::pdf::isWellFormedUtf8(keyword)) {
        return false;
    }
    for (char32_t cp : relettra::pdf::decodeUtf8(keyword)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return true;
}

namespace {

// Searches every page of an open document; returns the number of hits or -4.
int searchPages(PDF* pdf, const std::string& keyword, std::vector<KeywordHit>& hits) {
    std::u16string wide;
    const bool convertible = KeywordToUtf16(keyword, wide);
    const int pages = pdfGetPageCount(pdf);
    for (int page = 1; page <= pages; ++page) {
        if (!convertible) {
            return kKeywordNotConvertible;
        }
        if (pdfEditPage(pdf, page) != 1) {
            continue;
        }
        // A page that shows the keyword in none of its texts cannot hold a hit: its lines need
        // not be built.
        if (pdfPageShowsText(pdf, keyword.c_str()) == 0) {
            pdfEndPage(pdf);
            continue;
        }
        KeywordFinder finder(pdf, wide);
        pdfParseContent(pdf, &finder, &PageTextCollector::callbacks(), 1);
        const double pageHeight = pdfGetPageHeight(pdf);
        pdfEndPage(pdf);
        size_t offset = 0;
        const TextRun* run = finder.FirstRunWithKeyword(offset);
        if (run == nullptr) {
            continue;
        }
        // The keyword's own left edge, not the start of the piece that holds it.
        const double x = offset < run->unitX.size() ? run->unitX[offset] : run->x;
        std::printf("keyword: %s\n", keyword.c_str());
        std::printf("Found string on Page: %d\nx = %f\ny = %f\n", page, x, run->y);
        hits.push_back(KeywordHit{page, x, pageHeight - run->y - run->shownSize});
    }
    return static_cast<int>(hits.size());
}

// Draws the image at every hit of an open document and writes it.
int stampPages(PDF* pdf, const char* imageBytes, int imageLength, double width, double height,
               const std::string& ownerPassword, const std::vector<KeywordHit>& hits) {
    pdfSetImportFlags(pdf, 0x8FFFFFFE);
    pdfSetUseTransparency(pdf, 0);
    PrintMessage("come here\n");
    const int pages = pdfGetPageCount(pdf);
    for (int page = 1; page <= pages; ++page) {
        for (const KeywordHit& hit : hits) {
            if (hit.page != page || pdfEditPage(pdf, page) != 1) {
                continue;
            }
            std::printf("Start insert image\n");
            const int drawn =
                pdfInsertImageFromBuffer(pdf, hit.x, hit.top, width, height, imageBytes,
                                         static_cast<size_t>(imageLength), 1);
            if (pdfEndPage(pdf) != 1) {
                PrintMessage("Page %d could not be written: nothing was written.\n", page);
                return kEngineFailure;
            }
            if (drawn != 1) {
                // Every stamp is the same image: when one cannot be drawn, none can.
                PrintMessage("The image cannot be drawn: nothing was written.\n");
                return kKeywordImageUnusable;
            }
        }
    }
    const int written = ownerPassword.empty()
                            ? pdfCloseFile(pdf)
                            : pdfCloseFileEx(pdf, nullptr, ownerPassword.c_str(), 2, 1848);
    return written != 0 ? static_cast<int>(hits.size()) : kKeywordOutputNotWritten;
}

bool noImage(const char* imageBytes, int imageLength) {
    return imageBytes == nullptr || imageLength <= 0;
}

class Stopwatch {
  public:
    ~Stopwatch() {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started_);
        PrintMessage("Processing time: %d ms\n", static_cast<int>(elapsed.count()));
    }

  private:
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

}  // namespace

int FindKeywordHits(const std::string& inputPath, const std::string& keyword,
                    std::vector<KeywordHit>& hits) {
    return RunGuarded([&] {
        if (inputPath.empty()) {
            return kKeywordInputMissing;
        }
        if (keyword.empty()) {
            return kKeywordEmptyArgument;
        }
        PdfHandle pdf = OpenInputDocument(inputPath, nullptr);
        if (!pdf) {
            return kKeywordInputNotOpened;
        }
        Stopwatch stopwatch;
        return searchPages(pdf.get(), keyword, hits);
    });
}

int StampImageAtHits(const std::string& inputPath, const std::string& outputPath,
                     const std::string& keyword, const char* imageBytes, int imageLength,
                     double width, double height, const std::string& ownerPassword,
                     const std::vector<KeywordHit>& hits) {
    return RunGuarded([&] {
        if (inputPath.empty()) {
            return kKeywordEmptyArgument;
        }
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::u8path(inputPath), ec)) {
            return kKeywordInputMissing;
        }
        if (keyword.empty() || noImage(imageBytes, imageLength)) {
            return kKeywordEmptyArgument;
        }
        if (hits.empty()) {
            return 0;
        }
        PdfHandle pdf = OpenInputDocument(inputPath, outputPath.c_str());
        if (!pdf) {
            return kKeywordInputNotOpened;
        }
        return stampPages(pdf.get(), imageBytes, imageLength, width, height, ownerPassword, hits);
    });
}

extern "C" int MarqelByKeyword(const char* inputPath, const char* outputPath, const char* keyword,
                               const char* imageBytes, int imageLength, double width, double height,
                               const char* ownerPassword) {
    return RunGuarded([&] {
        const std::string input = inputPath != nullptr ? inputPath : "";
        const std::string word = keyword != nullptr ? keyword : "";
        if (input.empty()) {
            return kKeywordInputMissing;
        }
        if (word.empty()) {
            return kKeywordEmptyArgument;
        }
        // One document serves the search and the stamping: the search changes nothing in it,
        // and the input is read and its page tree walked once instead of twice.
        PdfHandle pdf = OpenInputDocument(input, outputPath != nullptr ? outputPath : "");
        if (!pdf) {
            return kKeywordInputNotOpened;
        }
        std::vector<KeywordHit> hits;
        int found = 0;
        {
            Stopwatch stopwatch;
            found = searchPages(pdf.get(), word, hits);
        }
        if (found < 1) {
            return found;
        }
        if (noImage(imageBytes, imageLength)) {
            return kKeywordEmptyArgument;
        }
        return stampPages(pdf.get(), imageBytes, imageLength, width, height,
                          ownerPassword != nullptr ? ownerPassword : "", hits);
    });
}
