// Art rows as text, as terminal escape sequences and as HTML spans.
#include "convert/ArtWriter.h"

#include "convert/AreaSampler.h"

#include <array>
#include <cmath>

namespace mGlyfora {

namespace {

struct Lab {
    float L, a, b;
};

Lab Oklab(const float c[3]) {
    const float l = std::cbrt(0.4122214708f * c[0] + 0.5363325363f * c[1] + 0.0514459929f * c[2]);
    const float m = std::cbrt(0.2119034982f * c[0] + 0.6806995451f * c[1] + 0.1073969566f * c[2]);
    const float s = std::cbrt(0.0883024619f * c[0] + 0.2817188376f * c[1] + 0.6299787005f * c[2]);
    return Lab{0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
               1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
               0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

// Entries 16 to 255: the 6 x 6 x 6 cube and the grey ramp.
const std::array<Lab, 240>& PaletteLab() {
    static const std::array<Lab, 240> table = [] {
        constexpr int levels[6] = {0, 95, 135, 175, 215, 255};
        std::array<Lab, 240> t{};
        for (int i = 0; i < 240; ++i) {
            int r, g, b;
            if (i < 216) {
                r = levels[i / 36], g = levels[i / 6 % 6], b = levels[i % 6];
            } else {
                r = g = b = 8 + 10 * (i - 216);
            }
            const float linear[3] = {LinearFromSrgb(r), LinearFromSrgb(g), LinearFromSrgb(b)};
            t[size_t(i)] = Oklab(linear);
        }
        return t;
    }();
    return table;
}

void AppendNumber(QByteArray& out, int value) {
    out.append(QByteArray::number(value));
}

void AppendHex(QByteArray& out, const float linear[3]) {
    constexpr char digits[] = "0123456789ABCDEF";
    out.append('#');
    for (int c = 0; c < 3; ++c) {
        const int v = SrgbFromLinear(linear[c]);
        out.append(digits[v >> 4]);
        out.append(digits[v & 15]);
    }
}

void AppendCode(QByteArray& out, char32_t code, bool html) {
    if (html && (code == U'<' || code == U'>' || code == U'&')) {
        out.append(code == U'<' ? "&lt;" : code == U'>' ? "&gt;" : "&amp;");
        return;
    }
    out.append(QString::fromUcs4(&code, 1).toUtf8());
}

bool SameColour(const float a[3], const float b[3]) {
    for (int c = 0; c < 3; ++c) {
        if (SrgbFromLinear(a[c]) != SrgbFromLinear(b[c]))
            return false;
    }
    return true;
}

} // namespace

int PerceptualPaletteIndex(const float linear[3]) {
    const Lab want = Oklab(linear);
    const std::array<Lab, 240>& palette = PaletteLab();
    int best = 0;
    float bestDistance = 1e9f;
    for (int i = 0; i < 240; ++i) {
        const Lab& p = palette[size_t(i)];
        const float d = (p.L - want.L) * (p.L - want.L) + (p.a - want.a) * (p.a - want.a) +
                        (p.b - want.b) * (p.b - want.b);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return 16 + best;
}

ArtWriter::ArtWriter(ArtEncoding encoding, ArtPaper paper) : encoding_(encoding), paper_(paper) {}

int ArtWriter::Key(const float linear[3]) const {
    if (encoding_ == ArtEncoding::Terminal256)
        return PerceptualPaletteIndex(linear);
    return SrgbFromLinear(linear[0]) << 16 | SrgbFromLinear(linear[1]) << 8 |
           SrgbFromLinear(linear[2]);
}

void ArtWriter::Colour(const char* introducer, const float linear[3], QByteArray& out) {
    out.append("\x1b[");
    out.append(introducer);
    if (encoding_ == ArtEncoding::Terminal24) {
        out.append(";2;");
        AppendNumber(out, SrgbFromLinear(linear[0]));
        out.append(';');
        AppendNumber(out, SrgbFromLinear(linear[1]));
        out.append(';');
        AppendNumber(out, SrgbFromLinear(linear[2]));
    } else {
        out.append(";5;");
        AppendNumber(out, PerceptualPaletteIndex(linear));
    }
    out.append('m');
}

void ArtWriter::Row(const ArtCell* cells, int count, bool first, bool last, QByteArray& out) {
    if (encoding_ == ArtEncoding::Text) {
        for (int i = 0; i < count; ++i)
            AppendCode(out, cells[i].code, false);
    } else if (encoding_ == ArtEncoding::Html) {
        // The art keeps its own font and line spacing inside any template, and every run
        // its own background: the page's colour does not change the art.
        if (first)
            out.append("<SPAN STYLE=\"font-family: monospace; font-size: 10px; "
                       "line-height: normal\">");
        const float paper[3] = {paper_ == ArtPaper::Light ? 1.f : 0.f,
                                paper_ == ArtPaper::Light ? 1.f : 0.f,
                                paper_ == ArtPaper::Light ? 1.f : 0.f};
        const ArtCell* runStart = nullptr;
        const float* runFg = nullptr;
        const float* runBg = nullptr;
        for (int i = 0; i <= count; ++i) {
            const ArtCell* cell = i < count ? &cells[i] : nullptr;
            const float* bg = cell && cell->hasBg ? cell->bg : paper;
            // A blank shows no ink: it joins the run whatever its ink colour.
            const bool blank = cell && (cell->code == U' ' || !cell->hasFg);
            const float* fg = cell && !blank ? cell->fg : runFg;
            const bool joins = cell && runStart && SameColour(bg, runBg) &&
                               (blank || !runFg || SameColour(fg, runFg));
            if (joins) {
                runFg = runFg ? runFg : (blank ? nullptr : fg);
                continue;
            }
            if (runStart) {
                out.append("<SPAN STYLE=\"");
                if (runFg) {
                    out.append("color: ");
                    AppendHex(out, runFg);
                    out.append("; ");
                }
                out.append("background-color: ");
                AppendHex(out, runBg);
                out.append("\">");
                for (const ArtCell* c = runStart; c != cell && c != cells + count; ++c)
                    AppendCode(out, c->code, true);
                out.append("</SPAN>");
            }
            runStart = cell;
            runFg = blank ? nullptr : fg;
            runBg = bg;
        }
        if (last)
            out.append("</SPAN>");
    } else {
        // A colour goes out only when it differs, as sent, from the one before.
        int lastFg = -1;
        int lastBg = -1;
        for (int i = 0; i < count; ++i) {
            const ArtCell& cell = cells[i];
            if (cell.hasBg && lastBg != Key(cell.bg)) {
                Colour("48", cell.bg, out);
                lastBg = Key(cell.bg);
            }
            if (cell.hasFg && cell.code != U' ' && lastFg != Key(cell.fg)) {
                Colour("38", cell.fg, out);
                lastFg = Key(cell.fg);
            }
            AppendCode(out, cell.code, false);
        }
        if (lastFg >= 0 || lastBg >= 0)
            out.append("\x1b[0m");
    }
    out.append("\r\n");
}

} // namespace mGlyfora
