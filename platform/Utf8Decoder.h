// A strict UTF-8 to UTF-16 decoder for the read-back of the intermediate file, fast on
// long runs of ASCII.
#pragma once

#include <QtGlobal>

namespace platform {

// Decodes the complete sequences of [in, in + size) into out, which needs room for
// `size` units. Sets `used` to the bytes consumed: a sequence cut off at the end is left
// for the next call. Answers the units written, or -1 for bytes that are not UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
qsizetype DecodeUtf8(const char* in, qsizetype size, char16_t* out, qsizetype& used);

} // namespace platform
