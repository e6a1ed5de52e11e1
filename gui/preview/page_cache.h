#pragma once

#include <QDateTime>
#include <QString>
#include <list>
#include <optional>

#include "page_render.h"

// The pages the picker has shown lately, kept with their text layers, so that a page shown again
// (on reopening the picker, or going back a page) is not rendered again.

// A page of a file as it is on disk: a file changed since (another size or modification time) is
// another file.
struct PageKey {
    QString file;
    int page = 0;
    qint64 size = -1;
    QDateTime modified;

    bool operator==(const PageKey& other) const;
};

// The key of `page` of `file` as the file is now.
PageKey pageKeyOf(const QString& file, int page);

class PageCache {
  public:
    // A page image at 150 dpi takes about 9 MB (A4, 32 bits a pixel): a few pages are cheap.
    static constexpr int kDefaultCapacity = 3;

    explicit PageCache(int capacity = kDefaultCapacity) : capacity(capacity) {}

    // The page kept under the key, which becomes the most recently used; none when not kept.
    std::optional<RenderedPage> find(const PageKey& key);
    // Keeps the page; the least recently used one goes when the cache is full.
    void insert(const PageKey& key, const RenderedPage& page);
    int size() const { return static_cast<int>(entries.size()); }

  private:
    int capacity;
    // Most recently used first.
    std::list<std::pair<PageKey, RenderedPage>> entries;
};
