#include "pdf/text/page_text_session.h"

#include <algorithm>
#include <cmath>
#include <qpdf/QPDFPageObjectHelper.hh>

#include "pdf/content/annotation_appearances.h"
#include "pdf/text/glyph_layout.h"

namespace relettra::pdf {

namespace {

class ShowCollector : public TextListener {
  public:
    explicit ShowCollector(std::vector<TextShow>& shows) : shows_(shows) {}
    bool onShow(const TextShow& show) override {
        shows_.push_back(show);
        return true;
    }

  private:
    std::vector<TextShow>& shows_;
};

bool isShowOperator(std::string_view name) {
    return name == "Tj" || name == "TJ" || name == "'" || name == "\"";
}

}  // namespace

PageTextSession::PageTextSession(PageEditor& page, FontCache& fonts, TextMoves& moves)
    : page_(page), fonts_(fonts), moves_(moves), content_(page.page().getObjectHandle(), true) {
    std::vector<TextShow> found;
    ShowCollector collector(found);
    TextInterpreter(fonts).run(content_, page.geometry().userToUpright(), collector);
    addShows(std::move(found));
    catchUp();
}

void PageTextSession::catchUp() {
    releaseSpentPieces();
    for (; piecesSeen_ < page_.addedPieceCount(); ++piecesSeen_) {
        const std::string& piece = page_.addedPiece(piecesSeen_);
        // A rectangle, an image: nothing to read or edit.
        if (piece.find_first_of("'\"") == std::string::npos &&
            piece.find("Tj") == std::string::npos && piece.find("TJ") == std::string::npos) {
            continue;
        }
        auto scope = std::make_unique<ContentScope>();
        scope->resources = page_.page().getAttribute("/Resources", false);
        scope->content = std::make_unique<ParsedContent>(piece);
        std::vector<TextShow> found;
        ShowCollector collector(found);
        // Added content stands in upright coordinates already.
        TextInterpreter(fonts_).runScope(content_, *scope, QPDFMatrix(), collector);
        if (found.empty()) continue;
        addedPiece_[scope.get()] = piecesSeen_;
        addedScopes_.push_back(std::move(scope));
        addShows(std::move(found));
    }
}

void PageTextSession::addShows(std::vector<TextShow> found) {
    const size_t base = shows_.size();
    std::vector<std::vector<size_t>> runs = groupShowsIntoRuns(found);
    for (TextShow& show : found) {
        const OperationKey key{show.scope, show.operation};
        showsOfOperation_.add(show.scope, show.operation, shows_.size());
        // A form drawn again shows the operations it showed before.
        std::vector<std::uint32_t>& operations = showOperations_[show.scope];
        if (operations.empty() || operations.back() < show.operation) {
            operations.push_back(show.operation);
        }
        shows_.push_back(std::move(show));
    }
    recordOfShow_.resize(shows_.size());
    for (std::vector<size_t>& run : runs) {
        const size_t record = runs_.size();
        for (size_t& s : run) {
            s += base;
            recordOfShow_[s] = record;
        }
        runs_.push_back(std::move(run));
        texts_.emplace_back();
        refreshRecord(record);
    }
}

void PageTextSession::noteBaseline(size_t record) const {
    const TextLine line = lineOfRecord(record);
    if (std::fabs(line.uy) < 1e-9 && line.ux > 0) {
        baselines_->emplace(line.y, record);
        largestSize_ = std::max(largestSize_, line.size);
    }
}

void PageTextSession::refreshRecord(size_t record) {
    std::string& text = texts_[record];
    text.clear();
    bool anyGlyph = false;
    for (size_t s : runs_[record]) {
        appendSpacedText(shows_[s], text);
        for (const ShowElement& element : shows_[s].elements) {
            anyGlyph = anyGlyph || !element.glyphs.empty();
        }
    }
    const bool showing = anyGlyph || !text.empty();
    const bool wasShowing = withText_.contains(record);
    textIndex_.update(record, text);
    if (showing) {
        withText_.insert(record);
        if (!wasShowing && baselines_) noteBaseline(record);
    } else {
        withText_.erase(record);
    }
    markStale(record);
    const ContentScope* scope = show(record).scope;
    if (showing != wasShowing && addedPiece_.count(scope) != 0) {
        size_t& count = showingRecords_[scope];
        count = showing ? count + 1 : count - 1;
        if (count == 0) spentPieces_.insert(scope);
    }
}

void PageTextSession::releaseSpentPieces() {
    if (spentPieces_.empty()) return;
    for (const ContentScope* scope : spentPieces_) {
        if (showingRecords_[scope] != 0) continue;
        auto listed = showOperations_.find(scope);
        if (listed != showOperations_.end()) {
            for (std::uint32_t operation : listed->second) {
                const OperationKey key{const_cast<ContentScope*>(scope), operation};
                showsOfOperation_.forEach(scope, operation,
                                          [&](size_t s) { shows_[s] = TextShow(); });
                writings_.erase(key);
                rewrittenShows_.erase(key);
                lineShifts_.erase(key);
            }
            showOperations_.erase(listed);
        }
        showsOfOperation_.forget(scope);
        showingRecords_.erase(scope);
        addedPiece_.erase(scope);
        for (std::unique_ptr<ContentScope>& added : addedScopes_) {
            if (added.get() == scope) added.reset();
        }
    }
    spentPieces_.clear();
    addedScopes_.erase(std::remove(addedScopes_.begin(), addedScopes_.end(), nullptr),
                       addedScopes_.end());
}

bool PageTextSession::textBox(size_t index, size_t begin, size_t end, double box[4]) const {
    if (index >= runs_.size()) return false;
    bool any = false;
    size_t offset = 0;
    for (size_t s : runs_[index]) {
        const TextShow& show = shows_[s];
        const SpacedText part = spaceText(show);
        for (const PlacedGlyph& glyph : part.glyphs) {
            if (offset + glyph.textBegin >= end || offset + glyph.textEnd <= begin) continue;
            double glyphBox[4];
            glyphEmBox(show, glyph, glyphBox);
            if (!any) std::copy(glyphBox, glyphBox + 4, box);
            any = true;
            box[0] = std::min(box[0], glyphBox[0]);
            box[1] = std::min(box[1], glyphBox[1]);
            box[2] = std::max(box[2], glyphBox[2]);
            box[3] = std::max(box[3], glyphBox[3]);
        }
        offset += part.text.size();
    }
    return any;
}

std::vector<size_t> PageTextSession::recordsHolding(const std::string& needle) const {
    return textIndex_.holding(needle, texts_, withText_);
}

void PageTextSession::markStale(size_t record) {
    if (!glyphs_) return;
    if (isStale_.size() <= record) isStale_.resize(std::max(record + 1, 2 * isStale_.size()));
    if (isStale_[record]) return;
    isStale_[record] = true;
    staleGlyphs_.push_back(record);
}

const PageGlyphs& PageTextSession::glyphs() {
    if (!glyphs_) {
        glyphs_ = std::make_unique<PageGlyphs>();
        for (size_t record : withText_) glyphs_->setRecord(record, shows_, runs_[record]);
        staleGlyphs_.clear();
        isStale_.clear();
    }
    for (size_t record : staleGlyphs_) {
        glyphs_->setRecord(record, shows_, runs_[record]);
        isStale_[record] = false;
    }
    staleGlyphs_.clear();
    return *glyphs_;
}

double PageTextSession::partOrigin(const std::vector<size_t>& run, size_t part) const {
    double x = 0;
    double y = 0;
    const TextShow& show = shows_[run[part]];
    return toTextSpace(shows_[run.front()], show.tm.e, show.tm.f, x, y) ? x : 0.0;
}

void PageTextSession::rewriteShow(const OperationKey& key, std::string bytes) {
    auto writing = std::make_unique<ParsedContent>(bytes);
    const std::vector<Operation>& operations = writing->operations();
    size_t showAt = operations.size();
    for (size_t i = operations.size(); i-- > 0;) {
        if (isShowOperator(writing->operatorName(operations[i]))) {
            showAt = i;
            break;
        }
    }
    showsOfOperation_.forEach(key.first, key.second, [&](size_t s) {
        TextShow& show = shows_[s];
        if (showAt == operations.size()) {
            show.elements.clear();
        } else {
            const Operation& op = operations[showAt];
            show.source = writing.get();
            show.sourceOperation = static_cast<std::uint32_t>(showAt);
            show.leading = bytes.substr(0, writing->beginOf(op));
            show.op = std::string(writing->operatorName(op));
            readShowElements(*writing, op, show.op, show.state, show.elements);
        }
        show.advance = show.totalAdvance();
        refreshRecord(recordOfShow_[s]);
    });
    writings_[key] = std::move(writing);
    rewrittenShows_[key] = std::move(bytes);
    writeEdit(key);
}

void PageTextSession::shiftShow(const OperationKey& key, double shift) {
    showsOfOperation_.forEach(key.first, key.second, [&](size_t s) {
        TextShow& show = shows_[s];
        if (show.writesVertically()) {
            show.tm.translate(0, -shift);
        } else {
            show.tm.translate(shift, 0);
        }
        markStale(recordOfShow_[s]);
    });
}

void PageTextSession::writeEdit(const OperationKey& key) {
    const auto& [scope, operation] = key;
    const ParsedContent& content = *scope->content;
    std::string bytes;
    if (auto it = rewrittenShows_.find(key); it != rewrittenShows_.end()) {
        bytes = it->second;
    } else {
        const Operation& op = content.operations()[operation];
        bytes =
            content.bytes().substr(content.beginOf(op), content.endOf(op) - content.beginOf(op));
    }
    if (auto it = lineShifts_.find(key); it != lineShifts_.end() && it->second != 0) {
        bytes = movedPlacement(content, operation, it->second, bytes);
    }
    scope->edits[operation] = std::move(bytes);
    // Content added to the page is written with the page: its piece takes the edit now.
    if (auto added = addedPiece_.find(scope); added != addedPiece_.end()) {
        page_.replaceAddedPiece(added->second, scope->editedBytes());
    }
}

void PageTextSession::noteAppearanceReach(const TextShow& show, double start, double advance) {
    if (show.scope == nullptr || !show.scope->isAppearance()) return;
    // The em boxes in text space, from a quarter em below the baseline to an em above it.
    const double size = std::fabs(show.state.fontSize);
    const double low = show.state.rise - 0.25 * size;
    const double high = show.state.rise + size;
    const QPDFMatrix toPage = show.toPage();
    const QPDFObjectHandle::Rectangle reach = toPage.transformRectangle(QPDFObjectHandle::Rectangle(
        std::min(start, start + advance), low, std::max(start, start + advance), high));
    const auto at = std::find_if(appearanceReach_.begin(), appearanceReach_.end(),
                                 [&](const auto& entry) { return entry.first == show.scope; });
    if (at == appearanceReach_.end()) {
        appearanceReach_.emplace_back(show.scope, reach);
        return;
    }
    QPDFObjectHandle::Rectangle& r = at->second;
    r = QPDFObjectHandle::Rectangle(std::min(r.llx, reach.llx), std::min(r.lly, reach.lly),
                                    std::max(r.urx, reach.urx), std::max(r.ury, reach.ury));
}

bool PageTextSession::write(QPDF& pdf, const std::function<bool(QPDFObjGen)>& isSharedStream) {
    if (!content_.hasEdits()) {
        return false;
    }
    content_.commit(pdf, isSharedStream, false);
    // An appearance whose text now reaches past its box is widened (its own copy by now).
    for (const auto& [scope, reach] : appearanceReach_) {
        QPDFMatrix formToUpright = page_.geometry().userToUpright();
        formToUpright.concat(scope->placement);
        widenAppearance(scope->owner, scope->annotation, formToUpright,
                        page_.geometry().uprightToUser(), reach);
    }
    appearanceReach_.clear();
    page_.contentChanged();
    return true;
}

}  // namespace relettra::pdf
