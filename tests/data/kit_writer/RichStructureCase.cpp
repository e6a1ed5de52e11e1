#include "RichStructureCase.h"

#include <array>
#include <vector>

#include "ContentWriter.h"
#include "KitDocument.h"

namespace {

using OH = QPDFObjectHandle;

const char* const xmpPacket =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
    " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
    "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Kit Structure Sample</rdf:li>"
    "</rdf:Alt></dc:title>\n"
    "   <dc:creator><rdf:Seq><rdf:li>Kit Author</rdf:li></rdf:Seq></dc:creator>\n"
    "  </rdf:Description>\n"
    " </rdf:RDF>\n"
    "</x:xmpmeta>\n"
    "<?xpacket end=\"w\"?>\n";

OH makeOutlines(KitDocument& document, const std::vector<OH>& pages) {
    auto& pdf = document.qpdf();
    const std::array<const char*, 3> titles = {"Introduction", "Form page", "Closing notes"};
    OH root = pdf.makeIndirectObject(OH::newDictionary());
    std::vector<OH> items;
    for (std::size_t index = 0; index < titles.size(); ++index) {
        OH item = OH::newDictionary();
        item.replaceKey("/Title", OH::newString(titles[index]));
        item.replaceKey("/Parent", root);
        item.replaceKey("/Dest", OH::newArray({pages[index], OH::newName("/Fit")}));
        items.push_back(pdf.makeIndirectObject(item));
    }
    for (std::size_t index = 0; index < items.size(); ++index) {
        if (index > 0) {
            items[index].replaceKey("/Prev", items[index - 1]);
        }
        if (index + 1 < items.size()) {
            items[index].replaceKey("/Next", items[index + 1]);
        }
    }
    root.replaceKey("/Type", OH::newName("/Outlines"));
    root.replaceKey("/First", items.front());
    root.replaceKey("/Last", items.back());
    root.replaceKey("/Count", OH::newInteger(static_cast<long long>(items.size())));
    return root;
}

OH makeTextField(KitDocument& document, OH page, OH font) {
    auto& pdf = document.qpdf();
    ContentWriter appearance;
    appearance.name("Tx").op("BMC").op("q");
    appearance.beginText().font("Helv", 12).moveText(2, 6).show("Jane Doe").endText();
    appearance.op("Q").op("EMC");
    OH stream = pdf.newStream(appearance.data());
    stream.getDict().replaceKey("/Type", OH::newName("/XObject"));
    stream.getDict().replaceKey("/Subtype", OH::newName("/Form"));
    stream.getDict().replaceKey("/BBox", OH::newArray(OH::Rectangle(0, 0, 200, 22)));
    stream.getDict().replaceKey("/Resources", document.fontResources({{"Helv", font}}));

    OH appearances = OH::newDictionary();
    appearances.replaceKey("/N", stream);

    OH field = OH::newDictionary();
    field.replaceKey("/Type", OH::newName("/Annot"));
    field.replaceKey("/Subtype", OH::newName("/Widget"));
    field.replaceKey("/FT", OH::newName("/Tx"));
    field.replaceKey("/T", OH::newString("customer_name"));
    field.replaceKey("/V", OH::newString("Jane Doe"));
    field.replaceKey("/DA", OH::newString("/Helv 12 Tf 0 g"));
    field.replaceKey("/F", OH::newInteger(4));
    field.replaceKey("/Rect", OH::newArray(OH::Rectangle(150, 600, 350, 622)));
    field.replaceKey("/P", page);
    field.replaceKey("/AP", appearances);
    return pdf.makeIndirectObject(field);
}

}  // namespace

void writeRichStructure(const std::string& path) {
    KitDocument document;
    auto& pdf = document.qpdf();
    auto font = document.standardFont("Helvetica");
    auto resources = document.fontResources({{"F1", font}});

    const std::array<const char*, 3> headings = {"Introduction page", "Form page",
                                                 "Closing notes page"};
    std::vector<OH> pages;
    for (const char* heading : headings) {
        ContentWriter content;
        content.textAt("F1", 18, 72, 720, heading);
        content.textAt("F1", 12, 72, 690, "Structure survives rewriting");
        pages.push_back(document.addPage(PageBox{}, resources, content.data()));
    }
    // Page 1: a visible link to page 3. Page 2: a label for the form field.
    ContentWriter linkText;
    linkText.textAt("F1", 12, 72, 610, "Go to closing notes");
    pages[0].replaceKey(
        "/Contents", OH::newArray({pages[0].getKey("/Contents"), pdf.newStream(linkText.data())}));
    ContentWriter fieldLabel;
    fieldLabel.textAt("F1", 12, 72, 606, "Name:");
    pages[1].replaceKey("/Contents", OH::newArray({pages[1].getKey("/Contents"),
                                                   pdf.newStream(fieldLabel.data())}));

    OH link = OH::newDictionary();
    link.replaceKey("/Type", OH::newName("/Annot"));
    link.replaceKey("/Subtype", OH::newName("/Link"));
    link.replaceKey("/Rect", OH::newArray(OH::Rectangle(70, 605, 190, 622)));
    link.replaceKey("/Border",
                    OH::newArray({OH::newInteger(0), OH::newInteger(0), OH::newInteger(1)}));
    link.replaceKey("/Dest", OH::newArray({pages[2], OH::newName("/Fit")}));
    pages[0].replaceKey("/Annots", OH::newArray({pdf.makeIndirectObject(link)}));

    OH field = makeTextField(document, pages[1], font);
    pages[1].replaceKey("/Annots", OH::newArray({field}));

    OH root = pdf.getRoot();
    OH acroForm = OH::newDictionary();
    acroForm.replaceKey("/Fields", OH::newArray({field}));
    acroForm.replaceKey("/DA", OH::newString("/Helv 0 Tf 0 g"));
    acroForm.replaceKey("/DR", document.fontResources({{"Helv", font}}));
    root.replaceKey("/AcroForm", pdf.makeIndirectObject(acroForm));

    root.replaceKey("/Outlines", makeOutlines(document, pages));
    root.replaceKey("/PageMode", OH::newName("/UseOutlines"));

    // Pages i, ii, then 1.
    root.replaceKey("/PageLabels", OH::parse("<< /Nums [0 << /S /r >> 2 << /S /D /St 1 >>] >>"));

    OH metadata = pdf.newStream(xmpPacket);
    metadata.getDict().replaceKey("/Type", OH::newName("/Metadata"));
    metadata.getDict().replaceKey("/Subtype", OH::newName("/XML"));
    root.replaceKey("/Metadata", metadata);

    OH info = OH::newDictionary();
    info.replaceKey("/Title", OH::newString("Kit Structure Sample"));
    info.replaceKey("/Author", OH::newString("Kit Author"));
    pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(info));

    document.write(path);
}
