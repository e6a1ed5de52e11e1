#include "pdf/content/content_scope.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include "pdf/basics/compressed_stream.h"
#include "pdf/basics/resources.h"
#include "pdf/content/annotation_appearances.h"

namespace relettra::pdf {

namespace {

std::string streamText(QPDFObjectHandle stream) {
    std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
    return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
}

std::string pageContentText(QPDFObjectHandle page) {
    Pl_Buffer buffer("page content");
    QPDFPageObjectHelper(page).pipeContents(&buffer);
    std::unique_ptr<Buffer> data(buffer.getBuffer());
    return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
}

}  // namespace

std::string ContentScope::editedBytes() const {
    const std::string& source = content->bytes();
    std::string out;
    out.reserve(source.size() + 64);
    std::uint32_t copied = 0;
    const auto& ops = content->operations();
    for (auto const& [index, replacement] : edits) {
        const Operation& op = ops[index];
        std::uint32_t begin = content->beginOf(op);
        out.append(source, copied, begin - copied);
        out += replacement;
        copied = content->endOf(op);
    }
    out.append(source, copied, std::string::npos);
    return out;
}

PageContent::PageContent(QPDFObjectHandle page, bool withAppearances) {
    auto scope = std::make_unique<ContentScope>();
    scope->owner = page;
    scope->resources = QPDFPageObjectHelper(page).getAttribute("/Resources", false);
    scope->content = std::make_unique<ParsedContent>(pageContentText(page));
    scopes_.push_back(std::move(scope));
    if (!withAppearances) {
        return;
    }
    for (ShownAppearance& shown : shownAppearances(page)) {
        auto appearance = std::make_unique<ContentScope>();
        appearance->owner = shown.stream;
        appearance->resources = shown.stream.getDict().getKey("/Resources");
        appearance->content = std::make_unique<ParsedContent>(streamText(shown.stream));
        appearance->annotation = shown.annotation;
        appearance->appearanceState = shown.state;
        appearance->placement = shown.placement;
        appearances_.push_back(appearance.get());
        scopes_.push_back(std::move(appearance));
    }
}

namespace {

// The annotation of `scope` shows `copy` instead of the stream it showed.
void showCopiedAppearance(const ContentScope& scope, QPDFObjectHandle copy) {
    QPDFObjectHandle annotation = scope.annotation;
    QPDFObjectHandle appearances = annotation.getKey("/AP").shallowCopy();
    if (scope.appearanceState.empty()) {
        appearances.replaceKey("/N", copy);
    } else {
        QPDFObjectHandle states = appearances.getKey("/N").shallowCopy();
        states.replaceKey(scope.appearanceState, copy);
        appearances.replaceKey("/N", states);
    }
    annotation.replaceKey("/AP", appearances);
}

}  // namespace

ContentScope* PageContent::formScope(ContentScope& parent, const std::string& name,
                                     QPDFObjectHandle form) {
    auto key = std::make_pair(&parent, name);
    auto found = forms_.find(key);
    if (found != forms_.end()) {
        return found->second;
    }
    auto scope = std::make_unique<ContentScope>();
    scope->owner = form;
    QPDFObjectHandle resources = form.getDict().getKey("/Resources");
    scope->resources = resources.isDictionary() ? resources : parent.resources;
    scope->content = std::make_unique<ParsedContent>(streamText(form));
    scope->parent = &parent;
    scope->nameInParent = name;
    ContentScope* raw = scope.get();
    scopes_.push_back(std::move(scope));
    forms_[key] = raw;
    return raw;
}

bool PageContent::hasEdits() const {
    for (auto const& scope : scopes_) {
        if (!scope->edits.empty()) {
            return true;
        }
    }
    return false;
}

void PageContent::commit(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isShared,
                         bool readAgain) {
    // A form or appearance with edits, and every form or appearance that draws it, is copied for
    // this page: parents first (they were read before their children), so each copy is named in
    // its parent's copy.
    std::vector<bool> needsCopy(scopes_.size(), false);
    for (size_t i = 0; i < scopes_.size(); ++i) {
        if (!scopes_[i]->edits.empty()) {
            for (ContentScope* s = scopes_[i].get();
                 s != nullptr && (s->isForm() || s->isAppearance()); s = s->parent) {
                for (size_t j = 0; j < scopes_.size(); ++j) {
                    if (scopes_[j].get() == s) needsCopy[j] = true;
                }
            }
        }
    }
    for (size_t i = 0; i < scopes_.size(); ++i) {
        if (!needsCopy[i]) continue;
        ContentScope& scope = *scopes_[i];
        QPDFObjectHandle copy = scope.owner.copyStream();
        if (scope.isAppearance()) {
            showCopiedAppearance(scope, copy);
        } else {
            ownResourceCategory(scope.parent->owner, "/XObject")
                .replaceKey(scope.nameInParent, copy);
        }
        scope.owner = copy;
    }
    for (auto& scope : scopes_) {
        if (scope->edits.empty()) continue;
        std::string bytes = scope->editedBytes();
        if (scope->isForm() || scope->isAppearance()) {
            replaceWithCompressed(scope->owner, bytes);  // the page's own copy
        } else {
            // The page's first content stream takes the whole content, unless other pages draw
            // it too; making a new stream is what costs most in a large document.
            QPDFObjectHandle contents = scope->owner.getKey("/Contents");
            QPDFObjectHandle first = contents.isArray() && contents.getArrayNItems() > 0
                                         ? contents.getArrayItem(0)
                                         : contents;
            if (first.isStream() && first.isIndirect() && !isShared(first.getObjGen())) {
                replaceWithCompressed(first, bytes);
                scope->owner.replaceKey("/Contents", first);
            } else {
                scope->owner.replaceKey("/Contents", newCompressedStream(pdf, bytes));
            }
        }
        if (readAgain) {
            scope->content = std::make_unique<ParsedContent>(std::move(bytes));
        }
        scope->edits.clear();
    }
}

}  // namespace relettra::pdf
