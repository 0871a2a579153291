// The looks the shared engine can give art beyond the program's own scan, and the paper
// the art is read on. `Exact` is the program's scan, byte for byte.
#pragma once

#include <QString>

namespace mGlyfora {

enum class ArtStyle {
    Exact,   // the program's scan: one pixel (or the cell's mean), largest component
    Tone,    // the ramp calibrated to the font, chosen by luminance in linear light
    Shape,   // the character whose drawn glyph best matches the cell's light and dark parts
    Blocks,  // Unicode block elements, two colours a cell
    Braille, // 2 x 4 dots a cell
};

// Ink on white paper (a file, an editor, a light terminal), or light drawn on a dark
// terminal: the art is never a negative of the picture.
enum class ArtPaper { Light, Dark };

struct LookOptions {
    ArtStyle style = ArtStyle::Exact;
    ArtPaper paper = ArtPaper::Light;
    // The family whose glyphs tone and shape are measured in; empty: fontconfig's
    // "monospace".
    QString font;
    // Error diffusion between cells (tone, shape, blocks); braille always diffuses its dots.
    bool dither = false;
    // With colour, only the character's colour is set (the cell keeps the paper's).
    bool fgOnly = false;
};

} // namespace mGlyfora
