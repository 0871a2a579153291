// The size of the terminal the art is written to, for art that fits it.
#pragma once

#include <optional>

namespace mGlyfora {

struct TerminalGrid {
    int columns = 0;
    int rows = 0;
    double cellAspect = 0; // a cell's height over its width; 0: the terminal does not say
};

// The columns and rows of the terminal at `fd`, and the shape of its cells when it gives
// its size in pixels too. Nothing for what is not a terminal or gives no size.
std::optional<TerminalGrid> TerminalGridOf(int fd);

} // namespace mGlyfora
