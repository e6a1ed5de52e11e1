#include "KitDocument.h"

#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

QPDFObjectHandle boxArray(const PageBox& box) {
    return QPDFObjectHandle::newArray(
        QPDFObjectHandle::Rectangle(box.llx, box.lly, box.urx, box.ury));
}

KitDocument::KitDocument() {
    pdf_.emptyPDF();
}

QPDFObjectHandle KitDocument::standardFont(const std::string& baseFont, QPDFObjectHandle encoding) {
    auto font = QPDFObjectHandle::newDictionary();
    font.replaceKey("/Type", QPDFObjectHandle::newName("/Font"));
    font.replaceKey("/Subtype", QPDFObjectHandle::newName("/Type1"));
    font.replaceKey("/BaseFont", QPDFObjectHandle::newName("/" + baseFont));
    font.replaceKey("/Encoding", encoding);
    return pdf_.makeIndirectObject(font);
}

QPDFObjectHandle KitDocument::standardFont(const std::string& baseFont) {
    return standardFont(baseFont, QPDFObjectHandle::newName("/WinAnsiEncoding"));
}

QPDFObjectHandle KitDocument::fontResources(const std::map<std::string, QPDFObjectHandle>& fonts) {
    auto fontDict = QPDFObjectHandle::newDictionary();
    for (const auto& [name, font] : fonts) {
        fontDict.replaceKey("/" + name, font);
    }
    auto resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/Font", fontDict);
    return resources;
}

QPDFObjectHandle KitDocument::addPage(const PageBox& mediaBox, QPDFObjectHandle resources,
                                      const std::string& content) {
    auto page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    page.replaceKey("/MediaBox", boxArray(mediaBox));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", pdf_.newStream(content));
    page = pdf_.makeIndirectObject(page);
    QPDFPageDocumentHelper(pdf_).addPage(QPDFPageObjectHelper(page), false);
    return page;
}

QPDFObjectHandle KitDocument::compressedStream(const std::string& data) {
    std::string compressed;
    Pl_String sink("compressed", nullptr, compressed);
    Pl_Flate flate("deflate", &sink, Pl_Flate::a_deflate);
    flate.writeString(data);
    flate.finish();
    auto stream = pdf_.newStream();
    stream.replaceStreamData(compressed, QPDFObjectHandle::newName("/FlateDecode"),
                             QPDFObjectHandle::newNull());
    return stream;
}

void KitDocument::write(const std::string& path, bool compressContent) {
    QPDFWriter writer(pdf_, path.c_str());
    writer.setCompressStreams(compressContent);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setDeterministicID(true);
    writer.write();
}
