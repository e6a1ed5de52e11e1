#include "pdf/page_editor.h"

#include <memory>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>

#include "pdf/basics/pdf_number.h"
#include "pdf/resources.h"

namespace relettra::pdf {

PageEditor::PageEditor(QPDFObjectHandle page, int pageNumber)
    : page_(page), pageNumber_(pageNumber), geometry_(PageGeometry::fromPage(page)) {}

std::string PageEditor::addResource(const std::string& category, QPDFObjectHandle object,
                                    const std::string& prefix) {
    QPDFObjectHandle group = ownResourceCategory(page_.getObjectHandle(), category);
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
    added_ += content;
}

bool PageEditor::commit(QPDF& pdf, bool alreadyWrapped, QPDFObjectHandle saveState) {
    if (added_.empty()) {
        return alreadyWrapped;
    }
    QPDFMatrix m = geometry_.uprightToUser();
    std::string stream;
    if (!alreadyWrapped) {
        page_.addPageContents(saveState, true);
        stream += "Q\n";
    }
    stream += "q " + formatPdfNumber(m.a) + " " + formatPdfNumber(m.b) + " " +
              formatPdfNumber(m.c) + " " + formatPdfNumber(m.d) + " " + formatPdfNumber(m.e) + " " +
              formatPdfNumber(m.f) + " cm\n";
    stream += added_;
    stream += "Q\n";
    page_.addPageContents(newCompressedStream(pdf, stream), false);
    added_.clear();
    parsed_.reset();
    return true;
}

std::shared_ptr<Buffer> compressContent(const std::string& data) {
    // The compression level is a process-wide setting of QPDF's Flate pipeline: set for this
    // call only.
    struct FastCompression {
        FastCompression() { Pl_Flate::setCompressionLevel(1); }
        ~FastCompression() { Pl_Flate::setCompressionLevel(-1); }
    } fast;
    Pl_Buffer buffer("compressed");
    Pl_Flate flate("flate", &buffer, Pl_Flate::a_deflate);
    flate.write(reinterpret_cast<unsigned char const*>(data.data()), data.size());
    flate.finish();
    return buffer.getBufferSharedPointer();
}

void replaceWithCompressed(QPDFObjectHandle stream, const std::string& data) {
    stream.replaceStreamData(compressContent(data), QPDFObjectHandle::newName("/FlateDecode"),
                             QPDFObjectHandle::newNull());
}

QPDFObjectHandle newCompressedStream(QPDF& pdf, const std::string& data) {
    QPDFObjectHandle stream = pdf.newStream();
    replaceWithCompressed(stream, data);
    return stream;
}

}  // namespace relettra::pdf
