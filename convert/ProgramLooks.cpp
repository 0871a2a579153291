// The program's looks for text results.
#include "convert/ProgramLooks.h"

#include "convert/ConversionSettings.h"
#include "convert/ScanRegion.h"
#include "imageops/PictureSurface.h"
#include "platform/Rounding.h"
#include "platform/SettingsTable.h"

#include <algorithm>

namespace mGlyfora {

ArtStyle StyleFromSetting(int style) {
    switch (style) {
    case 1:
        return ArtStyle::Tone;
    case 2:
        return ArtStyle::Shape;
    default:
        return ArtStyle::Exact;
    }
}

LookOptions ProgramLook(ArtStyle style, bool reverse, bool dither, const QString& face) {
    LookOptions look;
    look.style = style;
    look.paper = reverse ? ArtPaper::Dark : ArtPaper::Light;
    look.font = face;
    look.dither = style == ArtStyle::Tone && dither;
    return look;
}

QStringList ProgramCharacters(ArtStyle style, const QString& ramp) {
    const bool defaultRamp =
        ramp == platform::SettingDefault(platform::Setting::ConversionCharactor);
    if (style == ArtStyle::Shape && defaultRamp)
        return ArtCharacters(style, std::nullopt);
    return ArtCharacters(style, ramp);
}

std::shared_ptr<const GlyphMeasures> ProgramGlyphs(const LookOptions& look,
                                                   const QStringList& characters) {
    std::optional<QFont> font = ArtFont(look.font);
    if (!font)
        font = ArtFont(QString());
    if (!font)
        return nullptr;
    return MeasureGlyphs(*font, characters);
}

ScanOutcome ScanInLook(const ConversionSettingsRecord& cs, const PictureSurface& picView,
                       const SelectionRect& shpCut, const QString& face, ScanHost& host) {
    const LookOptions look = ProgramLook(StyleFromSetting(cs.Style), cs.Reverse, cs.Dither, face);
    return ScanThroughFile(host, [&](ScanSink& sink) {
        const int width = picView.ScaleWidth();
        const int height = picView.ScaleHeight();
        const std::optional<ScanRegion> fixed = FixRegion(shpCut, width, height);
        if (!fixed || cs.X < 1 || cs.Y < 1)
            return ScanOutcome{QString(), ScanStatus::BadSettings,
                               QStringLiteral("selection out of range")};
        // Cells of the program's size as near as whole cells cut the region; beside the
        // picture there is nothing to draw.
        const ScanRegion inside{std::max<qint64>(fixed->Left, 0), std::max<qint64>(fixed->Top, 0),
                                std::min<qint64>(fixed->Right, width),
                                std::min<qint64>(fixed->Bottom, height)};
        if (inside.Right <= inside.Left || inside.Bottom <= inside.Top)
            return ScanOutcome{QString(), ScanStatus::EmptyRegion,
                               QStringLiteral("the region holds no row of cells")};
        ArtRequest request;
        request.look = look;
        request.glyphs = ProgramGlyphs(look, ProgramCharacters(look.style, cs.Charactor));
        if (!request.glyphs)
            return ScanOutcome{QString(), ScanStatus::BadSettings,
                               QStringLiteral("no font to measure")};
        request.region =
            QRectF(QPointF(inside.Left, inside.Top), QPointF(inside.Right, inside.Bottom));
        const auto count = [](qint64 length, int cell) {
            return int(std::max<qint64>(1, platform::RoundHalfEven(double(length) / cell)));
        };
        request.cells =
            QSize(count(inside.Right - inside.Left, cs.X), count(inside.Bottom - inside.Top, cs.Y));
        request.encoding = ArtEncoding::Text;
        return StreamArt(picView.Image(), request, host, sink);
    });
}

} // namespace mGlyfora
