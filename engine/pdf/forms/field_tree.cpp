#include "pdf/forms/field_tree.h"

#include <set>

namespace relettra::pdf {

namespace {

// Deeper field trees than this are taken as broken.
constexpr int kMaxDepth = 64;

// `object`'s /Parent, or a null handle at the root, at a loop or past the depth limit.
QPDFObjectHandle parentOf(QPDFObjectHandle object, std::set<QPDFObjGen>& seen) {
    if (!object.isDictionary() || seen.size() >= kMaxDepth) {
        return QPDFObjectHandle();
    }
    QPDFObjectHandle parent = object.getKey("/Parent");
    if (!parent.isDictionary() ||
        (parent.isIndirect() && !seen.insert(parent.getObjGen()).second)) {
        return QPDFObjectHandle();
    }
    return parent;
}

bool hasSignedField(QPDFObjectHandle fields, std::set<QPDFObjGen>& seen, int depth) {
    if (!fields.isArray() || depth > kMaxDepth) {
        return false;
    }
    for (QPDFObjectHandle field : fields.getArrayAsVector()) {
        if (!field.isDictionary() ||
            (field.isIndirect() && !seen.insert(field.getObjGen()).second)) {
            continue;
        }
        QPDFObjectHandle type = inheritedAttribute(field, "/FT");
        if (type.isName() && type.getName() == "/Sig" && field.getKey("/V").isDictionary()) {
            return true;
        }
        if (hasSignedField(field.getKey("/Kids"), seen, depth + 1)) {
            return true;
        }
    }
    return false;
}

}  // namespace

QPDFObjectHandle inheritedAttribute(QPDFObjectHandle object, const std::string& key) {
    std::set<QPDFObjGen> seen;
    if (object.isIndirect()) seen.insert(object.getObjGen());
    for (QPDFObjectHandle at = object; at.isDictionary(); at = parentOf(at, seen)) {
        if (at.hasKey(key) && !at.getKey(key).isNull()) {
            return at.getKey(key);
        }
    }
    return QPDFObjectHandle();
}

QPDFObjectHandle terminalField(QPDFObjectHandle widget) {
    std::set<QPDFObjGen> seen;
    if (widget.isIndirect()) seen.insert(widget.getObjGen());
    QPDFObjectHandle firstParent;
    for (QPDFObjectHandle at = widget; at.isDictionary(); at = parentOf(at, seen)) {
        if (at.hasKey("/T")) {
            return at;
        }
        if (!firstParent.isInitialized() && !at.isSameObjectAs(widget)) {
            firstParent = at;
        }
    }
    return firstParent.isInitialized() ? firstParent : widget;
}

std::vector<QPDFObjectHandle> widgetsOf(QPDFObjectHandle field) {
    std::vector<QPDFObjectHandle> widgets;
    if (!field.isDictionary()) {
        return widgets;
    }
    QPDFObjectHandle subtype = field.getKey("/Subtype");
    if (subtype.isName() && subtype.getName() == "/Widget") {
        widgets.push_back(field);
    }
    QPDFObjectHandle kids = field.getKey("/Kids");
    if (kids.isArray()) {
        std::set<QPDFObjGen> seen;
        for (QPDFObjectHandle kid : kids.getArrayAsVector()) {
            if (!kid.isDictionary() || kid.hasKey("/T") ||
                (kid.isIndirect() && !seen.insert(kid.getObjGen()).second)) {
                continue;
            }
            QPDFObjectHandle kidType = kid.getKey("/Subtype");
            if (kidType.isName() && kidType.getName() == "/Widget") {
                widgets.push_back(kid);
            }
        }
    }
    return widgets;
}

long long fieldFlags(QPDFObjectHandle field) {
    QPDFObjectHandle flags = inheritedAttribute(field, "/Ff");
    return flags.isInteger() ? flags.getIntValue() : 0;
}

bool documentIsSigned(QPDF& pdf) {
    QPDFObjectHandle root = pdf.getRoot();
    QPDFObjectHandle perms = root.getKey("/Perms");
    if (perms.isDictionary() && !perms.getKeys().empty()) {
        return true;
    }
    QPDFObjectHandle form = root.getKey("/AcroForm");
    if (!form.isDictionary()) {
        return false;
    }
    QPDFObjectHandle sigFlags = form.getKey("/SigFlags");
    if (sigFlags.isInteger() && (sigFlags.getIntValue() & 3) != 0) {
        return true;
    }
    std::set<QPDFObjGen> seen;
    return hasSignedField(form.getKey("/Fields"), seen, 0);
}

}  // namespace relettra::pdf
