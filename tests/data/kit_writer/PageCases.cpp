#include "PageCases.h"

#include <array>

#include "ContentWriter.h"
#include "KitDocument.h"

void writeMultipage(const std::string& path) {
    KitDocument document;
    auto resources = document.fontResources(
        {{"F1", document.standardFont("Helvetica")}, {"F2", document.standardFont("Times-Roman")}});
    const std::array<const char*, 3> sections = {"Alpha", "Bravo", "Charlie"};
    const std::array<const char*, 3> ordinals = {"one", "two", "three"};
    for (std::size_t index = 0; index < sections.size(); ++index) {
        ContentWriter content;
        content.textAt("F1", 12, 72, 720, std::string("Section ") + sections[index] + " overview");
        content.textAt("F1", 12, 72, 690, "Please STAMPME here");
        content.textAt("F1", 12, 72, 660, std::string("Notes for page ") + ordinals[index]);
        content.textAt("F1", 12, 72, 400, "Again STAMPME appears later");
        if (index == 1) {
            // One line, two strings: "SPLIT" ends the first, "WORD" starts the second.
            content.beginText().font("F1", 12).moveText(72, 600);
            content.show("Find SPLIT").show("WORD now");
            content.endText();
        }
        if (index == 2) {
            // Times-Roman 8: digits and b d g h n o p u y are 500 units wide, so each
            // 4-letter string is exactly 16 pt long, and half a space is exactly 1 pt.
            content.textAt("F2", 8, 100, 300, "bong");
            content.textAt("F2", 8, 117, 300, "0001");  // gap 1.0 pt
            content.textAt("F2", 8, 100, 280, "hypo");
            content.textAt("F2", 8, 117.5, 280, "0002");  // gap 1.5 pt
        }
        document.addPage(PageBox{}, resources, content.data());
    }
    document.write(path);
}

void writeRotatedPage(const std::string& path, int rotate, const std::string& marker) {
    KitDocument document;
    auto resources = document.fontResources({{"F1", document.standardFont("Helvetica")}});
    ContentWriter content;
    content.textAt("F1", 12, 72, 720, "Page turned " + marker + " degrees");
    content.textAt("F1", 12, 72, 696, "Second line of the turned page");
    content.textAt("F1", 12, 450, 100, "CORNERWORD");
    auto page = document.addPage(PageBox{}, resources, content.data());
    page.replaceKey("/Rotate", QPDFObjectHandle::newInteger(rotate));
    document.write(path);
}

void writeOffsetMediaBox(const std::string& path) {
    KitDocument document;
    auto resources = document.fontResources({{"F1", document.standardFont("Helvetica")}});
    const PageBox media{100, 200, 712, 992};

    ContentWriter first;
    first.textAt("F1", 12, 172, 920, "Offset media box page");
    first.textAt("F1", 12, 172, 896, "Origin is not zero");
    first.textAt("F1", 12, 400, 300, "LOWERWORD");
    document.addPage(media, resources, first.data());

    ContentWriter second;
    second.textAt("F1", 12, 172, 900, "Cropped page text");
    second.textAt("F1", 12, 200, 300, "CROPWORD");
    auto page = document.addPage(media, resources, second.data());
    page.replaceKey("/CropBox", boxArray(PageBox{150, 250, 662, 942}));
    document.write(path);
}

void writeFormXObject(const std::string& path) {
    using OH = QPDFObjectHandle;
    KitDocument document;
    auto font = document.standardFont("Helvetica");

    ContentWriter formContent;
    formContent.textAt("F1", 12, 0, 10, "Shared form text");
    auto form = document.qpdf().newStream(formContent.data());
    auto formDict = form.getDict();
    formDict.replaceKey("/Type", OH::newName("/XObject"));
    formDict.replaceKey("/Subtype", OH::newName("/Form"));
    formDict.replaceKey("/BBox", OH::newArray(OH::Rectangle(0, 0, 300, 40)));
    formDict.replaceKey("/Matrix", OH::newArray(OH::Matrix(1, 0, 0, 1, 10, 20)));
    formDict.replaceKey("/Resources", document.fontResources({{"F1", font}}));

    const std::array<const char*, 2> names = {"one", "two"};
    const std::array<std::array<double, 2>, 2> placements = {{{72, 500}, {200, 300}}};
    for (std::size_t index = 0; index < names.size(); ++index) {
        auto resources = document.fontResources({{"F1", font}});
        auto xobjects = OH::newDictionary();
        xobjects.replaceKey("/Fm1", form);
        resources.replaceKey("/XObject", xobjects);

        ContentWriter content;
        content.textAt("F1", 12, 72, 720, std::string("Page ") + names[index] + " direct text");
        content.op("q").num(1).num(0).num(0).num(1).num(placements[index][0]);
        content.num(placements[index][1]).op("cm");
        content.name("Fm1").op("Do").op("Q");
        content.textAt("F1", 12, 72, 100, "Footer after form");
        document.addPage(PageBox{}, resources, content.data());
    }
    document.write(path);
}
