#include "FormCases.h"

#include <vector>

#include "ContentWriter.h"
#include "KitDocument.h"

namespace {

using OH = QPDFObjectHandle;

// An appearance stream showing `text` in Helvetica (/Helv) at 12 points, `width` by `height`.
OH valueAppearance(KitDocument& document, OH font, const std::string& text, double width,
                   double height, const std::vector<double>& matrix = {}) {
    ContentWriter content;
    content.name("Tx").op("BMC").op("q");
    content.beginText().font("Helv", 12).op("0 g").moveText(2, (height - 12) / 2 + 3);
    content.show(text).endText().op("Q").op("EMC");
    OH stream = document.qpdf().newStream(content.data());
    OH dict = stream.getDict();
    dict.replaceKey("/Type", OH::newName("/XObject"));
    dict.replaceKey("/Subtype", OH::newName("/Form"));
    dict.replaceKey("/BBox", OH::newArray(OH::Rectangle(0, 0, width, height)));
    if (!matrix.empty()) {
        dict.replaceKey("/Matrix",
                        OH::newFromMatrix(QPDFObjectHandle::Matrix(
                            matrix[0], matrix[1], matrix[2], matrix[3], matrix[4], matrix[5])));
    }
    dict.replaceKey("/Resources", document.fontResources({{"Helv", font}}));
    return stream;
}

// A widget annotation on `page` at `rect`, its normal appearance `appearance` (none when null).
OH widget(KitDocument& document, OH page, const std::vector<double>& rect, OH appearance) {
    OH annot = OH::newDictionary();
    annot.replaceKey("/Type", OH::newName("/Annot"));
    annot.replaceKey("/Subtype", OH::newName("/Widget"));
    annot.replaceKey("/Rect", OH::newArray(OH::Rectangle(rect[0], rect[1], rect[2], rect[3])));
    annot.replaceKey("/F", OH::newInteger(4));
    annot.replaceKey("/P", page);
    if (appearance.isInitialized()) {
        OH ap = OH::newDictionary();
        ap.replaceKey("/N", appearance);
        annot.replaceKey("/AP", ap);
    }
    return document.qpdf().makeIndirectObject(annot);
}

// A text field of its own (field and widget in one dictionary).
OH textField(KitDocument& document, OH page, OH font, const std::string& name,
             const std::string& value, const std::vector<double>& rect, bool withAppearance) {
    OH appearance = withAppearance ? valueAppearance(document, font, value, rect[2] - rect[0],
                                                     rect[3] - rect[1])
                                   : OH();
    OH field = widget(document, page, rect, appearance);
    field.replaceKey("/FT", OH::newName("/Tx"));
    field.replaceKey("/T", OH::newString(name));
    field.replaceKey("/V", OH::newString(value));
    return field;
}

void link(OH parent, const std::vector<OH>& kids) {
    for (OH kid : kids) kid.replaceKey("/Parent", parent);
    parent.replaceKey("/Kids", OH::newArray(kids));
}

void writeFormFields(const std::string& path) {
    KitDocument document;
    auto& pdf = document.qpdf();
    OH font = document.standardFont("Helvetica");
    ContentWriter labels;
    const std::vector<std::pair<double, const char*>> rows = {
        {702, "Reference"}, {652, "Group"},  {602, "No appearance set"}, {552, "Unknown font"},
        {502, "Not drawn"}, {402, "Turned"}, {106, "Reference again"},
    };
    for (const auto& [y, text] : rows) labels.textAt("F1", 10, 40, y, text);
    OH page = document.addPage(PageBox{}, document.fontResources({{"F1", font}}), labels.data());

    // One field shown by two widgets, its value and /DA in the field.
    OH reference = pdf.makeIndirectObject(OH::newDictionary());
    reference.replaceKey("/FT", OH::newName("/Tx"));
    reference.replaceKey("/T", OH::newString("reference"));
    reference.replaceKey("/V", OH::newString("REF-2024-001"));
    reference.replaceKey("/DA", OH::newString("/Helv 12 Tf 0 g"));
    OH top = widget(document, page, {160, 694, 360, 716},
                    valueAppearance(document, font, "REF-2024-001", 200, 22));
    OH bottom = widget(document, page, {160, 98, 360, 120},
                       valueAppearance(document, font, "REF-2024-001", 200, 22));
    link(reference, {top, bottom});

    // Two fields that inherit their value, /DA and centred quadding from their parent.
    OH group = pdf.makeIndirectObject(OH::newDictionary());
    group.replaceKey("/FT", OH::newName("/Tx"));
    group.replaceKey("/T", OH::newString("group"));
    group.replaceKey("/V", OH::newString("Shared default"));
    group.replaceKey("/DA", OH::newString("/Helv 11 Tf 0 0 0.6 rg"));
    group.replaceKey("/Q", OH::newInteger(1));
    OH first = widget(document, page, {160, 644, 360, 666},
                      valueAppearance(document, font, "Shared default", 200, 22));
    first.replaceKey("/T", OH::newString("first"));
    OH second = widget(document, page, {380, 644, 580, 666},
                       valueAppearance(document, font, "Shared default", 200, 22));
    second.replaceKey("/T", OH::newString("second"));
    link(group, {first, second});

    // No /DA in the field nor in the form.
    OH noDa = textField(document, page, font, "plain", "Plain words", {160, 594, 360, 616}, true);
    // A /DA naming a font that neither the form nor the old appearance holds.
    OH unknown =
        textField(document, page, font, "unknown", "Unknown face", {160, 544, 360, 566}, true);
    unknown.replaceKey("/DA", OH::newString("/F9 12 Tf 0 g"));
    // No appearance at all (and no /NeedAppearances): viewers show nothing until one is written.
    OH noAp = textField(document, page, font, "undrawn", "Missing appearance", {160, 494, 400, 516},
                        false);
    noAp.replaceKey("/DA", OH::newString("/Helv 12 Tf 0 g"));
    noAp.replaceKey("/Q", OH::newInteger(2));
    OH mk = OH::newDictionary();
    mk.replaceKey("/BC", OH::newArray({OH::newReal(0), OH::newReal(0), OH::newReal(1)}));
    mk.replaceKey("/BG", OH::newArray({OH::newReal(1), OH::newReal(1), OH::newReal(0.8)}));
    noAp.replaceKey("/MK", mk);
    // A widget turned by 90 degrees (/MK /R): its text runs up the page.
    OH turned = widget(document, page, {160, 380, 182, 480},
                       valueAppearance(document, font, "Upward", 100, 22, {0, 1, -1, 0, 22, 0}));
    turned.replaceKey("/FT", OH::newName("/Tx"));
    turned.replaceKey("/T", OH::newString("turned"));
    turned.replaceKey("/V", OH::newString("Upward"));
    turned.replaceKey("/DA", OH::newString("/Helv 12 Tf 0 g"));
    OH turnedMk = OH::newDictionary();
    turnedMk.replaceKey("/R", OH::newInteger(90));
    turned.replaceKey("/MK", turnedMk);

    page.replaceKey("/Annots",
                    OH::newArray({top, first, second, noDa, unknown, noAp, turned, bottom}));
    OH form = OH::newDictionary();
    form.replaceKey("/Fields", OH::newArray({reference, group, noDa, unknown, noAp, turned}));
    form.replaceKey("/DR", document.fontResources({{"Helv", font}}));
    pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(form));
    document.write(path);
}

// A filled field beside a signature field holding a signature (its bytes stand in for one).
void writeFormSigned(const std::string& path) {
    KitDocument document;
    auto& pdf = document.qpdf();
    OH font = document.standardFont("Helvetica");
    ContentWriter labels;
    labels.textAt("F1", 10, 40, 702, "Signed by");
    OH page = document.addPage(PageBox{}, document.fontResources({{"F1", font}}), labels.data());
    OH name =
        textField(document, page, font, "signer", "Ida Lindqvist", {160, 694, 360, 716}, true);
    name.replaceKey("/DA", OH::newString("/Helv 12 Tf 0 g"));

    OH signature = OH::newDictionary();
    signature.replaceKey("/Type", OH::newName("/Sig"));
    signature.replaceKey("/Filter", OH::newName("/Adobe.PPKLite"));
    signature.replaceKey("/SubFilter", OH::newName("/adbe.pkcs7.detached"));
    signature.replaceKey("/ByteRange", OH::newArray({OH::newInteger(0), OH::newInteger(0),
                                                     OH::newInteger(0), OH::newInteger(0)}));
    signature.replaceKey("/Contents", OH::newString(std::string(64, '\0')));
    signature.replaceKey("/M", OH::newString("D:20240101000000Z"));
    OH sigField = widget(document, page, {0, 0, 0, 0}, OH());
    sigField.replaceKey("/FT", OH::newName("/Sig"));
    sigField.replaceKey("/T", OH::newString("signature"));
    sigField.replaceKey("/V", pdf.makeIndirectObject(signature));

    page.replaceKey("/Annots", OH::newArray({name, sigField}));
    OH form = OH::newDictionary();
    form.replaceKey("/Fields", OH::newArray({name, sigField}));
    form.replaceKey("/DR", document.fontResources({{"Helv", font}}));
    form.replaceKey("/SigFlags", OH::newInteger(3));
    pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(form));
    document.write(path);
}

}  // namespace

void writeFormCases(const std::string& dir) {
    writeFormFields(dir + "/form_fields.pdf");
    writeFormSigned(dir + "/form_signed.pdf");
}
