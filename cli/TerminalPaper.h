// The paper glyfora-convert draws its art for: given with --background, asked of the
// terminal the art goes to (OSC 11), or assumed for files and pipes.
#pragma once

#include "convert/ArtLooks.h"

#include <QByteArrayView>
#include <array>
#include <chrono>
#include <optional>

namespace mGlyfora {

enum class BackgroundWhen { Auto, Dark, Light };

// A terminal's answer to OSC 11 found in `reply`: "ESC ] 11 ; rgb:R/G/B" (or "rgba:R/G/B/A")
// ended by BEL or ESC \, each component 1 to 4 hexadecimal digits, given back as red,
// green and blue from 0 to 1. Nothing when `reply` holds no such answer.
std::optional<std::array<double, 3>> BackgroundInReply(QByteArrayView reply);

// Light paper for a colour whose CIE lightness L* is above 50, else dark.
ArtPaper PaperOfColour(const std::array<double, 3>& rgb);

// Asks the controlling terminal for its background colour, but only when it is the terminal
// `out` writes to and this process is in its foreground (a background job would be stopped
// for touching its mode). Standard input is never read. The question is followed by one for
// the device attributes, which every terminal answers, after the colour when it knows that
// question: the wait ends with that answer, or after `wait`. Meanwhile the terminal neither
// echoes nor waits for a line; its mode is restored on every path, and signals that arrive
// meanwhile take effect only once it is (the process has no other thread at that time).
// Nothing when the terminal gave no colour.
std::optional<ArtPaper> AskTerminalPaper(int out, std::chrono::milliseconds wait);

// The paper: as asked for; else the terminal's own when the art is shown on one (dark when
// it does not say); else, for files and pipes, light unless the art is coloured.
ArtPaper ChoosePaper(BackgroundWhen when, bool artOnTerminal, bool coloured, int out);

} // namespace mGlyfora
