// Stores that bypass the writing processor's caches, for records one thread makes and another
// reads: a plain store must first take the line back from the reading processor's cache, which
// costs a round trip between the processors for every line of every batch.
#ifndef KSV_STREAM_STORE_H
#define KSV_STREAM_STORE_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace KSV {

// Writes value to *to past the caches (a plain store where the processor has no such store), in
// words of 8 bytes for a record aligned to 8 and of 4 bytes otherwise: a record just made field by
// field is read back in the widths it was written in, which the processor forwards from its
// stores (a wider read waits until they are done). The record is only read by the other thread
// after streamFence() and the hand-over that follows.
template <class T>
inline void streamStore(T* to, const T& value)
{
    static_assert(std::is_trivially_copyable<T>::value && sizeof(T) % 4 == 0, "a record of whole 32-bit words");
#if defined(__SSE2__)
    if constexpr (sizeof(T) % 8 == 0 && alignof(T) >= 8) {
        for (std::size_t i = 0; i < sizeof(T); i += 8) {
            long long word;
            std::memcpy(&word, reinterpret_cast<const char*>(&value) + i, 8);
            _mm_stream_si64(reinterpret_cast<long long*>(reinterpret_cast<char*>(to) + i), word);
        }
    } else {
        for (std::size_t i = 0; i < sizeof(T); i += 4) {
            int word;
            std::memcpy(&word, reinterpret_cast<const char*>(&value) + i, 4);
            _mm_stream_si32(reinterpret_cast<int*>(reinterpret_cast<char*>(to) + i), word);
        }
    }
#else
    *to = value;
#endif
}

// Writes a record of four 32-bit words past the caches from registers, in one store where the
// place is aligned to 16 bytes.
inline void streamWords(void* to, uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3)
{
#if defined(__SSE2__)
    if (reinterpret_cast<std::uintptr_t>(to) % 16 == 0) {
        _mm_stream_si128(static_cast<__m128i*>(to), _mm_setr_epi32(static_cast<int>(w0), static_cast<int>(w1),
                                                                    static_cast<int>(w2), static_cast<int>(w3)));
        return;
    }
    int* out = static_cast<int*>(to);
    _mm_stream_si32(out, static_cast<int>(w0));
    _mm_stream_si32(out + 1, static_cast<int>(w1));
    _mm_stream_si32(out + 2, static_cast<int>(w2));
    _mm_stream_si32(out + 3, static_cast<int>(w3));
#else
    const uint32_t words[4] = {w0, w1, w2, w3};
    std::memcpy(to, words, sizeof words);
#endif
}

// Orders every streamed store before the stores that follow (the hand-over of the batch).
inline void streamFence()
{
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

}  // namespace KSV

#endif
