#include "pdf/page_editor.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <qpdf/QPDF.hh>
#include <stdexcept>
#include <vector>

#include "pdf/basics/compressed_stream.h"
#include "pdf/basics/pdf_number.h"
#include "pdf/basics/resources.h"

namespace relettra::pdf {

PageEditor::PageEditor(QPDFObjectHandle page, int pageNumber)
    : page_(page), pageNumber_(pageNumber), geometry_(PageGeometry::fromPage(page)) {}

std::string PageEditor::addResource(const std::string& category, QPDFObjectHandle object,
                                    const std::string& prefix) {
    QPDFObjectHandle group = ownResourceCategory(
        appearance_.isInitialized() ? appearance_ : page_.getObjectHandle(), category);
    if (object.isIndirect()) {
        for (auto const& key : group.getKeys()) {
            if (group.getKey(key).getObjGen() == object.getObjGen()) {
                return key;
            }
        }
    }
    for (int i = 1;; ++i) {
        std::string name = "/" + prefix + std::to_string(i);
        if (!group.hasKey(name)) {
            group.replaceKey(name, object);
            return name;
        }
    }
}

PageContent& PageEditor::parsedContent() {
    if (!parsed_) {
        parsed_ = std::make_unique<PageContent>(page_.getObjectHandle());
    }
    return *parsed_;
}

void PageEditor::appendUprightContent(const std::string& content) {
    (appearance_.isInitialized() ? addedToAppearance_ : added_) += content;
}

namespace {

// The matrix that undoes `m` (the identity when `m` cannot be undone).
QPDFMatrix inverse(const QPDFMatrix& m) {
    const double det = m.a * m.d - m.b * m.c;
    if (det == 0) {
        return QPDFMatrix();
    }
    return QPDFMatrix(m.d / det, -m.b / det, -m.c / det, m.a / det, (m.c * m.f - m.d * m.e) / det,
                      (m.b * m.e - m.a * m.f) / det);
}

std::string cmOperands(const QPDFMatrix& m) {
    return formatPdfNumber(m.a) + " " + formatPdfNumber(m.b) + " " + formatPdfNumber(m.c) + " " +
           formatPdfNumber(m.d) + " " + formatPdfNumber(m.e) + " " + formatPdfNumber(m.f) + " cm\n";
}

}  // namespace

void PageEditor::drawIntoAppearance(QPDFObjectHandle stream, const QPDFMatrix& formToUpright) {
    appearance_ = stream;
    uprightToAppearance_ = inverse(formToUpright);
}

bool PageEditor::commit(QPDF& pdf, bool alreadyWrapped, QPDFObjectHandle saveState) {
    if (!addedToAppearance_.empty()) {
        // The appearance's own content runs inside q … Q, as the page's does.
        std::shared_ptr<Buffer> data = appearance_.getStreamData(qpdf_dl_generalized);
        std::string content = "q\n";
        content.append(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
        content += "\nQ\nq " + cmOperands(uprightToAppearance_) + addedToAppearance_ + "Q\n";
        replaceWithCompressed(appearance_, content);
        addedToAppearance_.clear();
    }
    appearance_ = QPDFObjectHandle();
    if (added_.empty()) {
        return alreadyWrapped;
    }
    QPDFMatrix m = geometry_.uprightToUser();
    std::string stream;
    if (!alreadyWrapped) {
        page_.addPageContents(saveState, true);
        stream += "Q\n";
    }
    stream += "q " + cmOperands(m);
    stream += added_;
    stream += "Q\n";
    page_.addPageContents(newCompressedStream(pdf, stream), false);
    added_.clear();
    parsed_.reset();
    return true;
}

}  // namespace relettra::pdf
