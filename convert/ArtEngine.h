// The looks beyond the program's own scan (tone, shape, blocks, braille), shared by
// glyfora-convert and the program. Widget-free: it needs a QGuiApplication only to measure
// glyphs (the offscreen platform is enough).
//
// Contract:
// - A picture is sampled by area in linear light (sRGB decoded) with fractional cell edges:
//   `region` (in picture pixels) is cut into exactly `cells` columns x rows, whatever
//   their shape. Brightness is luminance with Rec. 709 weights.
// - Tone and shape use the glyphs of one font, measured once (MeasureGlyphs) and shared
//   read-only by any number of threads; a measure is never made per cell.
// - On light paper dark ink stands for dark parts; on dark paper the ink is light, so a
//   dense glyph stands for white: the art is never a negative of the picture.
// - Rows go to the sink as they are made, each followed by CR LF (HTML: each followed by
//   CR LF inside the text). The host sees SetProgressRange(0, rows), SetProgress after each
//   row and ProcessEvents before each row. The scan stops when the host's CancelRequested()
//   becomes true: Cancelled, and what was written stays written.
// - Failures never throw: a picture or region with no pixel, or zero cells, answers
//   EmptyRegion; memory that cannot be had answers OutOfMemory (not reported to the host:
//   the caller words it); a refused write answers FileError with the sink's reason.
#pragma once

#include "convert/ArtLooks.h"
#include "convert/ConvertScan.h"

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QStringList>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace mGlyfora {

// Sub-cell zones of a glyph's measure: shape compares a cell with each glyph on them.
inline constexpr int GlyphZoneColumns = 4;
inline constexpr int GlyphZoneRows = 8;

// The ink of each character of a set, drawn black on white in one font at one size in a
// cell of the font's advance x line spacing (Qt's raster painting, antialiased).
struct GlyphMeasure {
    QString character;
    double ink = 0; // the fraction of the cell inked, 0..1
    // The same for each zone, row by row: GlyphZoneColumns x GlyphZoneRows.
    std::array<float, GlyphZoneColumns * GlyphZoneRows> zones{};
};

struct GlyphMeasures {
    QFont font;
    QSize cell; // pixels of one cell as measured
    std::vector<GlyphMeasure> glyphs;
};

// Measures `characters` (one character each) in `font`. Every character is measured,
// even one the font lacks (then drawn with Qt's fallback, as a terminal would draw it).
std::shared_ptr<const GlyphMeasures> MeasureGlyphs(const QFont& font,
                                                   const QStringList& characters);

// The family a run measures in: `family`, or fontconfig's "monospace" when empty.
// Nothing when the family named is not installed.
std::optional<QFont> ArtFont(const QString& family);

// The characters a style chooses among: tone the ramp's; shape the ramp's when one is
// given, else printable ASCII (space to '~'). Blocks and braille have their own sets.
QStringList ArtCharacters(ArtStyle style, const std::optional<QString>& ramp);

// How the rows are written.
enum class ArtEncoding {
    Text,        // the characters alone (ink on the paper)
    Terminal256, // with escape sequences, colours from the 256-colour palette (nearest in Oklab)
    Terminal24,  // with 24-bit escape sequences
    Html,        // coloured text: runs of one colour pair in one <span>
};

struct ArtRequest {
    LookOptions look;                            // not Exact
    std::shared_ptr<const GlyphMeasures> glyphs; // tone and shape
    QRectF region;                               // of the picture, in pixels; non-empty
    QSize cells;                                 // columns x rows, each at least 1
    ArtEncoding encoding = ArtEncoding::Text;
};

// Samples each cell takes (columns x rows) in a style: the resolution it needs.
QSize SamplesPerCell(ArtStyle style);

// Pixels of the region that are enough for `cells` in a style: a picture decoded or
// reduced to at least this size gives the same art as the full picture, near enough.
QSize PixelsNeeded(ArtStyle style, QSize cells);

// The art of `picture` (any format; transparency is composited on white) streamed to
// `sink` as the contract above says.
ScanOutcome StreamArt(const QImage& picture, const ArtRequest& request, ScanHost& host,
                      ScanSink& sink);

// The live preview: the art's rows as text (encoding ignored), from a picture already
// reduced (ReduceForArt) or not; nothing when `abandon` became true first. Safe off the
// GUI thread.
std::optional<QStringList> PreviewArt(const QImage& picture, const ArtRequest& request,
                                      const std::atomic<bool>& abandon);

// A copy of `region` reduced by area (linear light) to `size` pixels, to keep for
// previews of the same picture: art made from it at cells that need at most `size`
// (PixelsNeeded) looks the same as from the picture. A null image without the memory.
QImage ReduceForArt(const QImage& picture, const QRectF& region, QSize size);

} // namespace mGlyfora
