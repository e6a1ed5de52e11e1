#include "page_writer.h"

#include "displayed_page.h"
#include "file_output.h"
#include "page_image.h"
#include "page_words.h"
#include "png_writer.h"
#include "text_layer_writer.h"

namespace {

bool writeImage(const poppler::page& page, const std::filesystem::path& file, std::string& reason) {
    std::string png;
    {
        const poppler::image image = renderPageImage(page);
        if (!image.is_valid()) {
            reason = "cannot be rendered";
            return false;
        }
        png = encodePng(RgbView{reinterpret_cast<const unsigned char*>(image.const_data()),
                                image.width(), image.height(),
                                static_cast<size_t>(image.bytes_per_row())});
    }
    if (png.empty()) {
        reason = "cannot be encoded as PNG";
        return false;
    }
    if (!writeWholeFile(file, png)) {
        reason = "cannot write " + file.u8string();
        return false;
    }
    return true;
}

bool writeTextLayer(const poppler::page& page, const PageFiles& files, bool withImage,
                    std::string& reason) {
    const double pageHeight = displayedPageSize(page).height;
    std::vector<LayerWord> layer;
    for (PageWord& word : readPageWords(page)) {
        layer.push_back(LayerWord{std::move(word.text), ruleBoxForWord(word.geometry, pageHeight)});
    }
    const std::string imageName = withImage ? files.image.filename().u8string() : std::string();
    if (!writeWholeFile(files.textLayer, formatTextLayer(layer, imageName))) {
        reason = "cannot write " + files.textLayer.u8string();
        return false;
    }
    return true;
}

}  // namespace

bool writePage(const poppler::page& page, const PageFiles& files, bool textOnly,
               std::string& reason) {
    const bool written = (textOnly || writeImage(page, files.image, reason)) &&
                         writeTextLayer(page, files, !textOnly, reason);
    if (!written) {
        if (!textOnly) removeIfPresent(files.image);
        removeIfPresent(files.textLayer);
    }
    return written;
}
