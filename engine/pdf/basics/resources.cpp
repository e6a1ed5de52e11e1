#include "pdf/basics/resources.h"

#include <qpdf/QPDFPageObjectHelper.hh>

namespace relettra::pdf {

QPDFObjectHandle ownResourceCategory(QPDFObjectHandle owner, const std::string& category) {
    // Both levels are copied before they change: they may be inherited, shared with other
    // pages, or (in a copied form) still shared with the original.
    QPDFObjectHandle dict = owner.isStream() ? owner.getDict() : owner;
    QPDFObjectHandle resources =
        owner.isStream() ? dict.getKey("/Resources")
                         : QPDFPageObjectHelper(owner).getAttribute("/Resources", false);
    resources =
        resources.isDictionary() ? resources.shallowCopy() : QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Resources", resources);
    QPDFObjectHandle group = resources.getKey(category);
    group = group.isDictionary() ? group.shallowCopy() : QPDFObjectHandle::newDictionary();
    resources.replaceKey(category, group);
    return group;
}

}  // namespace relettra::pdf
