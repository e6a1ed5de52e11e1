#include "pdf/fonts/font_cache.h"

#include <exception>

namespace relettra::pdf {

std::shared_ptr<const PdfFont> FontCache::get(QPDFObjectHandle fontDict) {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        if (fontDict.isIndirect()) {
            const QPDFObjGen id = fontDict.getObjGen();
            auto it = byObject_.find(id);
            if (it == byObject_.end())
                it = byObject_.emplace(id, PdfFont::fromDictionary(fontDict)).first;
            return it->second;
        }
        for (const auto& entry : direct_) {
            if (entry.dict.isSameObjectAs(fontDict)) return entry.font;
        }
        direct_.push_back({fontDict, PdfFont::fromDictionary(fontDict)});
        return direct_.back().font;
    } catch (const std::exception&) {
        return PdfFont::fromDictionary(QPDFObjectHandle::newNull());
    }
}

void FontCache::forget(QPDFObjectHandle fontDict) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (fontDict.isIndirect()) {
        // The dictionary with everything it refers to but streams (their objects are new
        // when their data is).
        std::string state;
        try {
            state = fontDict.unparseResolved();
        } catch (const std::exception&) {
            state.clear();
        }
        const QPDFObjGen id = fontDict.getObjGen();
        auto known = readFrom_.find(id);
        if (!state.empty() && known != readFrom_.end() && known->second == state &&
            byObject_.count(id) != 0) {
            return;  // it says nothing new since it was read
        }
        byObject_.erase(id);
        readFrom_[id] = std::move(state);
        return;
    }
    for (auto it = direct_.begin(); it != direct_.end(); ++it) {
        if (it->dict.isSameObjectAs(fontDict)) {
            direct_.erase(it);
            return;
        }
    }
}

std::size_t FontCache::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return byObject_.size() + direct_.size();
}

}  // namespace relettra::pdf
