#pragma once
// Heap accounting for the memory figures of benchmarks: a program that links this replaces
// operator new and delete with counting ones (malloc's usable size of every block).
#include <cstddef>

namespace quorvex::bench {

// Bytes the program holds on the heap right now.
[[nodiscard]] std::size_t liveHeapBytes();
// Starts a new peak at the bytes held now, and returns them.
std::size_t restartHeapPeak();
// The most bytes held since the last restartHeapPeak().
[[nodiscard]] std::size_t heapPeakBytes();

} // namespace quorvex::bench
