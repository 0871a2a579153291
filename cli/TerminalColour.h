// Text results coloured for a terminal: each character in its cell's colour, as a 24-bit
// escape sequence or as the nearest colour of the 256-colour palette, each line ending in
// a reset.
#pragma once

#include "convert/ScanSink.h"

#include <QByteArray>
#include <QImage>

namespace mGlyfora {

enum class ColourWhen { Auto, Always, Never };
enum class ColourDepth { None, Palette256, Direct24 };

// Never gives None, and so does Auto unless the text goes to a terminal and NO_COLOR is
// unset or empty. The depth is `askedDepth` (24 or 256) when given (not 0), else 24 bits
// when COLORTERM is "truecolor" or "24bit", else the palette.
ColourDepth ChooseColour(ColourWhen when, int askedDepth, bool toTerminal);

// The palette entry nearest to the colour: the 6 x 6 x 6 cube (16 to 231) or the grey
// ramp (232 to 255), the cube on a tie.
int PaletteIndex(QRgb colour);

// Passes a text scan's rows on with the colours of `cells`, one pixel per character in
// the order the characters come (the 1 x 1 scan of `cells` itself). A colour is sent only
// when it differs from the character before on the line.
class TerminalColourSink : public ScanSink {
public:
    TerminalColourSink(ScanSink& next, const QImage& cells, ColourDepth depth);
    bool Write(const char* data, qsizetype size) override;
    QString ErrorString() const override { return next_.ErrorString(); }

private:
    void Colour(QRgb pixel);
    bool Pass();

    ScanSink& next_;
    const QImage& cells_;
    ColourDepth depth_;
    int row_ = 0;
    int column_ = 0;
    int last_ = -1; // what was last sent on this line (a palette index or 0xRRGGBB)
    QByteArray out_;
};

} // namespace mGlyfora
