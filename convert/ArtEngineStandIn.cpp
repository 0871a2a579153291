// Stands in for the looks' engine until it is built alongside: the same functions, art
// of the right size made of the first candidate character. Never built with the engine.
#include "convert/ArtEngine.h"

#include "convert/CharacterTable.h"
#include "convert/ConversionState.h"

#include <QFontDatabase>

namespace mGlyfora {

std::shared_ptr<const GlyphMeasures> MeasureGlyphs(const QFont& font,
                                                   const QStringList& characters) {
    auto measures = std::make_shared<GlyphMeasures>();
    measures->font = font;
    measures->cell = QSize(8, 16);
    for (const QString& c : characters)
        measures->glyphs.push_back({c, 0, {}});
    return measures;
}

std::optional<QFont> ArtFont(const QString& family) {
    if (family.isEmpty())
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontDatabase::hasFamily(family))
        return std::nullopt;
    return QFont(family);
}

QStringList ArtCharacters(ArtStyle style, const std::optional<QString>& ramp) {
    if (ramp && style != ArtStyle::Blocks && style != ArtStyle::Braille)
        return SplitCharacters(*ramp);
    QStringList ascii;
    for (char16_t c = u' '; c <= u'~'; ++c)
        ascii << QString(QChar(c));
    return ascii;
}

QSize SamplesPerCell(ArtStyle) {
    return QSize(1, 1);
}

QSize PixelsNeeded(ArtStyle, QSize cells) {
    return cells;
}

namespace {
QStringList Rows(const ArtRequest& request) {
    const QString c = request.glyphs && !request.glyphs->glyphs.empty()
                          ? request.glyphs->glyphs.front().character
                          : QStringLiteral("?");
    return QStringList(request.cells.height(), c.repeated(request.cells.width()));
}
} // namespace

ScanOutcome StreamArt(const QImage& picture, const ArtRequest& request, ScanHost& host,
                      ScanSink& sink, const std::atomic<bool>* abandon) {
    if (picture.isNull() || request.cells.isEmpty())
        return {QString(), ScanStatus::EmptyRegion, QStringLiteral("no cells")};
    const QStringList rows = Rows(request);
    host.SetProgressRange(0, int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        host.ProcessEvents();
        if (CancelRequested() || (abandon && abandon->load()))
            return {QString(), ScanStatus::Cancelled, QStringLiteral("cancelled")};
        const QByteArray bytes = (rows.at(i) + QStringLiteral("\r\n")).toUtf8();
        if (!sink.Write(bytes.constData(), bytes.size()))
            return {QString(), ScanStatus::FileError, sink.ErrorString()};
        host.SetProgress(i + 1);
    }
    return {};
}

std::optional<QStringList> PreviewArt(const QImage&, const ArtRequest& request,
                                      const std::atomic<bool>& abandon) {
    if (abandon.load())
        return std::nullopt;
    return Rows(request);
}

QImage ReduceForArt(const QImage& picture, const QRectF& region, QSize size) {
    return picture.copy(region.toAlignedRect()).scaled(size);
}

} // namespace mGlyfora
