// How each style chooses a cell's character and colours from its samples.
#include "convert/ArtCellChooser.h"

#include "convert/AreaSampler.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace mGlyfora {

namespace {

// Block elements as sub-cell masks on an 8 x 8 grid, row by row, one bit a sample.
struct BlockShape {
    char32_t code;
    quint64 mask;
    float shade; // the ink of a shade character (no mask); 0 otherwise
};

constexpr quint64 Rows(int from, int to) { // rows [from, to) fully set
    quint64 m = 0;
    for (int y = from; y < to; ++y)
        m |= quint64(0xFF) << (8 * y);
    return m;
}
constexpr quint64 Columns(int from, int to) {
    quint64 m = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = from; x < to; ++x)
            m |= quint64(1) << (8 * y + x);
    return m;
}
constexpr quint64 UL = Rows(0, 4) & Columns(0, 4), UR = Rows(0, 4) & Columns(4, 8),
                  LL = Rows(4, 8) & Columns(0, 4), LR = Rows(4, 8) & Columns(4, 8);

constexpr BlockShape BlockShapes[] = {
    {U' ', 0, 0},
    {U'\u2588', ~quint64(0), 0},
    {U'\u2580', Rows(0, 4), 0},
    {U'\u2581', Rows(7, 8), 0},
    {U'\u2582', Rows(6, 8), 0},
    {U'\u2583', Rows(5, 8), 0},
    {U'\u2584', Rows(4, 8), 0},
    {U'\u2585', Rows(3, 8), 0},
    {U'\u2586', Rows(2, 8), 0},
    {U'\u2587', Rows(1, 8), 0},
    {U'\u2589', Columns(0, 7), 0},
    {U'\u258A', Columns(0, 6), 0},
    {U'\u258B', Columns(0, 5), 0},
    {U'\u258C', Columns(0, 4), 0},
    {U'\u258D', Columns(0, 3), 0},
    {U'\u258E', Columns(0, 2), 0},
    {U'\u258F', Columns(0, 1), 0},
    {U'\u2590', Columns(4, 8), 0},
    {U'\u2594', Rows(0, 1), 0},
    {U'\u2595', Columns(7, 8), 0},
    {U'\u2596', LL, 0},
    {U'\u2597', LR, 0},
    {U'\u2598', UL, 0},
    {U'\u2599', UL | LL | LR, 0},
    {U'\u259A', UL | LR, 0},
    {U'\u259B', UL | UR | LL, 0},
    {U'\u259C', UL | UR | LR, 0},
    {U'\u259D', UR, 0},
    {U'\u259E', UR | LL, 0},
    {U'\u259F', UR | LL | LR, 0},
    // Shades stand for tones only without colour: with colour two colours do better.
    {U'\u2591', 0, 0.25f},
    {U'\u2592', 0, 0.5f},
    {U'\u2593', 0, 0.75f},
};
constexpr int ShadeCount = 3;

// Braille dot bits by position in the 2 x 4 cell, row by row.
constexpr int BrailleBits[4][2] = {{0x01, 0x08}, {0x02, 0x10}, {0x04, 0x20}, {0x40, 0x80}};

// How a cell is matched without colour, as it is seen from a reading distance: the
// lightness of its quadrants and of the whole cell, and with a small weight that of each
// zone (where exactly a stroke lies). Weights tuned with bench/art_fidelity on photos.
constexpr float MeanWeight = 1;
constexpr float FineWeight = 0.25f;
// The share of a tone cell's error carried on: all of it keeps a flat area's tone exactly
// but draws a pattern over edges; 0.6 keeps flat tones within a few percent and scores
// better on photos (bench/art_fidelity). Blocks, with fewer tones, carry all of it.
constexpr float ToneDiffusedShare = 0.6f;
// Steps of the lightness table, fine enough that its straight pieces are off by less
// than 0.1 L* above the darkest step.
constexpr int LightnessSteps = 4096;
// Ink between a cell's lightest and darkest samples from which it counts as an edge.
constexpr float EdgeInk = 0.5f;
// Plain shape lays a little less ink than the light asks for, the paper's share raised
// to a power below 1: glyphs differ least in the dark, where full ink buries a dark
// picture's detail and a thin line's neighbours under ink. Chosen with bench/art_fidelity;
// braille's dots, diffused, score best with the ink as asked.
constexpr float ShapeInkEasing = 0.85f;
// With colour, a tone cell that wants at least this much ink takes the densest glyph and
// its colour makes up the rest: glyphs near full ink differ less than their inks change
// from one font size to another, so a lighter one could show the shades the wrong way.
constexpr float ColourDensestFrom = 0.6f;
// A braille cell whose samples differ by less ink than this is drawn with all its dots.
constexpr float FlatCell = 0.05f;

// Error diffusion (Floyd and Steinberg) over a grid processed row by row: the error of a
// row's cells spreads right and onto the next row.
class Diffusion {
public:
    explicit Diffusion(int width) : current_(size_t(width) + 2), next_(size_t(width) + 2) {}
    float At(int x) const { return current_[size_t(x) + 1]; }
    void Spread(int x, float error) {
        current_[size_t(x) + 2] += error * 7 / 16;
        next_[size_t(x)] += error * 3 / 16;
        next_[size_t(x) + 1] += error * 5 / 16;
        next_[size_t(x) + 2] += error * 1 / 16;
    }
    void NextRow() {
        current_.swap(next_);
        std::fill(next_.begin(), next_.end(), 0.f);
    }

private:
    std::vector<float> current_, next_;
};

} // namespace

class ArtCellChooser::Impl {
public:
    explicit Impl(const ArtRequest& request)
        : look_(request.look), glyphs_(request.glyphs),
          colour_(request.encoding != ArtEncoding::Text),
          samples_(SamplesPerCell(request.look.style)), columns_(request.cells.width()),
          cellDiffusion_(request.cells.width()), dotDiffusion_(request.cells.width() * 2) {
        paper_ = look_.paper == ArtPaper::Light ? 1.f : 0.f;
        if (glyphs_) {
            for (size_t k = 0; k < glyphs_->glyphs.size(); ++k) {
                if (glyphs_->glyphs[k].ink > densest_) {
                    densest_ = glyphs_->glyphs[k].ink;
                    densestIndex_ = int(k);
                }
            }
        }
        densest_ = densest_ > 0 ? densest_ : 1;
        if (look_.style == ArtStyle::Shape && glyphs_) {
            constexpr int n = GlyphZoneColumns * GlyphZoneRows;
            for (const GlyphMeasure& g : glyphs_->glyphs) {
                float inks[n];
                for (int k = 0; k < n; ++k)
                    inks[k] = float(g.zones[size_t(k)] / densest_);
                const size_t at = shownLightness_.size();
                shownLightness_.resize(at + size_t(viewColumns_ * viewRows_));
                View(inks, &shownLightness_[at]);
                for (int k = 0; k < n; ++k)
                    fineLightness_.push_back(Lightness(Shown(std::min(1.f, inks[k]))));
                meanLightness_.push_back(Lightness(Shown(float(g.ink / densest_))));
            }
        }
    }

    // The lightness a cell shows on the view grid, from the ink of each zone.
    void View(const float* inks, float* out) const {
        const int vw = GlyphZoneColumns / viewColumns_, vh = GlyphZoneRows / viewRows_;
        for (int vy = 0; vy < viewRows_; ++vy)
            for (int vx = 0; vx < viewColumns_; ++vx) {
                float sum = 0;
                for (int j = vy * vh; j < (vy + 1) * vh; ++j)
                    for (int i = vx * vw; i < (vx + 1) * vw; ++i)
                        sum += inks[j * GlyphZoneColumns + i];
                out[vy * viewColumns_ + vx] = Lightness(Shown(sum / float(vw * vh)));
            }
    }

    // The row's cells from its planes: sample (i, j) of cell x at
    // [j * columns * sw + x * sw + i].
    void Choose(const ArtPlanes& p, std::vector<ArtCell>& cells) {
        for (int x = 0; x < columns_; ++x) {
            ArtCell& cell = cells[size_t(x)];
            cell = ArtCell();
            switch (look_.style) {
            case ArtStyle::Tone:
                Tone(p, x, cell);
                break;
            case ArtStyle::Shape:
                Shape(p, x, cell);
                break;
            case ArtStyle::Blocks:
                Blocks(p, x, cell);
                break;
            default:
                break;
            }
        }
        if (look_.style == ArtStyle::Braille)
            Braille(p, cells);
        cellDiffusion_.NextRow();
    }

private:
    int Index(int x, int i, int j) const {
        return j * columns_ * samples_.width() + x * samples_.width() + i;
    }
    // Ink wanted for a luminance: dark parts on light paper, light parts on dark paper.
    float Ink(float y) const { return look_.paper == ArtPaper::Light ? 1 - y : y; }

    void Mean(const ArtPlanes& p, int x, float out[3]) const {
        const int n = samples_.width() * samples_.height();
        out[0] = out[1] = out[2] = 0;
        for (int j = 0; j < samples_.height(); ++j)
            for (int i = 0; i < samples_.width(); ++i) {
                const int k = Index(x, i, j);
                out[0] += p.r[size_t(k)];
                out[1] += p.g[size_t(k)];
                out[2] += p.b[size_t(k)];
            }
        for (int c = 0; c < 3; ++c)
            out[c] /= float(n);
    }

    // The ink colour that, at `ink` of the cell and the paper elsewhere, shows `mean`.
    void InkColour(const float mean[3], float ink, ArtCell& cell) const {
        cell.hasFg = true;
        for (int c = 0; c < 3; ++c)
            cell.fg[c] = std::clamp(paper_ + (mean[c] - paper_) / std::max(ink, 0.05f), 0.f, 1.f);
    }

    void Tone(const ArtPlanes& p, int x, ArtCell& cell) {
        float mean[3];
        Mean(p, x, mean);
        // With colour the ink's colour gives the light, and the glyph is chosen by
        // lightness, so that dark parts keep enough ink to show their colour.
        const float luminance = Luminance(mean[0], mean[1], mean[2]);
        const float want = Ink(colour_ ? Lightness(luminance) / 100 : luminance) + Carried(x);
        int best = 0;
        float bestError = 1e9f;
        const auto& glyphs = glyphs_->glyphs;
        for (size_t k = 0; k < glyphs.size(); ++k) {
            const float ink = float(glyphs[k].ink / densest_);
            // Without diffusion the nearest tone as seen (lightness); with it the nearest
            // in light, so the errors add up to nothing.
            const float error = look_.dither
                                    ? std::abs(ink - want)
                                    : std::abs(Lightness(Shown(ink)) - Lightness(Shown(want)));
            if (error < bestError) {
                bestError = error;
                best = int(k);
            }
        }
        if (colour_ && want >= ColourDensestFrom)
            best = densestIndex_;
        const float ink = float(glyphs[size_t(best)].ink / densest_);
        Spread(x, want - ink);
        cell.code = glyphs[size_t(best)].character.toUcs4().value(0, U' ');
        if (colour_ && ink > 0)
            InkColour(mean, float(glyphs[size_t(best)].ink), cell); // the ink it really lays
    }

    void Shape(const ArtPlanes& p, int x, ArtCell& cell) {
        constexpr int n = GlyphZoneColumns * GlyphZoneRows;
        float want[n];
        float y[n];
        float wantMean = 0, yMean = 0;
        for (int j = 0; j < GlyphZoneRows; ++j)
            for (int i = 0; i < GlyphZoneColumns; ++i) {
                const size_t k = size_t(Index(x, i, j));
                y[j * GlyphZoneColumns + i] = p.y[k];
                want[j * GlyphZoneColumns + i] =
                    colour_ ? Ink(p.y[k]) : Eased(Ink(p.y[k]), ShapeInkEasing);
            }
        const float carried = Carried(x);
        for (int k = 0; k < n; ++k) {
            // Held to the ink a glyph can lay: an error no glyph can pay back would grow
            // from cell to cell until every cell took the densest glyph.
            want[k] = std::clamp(want[k] + carried, 0.f, 1.f);
            wantMean += want[k] / n;
            yMean += y[k] / n;
        }
        const int views = viewColumns_ * viewRows_;
        float wantLightness[n];
        View(want, wantLightness);
        float wantFine[n];
        for (int k = 0; k < n; ++k)
            wantFine[k] = Lightness(Shown(want[k]));
        const float wantMeanLightness = Lightness(Shown(wantMean));
        const auto& glyphs = glyphs_->glyphs;
        int best = 0;
        float bestError = 1e30f;
        for (size_t g = 0; g < glyphs.size(); ++g) {
            const auto& zones = glyphs[g].zones;
            float error = 0;
            if (!colour_) {
                // As seen: lightness of each zone and of the whole cell.
                const float* shown = &shownLightness_[g * size_t(views)];
                for (int k = 0; k < views; ++k)
                    error += (wantLightness[k] - shown[k]) * (wantLightness[k] - shown[k]);
                const float d = wantMeanLightness - meanLightness_[g];
                error += MeanWeight * views * d * d;
                // Every term adds: a glyph already worse needs no fine comparison.
                if (error >= bestError - 1e-7f)
                    continue;
                const float* fine = &fineLightness_[g * size_t(n)];
                float fineError = 0;
                for (int k = 0; k < n; ++k)
                    fineError += (wantFine[k] - fine[k]) * (wantFine[k] - fine[k]);
                error += FineWeight * fineError * views / n;
            } else if (look_.fgOnly) {
                // Paper plus the ink's share of the colour: one unknown, the ink.
                float sgy = 0, sgg = 0, syy = 0;
                for (int k = 0; k < n; ++k) {
                    const float v = y[k] - paper_;
                    sgy += zones[size_t(k)] * v;
                    sgg += zones[size_t(k)] * zones[size_t(k)];
                    syy += v * v;
                }
                error = syy - (sgg > 0 ? sgy * sgy / sgg : 0);
            } else {
                // Two colours: the cell's luminance fitted as bg + zone x (fg - bg).
                float sg = 0, sgg = 0, sgy = 0, syy = 0;
                for (int k = 0; k < n; ++k) {
                    const float g2 = zones[size_t(k)];
                    sg += g2;
                    sgg += g2 * g2;
                    sgy += g2 * y[k];
                    syy += y[k] * y[k];
                }
                const float vg = sgg - sg * sg / n;
                const float cgy = sgy - sg * yMean;
                const float vyy = syy - n * yMean * yMean;
                error = vyy - (vg > 1e-6f ? cgy * cgy / vg : 0);
            }
            if (error < bestError - 1e-7f) {
                bestError = error;
                best = int(g);
            }
        }
        const GlyphMeasure& chosen = glyphs[size_t(best)];
        cell.code = chosen.character.toUcs4().value(0, U' ');
        if (!colour_) {
            float mean = 0;
            for (int k = 0; k < n; ++k)
                mean += std::min(1.f, float(chosen.zones[size_t(k)] / densest_)) / n;
            Spread(x, wantMean - mean);
            return;
        }
        FitColours(p, x, chosen.zones.data(), cell);
    }

    // The colours of the chosen glyph: per channel, the least-squares fit of the samples
    // as bg + zone x (fg - bg), or paper + zone x (fg - paper) with the ink alone.
    void FitColours(const ArtPlanes& p, int x, const float* zones, ArtCell& cell) {
        constexpr int n = GlyphZoneColumns * GlyphZoneRows;
        const std::vector<float>* planes[3] = {&p.r, &p.g, &p.b};
        float sg = 0, sgg = 0;
        for (int k = 0; k < n; ++k) {
            sg += zones[k];
            sgg += zones[k] * zones[k];
        }
        const float vg = sgg - sg * sg / n;
        cell.hasFg = true;
        cell.hasBg = !look_.fgOnly;
        for (int c = 0; c < 3; ++c) {
            float sv = 0, sgv = 0;
            for (int j = 0; j < GlyphZoneRows; ++j)
                for (int i = 0; i < GlyphZoneColumns; ++i) {
                    const float v = (*planes[c])[size_t(Index(x, i, j))];
                    const float g = zones[j * GlyphZoneColumns + i];
                    sv += v;
                    sgv += g * v;
                }
            if (look_.fgOnly) {
                const float d = sgg > 0 ? (sgv - paper_ * sg) / sgg : 0;
                cell.fg[c] = std::clamp(paper_ + d, 0.f, 1.f);
            } else {
                const float mean = sv / n;
                const float d = vg > 1e-6f ? (sgv - sg * mean) / vg : 0;
                const float bg = mean - d * sg / n;
                cell.bg[c] = std::clamp(bg, 0.f, 1.f);
                cell.fg[c] = std::clamp(bg + d, 0.f, 1.f);
            }
        }
    }

    void Blocks(const ArtPlanes& p, int x, ArtCell& cell) {
        constexpr int n = 64;
        float v[3][n];
        float want[n];
        float total[3] = {0, 0, 0};
        const float carried = Carried(x);
        for (int j = 0; j < 8; ++j)
            for (int i = 0; i < 8; ++i) {
                const size_t k = size_t(Index(x, i, j));
                const int s = j * 8 + i;
                v[0][s] = p.r[k];
                v[1][s] = p.g[k];
                v[2][s] = p.b[k];
                want[s] = Ink(p.y[k]) + carried;
                for (int c = 0; c < 3; ++c)
                    total[c] += v[c][s];
            }
        float wantLightness[n];
        float wantMean = 0;
        for (int s = 0; s < n; ++s) {
            wantLightness[s] = Lightness(Shown(want[s]));
            wantMean += want[s] / n;
        }
        const float wantMeanLightness = Lightness(Shown(wantMean));
        float wantQuadrant[4];
        for (int q = 0; q < 4; ++q) {
            float sum = 0;
            for (int j = q / 2 * 4; j < q / 2 * 4 + 4; ++j)
                for (int i = q % 2 * 4; i < q % 2 * 4 + 4; ++i)
                    sum += want[j * 8 + i];
            wantQuadrant[q] = Lightness(Shown(sum / 16));
        }
        const int shapes = int(std::size(BlockShapes)) - (colour_ ? ShadeCount : 0);
        int best = 0;
        float bestScore = -1e30f;
        float bestInk = 0;
        for (int b = 0; b < shapes; ++b) {
            const BlockShape& shape = BlockShapes[b];
            const int in = std::popcount(shape.mask);
            float score = 0;
            float ink = shape.shade > 0 ? shape.shade : in / float(n);
            if (!colour_) {
                // Fixed ink and paper, as seen: the lightness of the quadrants, of the
                // whole cell and, a little, of each sample, as shape scores glyphs.
                constexpr quint64 quadrants[4] = {UL, UR, LL, LR};
                float error = 0;
                for (int q = 0; q < 4; ++q) {
                    const float shown = Lightness(
                        Shown(shape.shade > 0 ? shape.shade
                                              : std::popcount(shape.mask & quadrants[q]) / 16.f));
                    error += (wantQuadrant[q] - shown) * (wantQuadrant[q] - shown);
                }
                const float d = wantMeanLightness - Lightness(Shown(ink));
                error += MeanWeight * 4 * d * d;
                // The fine terms only add: a shape already worse needs none.
                if (-error <= bestScore + 1e-7f)
                    continue;
                float fine = 0;
                const float inked = Lightness(Shown(shape.shade > 0 ? shape.shade : 1));
                const float bare = Lightness(Shown(shape.shade > 0 ? shape.shade : 0));
                for (int s = 0; s < n; ++s) {
                    const float shown = shape.mask >> s & 1 ? inked : bare;
                    fine += (wantLightness[s] - shown) * (wantLightness[s] - shown);
                }
                score = -(error + FineWeight * fine * 4 / n);
            } else {
                // The squared error falls by the fitted means' share (sum^2 / count) of
                // each part; a part left to the paper (ink alone) is compared with it.
                for (int c = 0; c < 3; ++c) {
                    float inside = 0;
                    float outsideError = 0;
                    if (look_.fgOnly) {
                        for (int s = 0; s < n; ++s) {
                            if (shape.mask >> s & 1)
                                inside += v[c][s];
                            else
                                outsideError += (v[c][s] - paper_) * (v[c][s] - paper_);
                        }
                    } else {
                        // The samples inside alone, in the same order.
                        for (quint64 m = shape.mask; m != 0; m &= m - 1)
                            inside += v[c][std::countr_zero(m)];
                    }
                    if (in > 0)
                        score += inside * inside / float(in);
                    if (look_.fgOnly)
                        score -= outsideError;
                    else if (in < n)
                        score += (total[c] - inside) * (total[c] - inside) / float(n - in);
                }
            }
            if (score > bestScore + 1e-7f) {
                bestScore = score;
                best = b;
                bestInk = ink;
            }
        }
        const BlockShape& shape = BlockShapes[best];
        cell.code = shape.code;
        if (!colour_) {
            float mean = 0;
            for (int s = 0; s < n; ++s)
                mean += want[s] / n;
            float lo = 1, hi = 0;
            for (int s = 0; s < n; ++s) {
                lo = std::min(lo, want[s]);
                hi = std::max(hi, want[s]);
            }
            Spread(x, (mean - bestInk) * Smoothness(lo, hi));
            return;
        }
        const int in = std::popcount(shape.mask);
        for (int c = 0; c < 3; ++c) {
            float inside = 0;
            for (int s = 0; s < n; ++s)
                inside += (shape.mask >> s & 1) ? v[c][s] : 0;
            const float fg = in > 0 ? inside / float(in) : total[c] / n;
            const float bg = in < n ? (total[c] - inside) / float(n - in) : fg;
            cell.fg[c] = fg;
            cell.bg[c] = look_.fgOnly ? paper_ : bg;
        }
        cell.hasFg = in > 0;
        cell.hasBg = !look_.fgOnly;
        if (!cell.hasFg && !look_.fgOnly) { // one colour: the whole cell in it
            cell.code = U'\u2588';
            cell.hasFg = true;
            std::copy(cell.bg, cell.bg + 3, cell.fg);
        }
    }

    // Dots by threshold with error diffusion over the whole grid of dots.
    void Braille(const ArtPlanes& p, std::vector<ArtCell>& cells) {
        std::vector<int> code(size_t(columns_), 0);
        // With colour the colour carries the tone and the dots the cell's light and dark
        // parts: each sample's ink is taken within its cell's range, a flat cell all dots.
        std::vector<float> low(size_t(columns_), 0.f), range(size_t(columns_), 1.f);
        if (colour_) {
            for (int x = 0; x < columns_; ++x) {
                float lo = 1, hi = 0;
                for (int j = 0; j < 4; ++j)
                    for (int i = 0; i < 2; ++i) {
                        const float ink = Ink(p.y[size_t(Index(x, i, j))]);
                        lo = std::min(lo, ink);
                        hi = std::max(hi, ink);
                    }
                const bool flat = hi - lo < FlatCell;
                low[size_t(x)] = flat ? lo - 1 : lo;
                range[size_t(x)] = flat ? 1 : hi - lo;
            }
        }
        for (int j = 0; j < 4; ++j) {
            for (int i = 0; i < columns_ * 2; ++i) {
                const size_t k = size_t(j * columns_ * 2 + i);
                const size_t x = size_t(i / 2);
                const float ink =
                    colour_ ? std::min(1.f, (Ink(p.y[k]) - low[x]) / range[x]) : Ink(p.y[k]);
                const float want = ink + dotDiffusion_.At(i);
                const bool on = want >= 0.5f;
                dotDiffusion_.Spread(i, want - (on ? 1.f : 0.f));
                if (on)
                    code[size_t(i / 2)] |= BrailleBits[j][i % 2];
            }
            dotDiffusion_.NextRow();
        }
        for (int x = 0; x < columns_; ++x) {
            ArtCell& cell = cells[size_t(x)];
            cell.code = char32_t(0x2800 + code[size_t(x)]);
            if (!colour_ || code[size_t(x)] == 0)
                continue;
            // The ink colour that, on the dots that are on, shows the cell's colour.
            float mean[3];
            Mean(p, x, mean);
            InkColour(mean, std::popcount(unsigned(code[size_t(x)])) / 8.f, cell);
        }
    }

    // Less ink than `ink` by the easing above; none and full ink stay as they are.
    static float Eased(float ink, float power) {
        return 1 - std::pow(std::clamp(1 - ink, 0.f, 1.f), power);
    }

    // How much of a cell's error is carried on: all of it in a smooth cell, none across
    // an edge, where a pattern would only blur the edge.
    static float Smoothness(float lowestInk, float highestInk) {
        return std::clamp(1 - (highestInk - lowestInk) / EdgeInk, 0.f, 1.f);
    }
    float Carried(int x) const { return look_.dither ? cellDiffusion_.At(x) : 0.f; }
    void Spread(int x, float error) {
        if (look_.dither)
            cellDiffusion_.Spread(x, look_.style == ArtStyle::Tone ? error * ToneDiffusedShare
                                                                   : error);
    }
    // The luminance a cell shows with this much ink, and its lightness (CIE L*).
    float Shown(float ink) const { return look_.paper == ArtPaper::Light ? 1 - ink : ink; }
    // Read from a table: it is asked for every sample and every candidate.
    static float Lightness(float luminance) {
        static const std::array<float, LightnessSteps + 2> table = [] {
            std::array<float, LightnessSteps + 2> t{};
            for (int i = 0; i <= LightnessSteps + 1; ++i) {
                const double y = std::min(1.0, double(i) / LightnessSteps);
                t[size_t(i)] = float(y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389 / 27);
            }
            return t;
        }();
        const float at = std::clamp(luminance, 0.f, 1.f) * LightnessSteps;
        const int i = int(at);
        return table[size_t(i)] + (at - float(i)) * (table[size_t(i) + 1] - table[size_t(i)]);
    }

    LookOptions look_;
    std::shared_ptr<const GlyphMeasures> glyphs_;
    bool colour_;
    QSize samples_;
    int columns_;
    float paper_ = 1;
    double densest_ = 0;
    int densestIndex_ = 0;
    Diffusion cellDiffusion_;
    Diffusion dotDiffusion_;
    // Shape without colour: each glyph's zones and whole cell as seen, in lightness.
    float shapeMeanWeight_ = MeanWeight;
    int viewColumns_ = 2, viewRows_ = 2;
    std::vector<float> fineLightness_;
    float blockMeanWeight_ = MeanWeight;
    std::vector<float> shownLightness_;
    std::vector<float> meanLightness_;
};

ArtCellChooser::ArtCellChooser(const ArtRequest& request)
    : impl_(std::make_unique<Impl>(request)) {}

ArtCellChooser::~ArtCellChooser() = default;

void ArtCellChooser::Choose(const ArtPlanes& planes, std::vector<ArtCell>& cells) {
    impl_->Choose(planes, cells);
}

} // namespace mGlyfora
