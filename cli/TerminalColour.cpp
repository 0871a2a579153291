// Terminal colours for text results.
#include "cli/TerminalColour.h"

#include <QtGlobal>
#include <array>

namespace mGlyfora {

namespace {

constexpr char Reset[] = "\x1b[0m";
constexpr qsizetype PassOnBytes = 64 * 1024;
constexpr std::array<int, 6> CubeLevels = {0, 95, 135, 175, 215, 255};

int CubeStep(int value) {
    return value < 48 ? 0 : value < 115 ? 1 : (value - 35) / 40;
}

int Distance(int r, int g, int b, int r2, int g2, int b2) {
    return (r - r2) * (r - r2) + (g - g2) * (g - g2) + (b - b2) * (b - b2);
}

void AppendNumber(QByteArray& out, int value) {
    if (value >= 100)
        out.append(char('0' + value / 100));
    if (value >= 10)
        out.append(char('0' + value / 10 % 10));
    out.append(char('0' + value % 10));
}

} // namespace

ColourDepth ChooseColour(ColourWhen when, int askedDepth, bool toTerminal) {
    if (when == ColourWhen::Never)
        return ColourDepth::None;
    if (when == ColourWhen::Auto && (!toTerminal || !qEnvironmentVariableIsEmpty("NO_COLOR")))
        return ColourDepth::None;
    if (askedDepth != 0)
        return askedDepth == 24 ? ColourDepth::Direct24 : ColourDepth::Palette256;
    const QByteArray announced = qgetenv("COLORTERM");
    return announced == "truecolor" || announced == "24bit" ? ColourDepth::Direct24
                                                            : ColourDepth::Palette256;
}

int PaletteIndex(QRgb colour) {
    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    const int cr = CubeStep(r), cg = CubeStep(g), cb = CubeStep(b);
    const int cube =
        Distance(r, g, b, CubeLevels[size_t(cr)], CubeLevels[size_t(cg)], CubeLevels[size_t(cb)]);
    const int average = (r + g + b) / 3;
    const int grey = average > 238 ? 23 : average < 3 ? 0 : (average - 3) / 10;
    const int level = 8 + 10 * grey;
    if (Distance(r, g, b, level, level, level) < cube)
        return 232 + grey;
    return 16 + 36 * cr + 6 * cg + cb;
}

TerminalColourSink::TerminalColourSink(ScanSink& next, const QImage& cells, ColourDepth depth)
    : next_(next), cells_(cells), depth_(depth) {
    out_.reserve(PassOnBytes + 64);
}

void TerminalColourSink::Colour(QRgb pixel) {
    const int key = depth_ == ColourDepth::Direct24 ? int(pixel & 0xFFFFFFu) : PaletteIndex(pixel);
    if (key == last_)
        return;
    last_ = key;
    if (depth_ == ColourDepth::Direct24) {
        out_.append("\x1b[38;2;");
        AppendNumber(out_, qRed(pixel));
        out_.append(';');
        AppendNumber(out_, qGreen(pixel));
        out_.append(';');
        AppendNumber(out_, qBlue(pixel));
    } else {
        out_.append("\x1b[38;5;");
        AppendNumber(out_, key);
    }
    out_.append('m');
}

bool TerminalColourSink::Pass() {
    const bool ok = out_.isEmpty() || next_.Write(out_.constData(), out_.size());
    out_.clear();
    return ok;
}

bool TerminalColourSink::Write(const char* data, qsizetype size) {
    for (const char* end = data + size; data < end; ++data) {
        const auto byte = uchar(*data);
        if (byte == '\r') {
            out_.append(Reset);
        } else if (byte == '\n') {
            ++row_;
            column_ = 0;
            last_ = -1;
        } else if ((byte & 0xC0) != 0x80 && row_ < cells_.height() && column_ < cells_.width()) {
            // The first byte of a character: its cell's colour goes before it.
            Colour(reinterpret_cast<const QRgb*>(cells_.constScanLine(row_))[column_++]);
        }
        out_.append(char(byte));
        if (out_.size() >= PassOnBytes && !Pass())
            return false;
    }
    return Pass();
}

} // namespace mGlyfora
