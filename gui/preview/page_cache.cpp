#include "page_cache.h"

#include <QFileInfo>

bool PageKey::operator==(const PageKey& other) const {
    return page == other.page && size == other.size && modified == other.modified &&
           file == other.file;
}

PageKey pageKeyOf(const QString& file, int page) {
    const QFileInfo info(file);
    PageKey key;
    key.file = info.absoluteFilePath();
    key.page = page;
    if (info.isFile()) {
        key.size = info.size();
        key.modified = info.lastModified();
    }
    return key;
}

std::optional<RenderedPage> PageCache::find(const PageKey& key) {
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        if (entry->first == key) {
            entries.splice(entries.begin(), entries, entry);
            return entries.front().second;
        }
    }
    return std::nullopt;
}

void PageCache::insert(const PageKey& key, const RenderedPage& page) {
    if (capacity < 1) {
        return;
    }
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        if (entry->first == key) {
            entries.erase(entry);
            break;
        }
    }
    entries.emplace_front(key, page);
    while (static_cast<int>(entries.size()) > capacity) {
        entries.pop_back();
    }
}
