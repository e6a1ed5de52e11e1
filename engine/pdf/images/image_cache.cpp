#include "pdf/images/image_cache.h"

#include <exception>

namespace relettra::pdf {

std::optional<ImageXObject> ImageCache::get(const std::string& bytes, std::string& error) {
    try {
        auto found = entries_.find(bytes);
        if (found == entries_.end()) {
            Entry entry;
            entry.image = makeImageXObject(pdf_, bytes, entry.error);
            found = entries_.emplace(bytes, std::move(entry)).first;
        }
        if (!found->second.image) {
            error = found->second.error;
        }
        return found->second.image;
    } catch (const std::exception& e) {
        error = std::string("cannot keep the image: ") + e.what();
        return std::nullopt;
    }
}

}  // namespace relettra::pdf
