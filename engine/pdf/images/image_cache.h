#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "pdf/images/image_xobject.h"

namespace relettra::pdf {

// One image object per distinct byte content within one document: the same image bytes used by
// several rules become one object, however often they are asked for. Failures are remembered
// too, so bad bytes are not decoded again and give the same message each time.
// The cache refers to `pdf`, which must outlive it. Not thread-safe.
class ImageCache {
  public:
    explicit ImageCache(QPDF& pdf) : pdf_(pdf) {}

    // The image object for `bytes`, made on first use; nullopt and `error` set when the bytes
    // cannot be decoded. Never throws.
    std::optional<ImageXObject> get(const std::string& bytes, std::string& error);

    // How many distinct byte contents were asked for (successful or not).
    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::optional<ImageXObject> image;
        std::string error;
    };

    QPDF& pdf_;
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace relettra::pdf
