// Glyphs measured by drawing them: each character black on white in its cell, with Qt's
// raster painting, its ink read back from the pixels.
#include "convert/ArtEngine.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace mGlyfora {

namespace {

// Large enough that a stroke's antialiased edge is a small part of it.
constexpr int MeasurePixelSize = 32;

} // namespace

std::optional<QFont> ArtFont(const QString& family) {
    QFont font;
    if (family.isEmpty()) {
        // fontconfig's answer for "monospace", as terminals and editors ask it.
        font = QFont(QStringLiteral("monospace"));
        font.setStyleHint(QFont::Monospace);
        font.setFamily(QFontInfo(font).family());
    } else {
        if (!QFontDatabase::hasFamily(family))
            return std::nullopt;
        font = QFont(family);
    }
    font.setPixelSize(MeasurePixelSize);
    return font;
}

QStringList ArtCharacters(ArtStyle style, const std::optional<QString>& ramp) {
    QStringList characters;
    if (ramp && (style == ArtStyle::Tone || style == ArtStyle::Shape)) {
        for (const char32_t c : ramp->toUcs4()) {
            const QString one = QString::fromUcs4(&c, 1);
            if (!characters.contains(one))
                characters << one;
        }
    } else if (style == ArtStyle::Shape) {
        for (char c = ' '; c <= '~'; ++c)
            characters << QString(QLatin1Char(c));
    }
    return characters;
}

std::shared_ptr<const GlyphMeasures> MeasureGlyphs(const QFont& font,
                                                   const QStringList& characters) {
    auto measures = std::make_shared<GlyphMeasures>();
    measures->font = font;
    const QFontMetricsF metrics(font);
    const int width = std::max(1, int(std::lround(metrics.horizontalAdvance(QLatin1Char('M')))));
    const int height = std::max(1, int(std::lround(metrics.height())));
    measures->cell = QSize(width, height);
    QImage cell(width, height, QImage::Format_Grayscale8);
    for (const QString& character : characters) {
        cell.fill(Qt::white);
        {
            QPainter painter(&cell);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(0, metrics.ascent()), character);
        }
        GlyphMeasure glyph;
        glyph.character = character;
        std::array<double, GlyphZoneColumns * GlyphZoneRows> zones{};
        std::array<double, GlyphZoneColumns * GlyphZoneRows> areas{};
        double total = 0;
        for (int y = 0; y < height; ++y) {
            const uchar* line = cell.constScanLine(y);
            const int zoneRow = y * GlyphZoneRows / height;
            for (int x = 0; x < width; ++x) {
                const double ink = (255 - line[x]) / 255.0;
                const size_t zone =
                    size_t(zoneRow * GlyphZoneColumns + x * GlyphZoneColumns / width);
                zones[zone] += ink;
                areas[zone] += 1;
                total += ink;
            }
        }
        glyph.ink = total / (double(width) * height);
        for (size_t i = 0; i < zones.size(); ++i)
            glyph.zones[i] = areas[i] > 0 ? float(zones[i] / areas[i]) : glyph.ink;
        measures->glyphs.push_back(glyph);
    }
    return measures;
}

} // namespace mGlyfora
