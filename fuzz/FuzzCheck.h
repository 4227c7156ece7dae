#pragma once
// What every fuzz target shares: an invariant check that ends the run as a crash, so that the
// fuzzer keeps the input that broke it, and a reader over the input's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The fuzzer's bytes read one at a time; past the end every read gives 0.
struct FuzzInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    [[nodiscard]] bool empty() const { return pos >= size; }
    std::uint8_t next() { return empty() ? 0 : data[pos++]; }
};
