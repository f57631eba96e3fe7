#include "platform/allocator.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace decimora::platform {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_TOP_PAD, 1 << 20);
  // Fixed, so that the largest blocks come from the heap too instead of
  // fresh mappings returned on every free.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

}  // namespace decimora::platform
