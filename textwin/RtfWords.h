// The control words the RTF parser acts on, each with what it does. Every other word is
// read past; one after \* starts a destination that is skipped.
#pragma once

#include <string_view>
#include <unordered_map>

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

// Every control word the parser knows by its letters (no backslash, no value).
using RtfWordTable = std::unordered_map<std::string_view, RtfWordInfo>;

// The table, made on first use. A parser keeps it at hand: it looks up every word.
const RtfWordTable& RtfWords();

} // namespace mGlyfora
