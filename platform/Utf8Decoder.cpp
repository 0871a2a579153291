// UTF-8 decoding: sixteen ASCII bytes at a time, the rest one sequence at a time.
#include "platform/Utf8Decoder.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace platform {

namespace {

inline bool Continuation(unsigned char b) {
    return (b & 0xC0u) == 0x80u;
}

} // namespace

qsizetype DecodeUtf8(const char* in, qsizetype size, char16_t* out, qsizetype& used) {
    const auto* p = reinterpret_cast<const unsigned char*>(in);
    const auto* const end = p + size;
    char16_t* o = out;
    while (p < end) {
#ifdef __SSE2__
        // Every byte gives at most one unit, so the sixteen units stored here stay
        // within the room the caller gave for the whole input.
        while (end - p >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(bytes, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(bytes, zero));
            const int high = _mm_movemask_epi8(bytes);
            if (high == 0) {
                p += 16;
                o += 16;
                continue;
            }
            const int ascii = __builtin_ctz(unsigned(high));
            p += ascii;
            o += ascii;
            break;
        }
        if (p == end)
            break;
#endif
        const unsigned b0 = *p;
        if (b0 < 0x80u) {
            *o++ = char16_t(b0);
            ++p;
            continue;
        }
        int length;
        char32_t value;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (b0 >= 0xC2u && b0 <= 0xDFu) {
            length = 2;
            value = b0 & 0x1Fu;
        } else if (b0 >= 0xE0u && b0 <= 0xEFu) {
            length = 3;
            value = b0 & 0x0Fu;
            if (b0 == 0xE0u)
                low = 0xA0; // no overlong forms
            else if (b0 == 0xEDu)
                high = 0x9F; // no surrogates
        } else if (b0 >= 0xF0u && b0 <= 0xF4u) {
            length = 4;
            value = b0 & 0x07u;
            if (b0 == 0xF0u)
                low = 0x90;
            else if (b0 == 0xF4u)
                high = 0x8F; // nothing past U+10FFFF
        } else {
            return -1;
        }
        if (end - p < length) {
            // Cut off: valid so far is left for the next call, anything else is an error.
            for (qsizetype i = 1; i < end - p; ++i) {
                if (!Continuation(p[i]) || (i == 1 && (p[1] < low || p[1] > high)))
                    return -1;
            }
            break;
        }
        if (p[1] < low || p[1] > high)
            return -1;
        for (int i = 1; i < length; ++i) {
            if (!Continuation(p[i]))
                return -1;
            value = value << 6 | (p[i] & 0x3Fu);
        }
        p += length;
        if (value >= 0x10000u) {
            value -= 0x10000u;
            *o++ = char16_t(0xD800u + (value >> 10));
            *o++ = char16_t(0xDC00u + (value & 0x3FFu));
        } else {
            *o++ = char16_t(value);
        }
    }
    used = p - reinterpret_cast<const unsigned char*>(in);
    return o - out;
}

} // namespace platform
