// LoadSettings / SaveSettings: eleven keys, read and written in one fixed order.
#include "app/Settings.h"

#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"

namespace mGlyfora {

namespace {
// Longest ramp the character table can hold.
constexpr qsizetype MaxRampCharacters = 64;

qsizetype CodePoints(const QString& text) {
    qsizetype n = 0;
    for (auto it = text.cbegin(); it != text.cend(); ++it) {
        if (it->isHighSurrogate() && it + 1 != text.cend() && (it + 1)->isLowSurrogate())
            ++it;
        ++n;
    }
    return n;
}
} // namespace

void LoadSettings(platform::SettingsStore& store) {
    using namespace platform;
    ConversionSettingsRecord& cs = ConversionSettings;
    const ConversionSettingsRecord defaults;
    const QString conv = QStringLiteral("Conversion");
    cs.X =
        quint8(TextToInteger(store.Read(conv, QStringLiteral("X"), QStringLiteral("1")), 1, 1, 10));
    cs.Y =
        quint8(TextToInteger(store.Read(conv, QStringLiteral("Y"), QStringLiteral("1")), 1, 1, 10));
    cs.Reverse = TextToBool(store.Read(conv, QStringLiteral("Reverse"), BoolToText(false)), false);
    cs.Charactor = store.Read(conv, QStringLiteral("Charactor"), defaults.Charactor);
    const qsizetype ramp = CodePoints(cs.Charactor);
    if (ramp < 1 || ramp > MaxRampCharacters)
        cs.Charactor = defaults.Charactor;

    const QString html = QStringLiteral("HTML");
    cs.Before = store.Read(html, QStringLiteral("Before"), defaults.Before);
    cs.After = store.Read(html, QStringLiteral("After"), defaults.After);
    cs.BeforeHTML = store.Read(html, QStringLiteral("BeforeHTML"), defaults.BeforeHTML);
    cs.AfterHTML = store.Read(html, QStringLiteral("AfterHTML"), defaults.AfterHTML);

    const QString folder = ProgramFolder();
    OpenDirectory = store.Read(QStringLiteral("Open"), QStringLiteral("Directory"), folder);
    SaveDirectory = store.Read(QStringLiteral("Save"), QStringLiteral("Directory"), folder);
    RecentFilesMax = qint16(TextToInteger(
        store.Read(QStringLiteral("Recent Files"), QStringLiteral("Max"), QStringLiteral("4")), 4,
        0, 20));
}

void SaveSettings(platform::SettingsStore& store) {
    using platform::BoolToText;
    const ConversionSettingsRecord& cs = ConversionSettings;
    const QString conv = QStringLiteral("Conversion");
    store.Write(conv, QStringLiteral("X"), QString::number(cs.X));
    store.Write(conv, QStringLiteral("Y"), QString::number(cs.Y));
    store.Write(conv, QStringLiteral("Reverse"), BoolToText(cs.Reverse));
    store.Write(conv, QStringLiteral("Charactor"), cs.Charactor);
    const QString html = QStringLiteral("HTML");
    store.Write(html, QStringLiteral("Before"), cs.Before);
    store.Write(html, QStringLiteral("After"), cs.After);
    store.Write(html, QStringLiteral("BeforeHTML"), cs.BeforeHTML);
    store.Write(html, QStringLiteral("AfterHTML"), cs.AfterHTML);
    store.Write(QStringLiteral("Open"), QStringLiteral("Directory"), OpenDirectory);
    store.Write(QStringLiteral("Save"), QStringLiteral("Directory"), SaveDirectory);
    store.Write(QStringLiteral("Recent Files"), QStringLiteral("Max"),
                QString::number(RecentFilesMax));
}

} // namespace mGlyfora
