// The cells of art written out: the characters alone, with terminal escape sequences, or
// as coloured HTML text.
#pragma once

#include "convert/ArtEngine.h"

#include <QByteArray>

namespace mGlyfora {

// One cell: its character and colours in linear light (fg for the ink, bg for the cell).
struct ArtCell {
    char32_t code = U' ';
    float fg[3] = {0, 0, 0};
    float bg[3] = {0, 0, 0};
    bool hasFg = false;
    bool hasBg = false; // otherwise the cell shows the paper
};

// The 256-colour palette entry (16 to 255; 0 to 15 are the terminal's own) nearest in
// Oklab to a colour in linear light.
int PerceptualPaletteIndex(const float linear[3]);

class ArtWriter {
public:
    ArtWriter(ArtEncoding encoding, ArtPaper paper);
    // Appends one row of cells and its line end to `out`; `last` closes the art.
    void Row(const ArtCell* cells, int count, bool first, bool last, QByteArray& out);

private:
    int Key(const float linear[3]) const; // what a colour is sent as
    void Colour(const char* introducer, const float linear[3], QByteArray& out);

    ArtEncoding encoding_;
    ArtPaper paper_;
};

} // namespace mGlyfora
