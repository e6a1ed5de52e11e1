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
#include "pdf/content/annotation_appearances.h"

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
    if (appearance_.isInitialized()) {
        addedToAppearance_ += content;
    } else {
        addedPieces_.push_back(content);
    }
}

namespace {

std::string cmOperands(const QPDFMatrix& m) {
    return formatPdfNumber(m.a) + " " + formatPdfNumber(m.b) + " " + formatPdfNumber(m.c) + " " +
           formatPdfNumber(m.d) + " " + formatPdfNumber(m.e) + " " + formatPdfNumber(m.f) + " cm\n";
}

}  // namespace

void PageEditor::drawIntoAppearance(QPDFObjectHandle stream, const QPDFMatrix& formToUpright,
                                    QPDFObjectHandle annotation) {
    appearance_ = stream;
    uprightToAppearance_ = inverseMatrix(formToUpright);
    appearanceToUpright_ = formToUpright;
    annotation_ = annotation;
    appearanceReach_.reset();
}

void PageEditor::noteReach(const QPDFObjectHandle::Rectangle& upright) {
    if (!appearance_.isInitialized()) return;
    if (!appearanceReach_) {
        appearanceReach_ = upright;
        return;
    }
    QPDFObjectHandle::Rectangle& r = *appearanceReach_;
    r = QPDFObjectHandle::Rectangle(std::min(r.llx, upright.llx), std::min(r.lly, upright.lly),
                                    std::max(r.urx, upright.urx), std::max(r.ury, upright.ury));
}

void PageEditor::finishAppearanceDrawing() {
    if (!addedToAppearance_.empty()) {
        // The appearance's own content runs inside q … Q, as the page's does.
        std::shared_ptr<Buffer> data = appearance_.getStreamData(qpdf_dl_generalized);
        std::string content = "q\n";
        content.append(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
        content += "\nQ\nq " + cmOperands(uprightToAppearance_) + addedToAppearance_ + "Q\n";
        replaceWithCompressed(appearance_, content);
        addedToAppearance_.clear();
        if (appearanceReach_) {
            widenAppearance(appearance_, annotation_, appearanceToUpright_,
                            geometry_.uprightToUser(), *appearanceReach_);
        }
    }
    appearance_ = QPDFObjectHandle();
    annotation_ = QPDFObjectHandle();
    appearanceReach_.reset();
}

bool PageEditor::commit(QPDF& pdf, bool alreadyWrapped, QPDFObjectHandle saveState) {
    finishAppearanceDrawing();
    if (addedPieces_.empty()) {
        return alreadyWrapped;
    }
    QPDFMatrix m = geometry_.uprightToUser();
    std::string stream;
    if (!alreadyWrapped) {
        page_.addPageContents(saveState, true);
        stream += "Q\n";
    }
    stream += "q " + cmOperands(m);
    for (const std::string& piece : addedPieces_) stream += piece;
    stream += "Q\n";
    page_.addPageContents(newCompressedStream(pdf, stream), false);
    addedPieces_.clear();
    parsed_.reset();
    return true;
}

}  // namespace relettra::pdf
