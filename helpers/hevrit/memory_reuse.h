#pragma once

// Asks the C library to keep freed memory for reuse instead of returning it to the system:
// every page allocates and frees a few page-sized buffers, and fetching fresh zeroed memory
// from the system for each one cost about a sixth of a run. Does nothing where the C library
// offers no such setting.
void keepFreedMemoryForReuse();
