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

// Writes value to *to past the caches (a plain store where the processor has no such store).
// The record is only read by the other thread after streamFence() and the hand-over that follows.
template <class T>
inline void streamStore(T* to, const T& value)
{
    static_assert(std::is_trivially_copyable<T>::value && sizeof(T) % 4 == 0, "a record of whole 32-bit words");
#if defined(__SSE2__)
    // The widest stores the record's size and place allow: each store takes a place in the
    // processor's store queue however wide it is.
    const auto place = reinterpret_cast<std::uintptr_t>(to);
    if (sizeof(T) % 16 == 0 && place % 16 == 0) {
        for (std::size_t i = 0; i < sizeof(T); i += 16) {
            __m128i words;
            std::memcpy(&words, reinterpret_cast<const char*>(&value) + i, 16);
            _mm_stream_si128(reinterpret_cast<__m128i*>(place + i), words);
        }
    } else if (sizeof(T) % 8 == 0 && place % 8 == 0) {
        for (std::size_t i = 0; i < sizeof(T); i += 8) {
            long long word;
            std::memcpy(&word, reinterpret_cast<const char*>(&value) + i, 8);
            _mm_stream_si64(reinterpret_cast<long long*>(place + i), word);
        }
    } else {
        for (std::size_t i = 0; i < sizeof(T); i += 4) {
            int word;
            std::memcpy(&word, reinterpret_cast<const char*>(&value) + i, 4);
            _mm_stream_si32(reinterpret_cast<int*>(place + i), word);
        }
    }
#else
    *to = value;
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
