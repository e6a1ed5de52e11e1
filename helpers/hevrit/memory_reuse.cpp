// The one platform-specific file of Hevrit: glibc's allocator settings.
#include "memory_reuse.h"

#include <cstdlib>  // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (the most glibc allows here) come from the heap, not from fresh
    // mappings (a page image at 150 dpi is a few MB), and a heap is trimmed only when 1 GB lies
    // free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}
