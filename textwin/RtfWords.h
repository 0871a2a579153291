// The control words the RTF parser acts on, each with what it does. Every other word is
// read past; one after \* starts a destination that is skipped.
#pragma once

#include <string_view>

namespace mGlyfora {

enum class RtfWord {
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FontTable,
    ColourTable,
    SkipDest, // a destination whose content is not text of the document
    Font,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Colour,
    Plain,
    Par,
    Tab,
    Char, // one character, named by the entry
    Unicode,
    UnicodeSkip,
    Bin,
};

struct RtfWordInfo {
    RtfWord word;
    char16_t character = 0; // for RtfWord::Char
};

// What the control word of these `letters` (no backslash, no value) does; null
// for a word the parser does not know.
const RtfWordInfo* FindRtfWord(std::string_view letters);

} // namespace mGlyfora
