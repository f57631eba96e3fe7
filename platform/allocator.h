// Allocator settings for a program that works on long numbers.
#pragma once

namespace decimora::platform {

// A formula on numbers of tens of thousands of digits allocates and frees
// blocks of a few hundred kilobytes. With glibc's defaults the freed top of
// the heap goes back to the system after each formula once it passes 128
// KiB, so the next one faults the same memory in again. This keeps up to 64
// MiB of freed memory for reuse. It changes the whole process's allocator,
// so the library never calls it by itself: the decimora command and the
// benchmarks do at start-up, and a host may. Without glibc it does nothing.
void KeepFreedMemoryForReuse();

}  // namespace decimora::platform
