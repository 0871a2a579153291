// Reading and writing the conversion parameters.
#include "convert/ConversionSettings.h"

namespace mGlyfora {

using platform::Setting;

void LoadConversionSettings(const platform::SettingsStore& store) {
    ConversionSettingsRecord& cs = ConversionSettings;
    cs.X = quint8(ReadInteger(store, Setting::ConversionX));
    cs.Y = quint8(ReadInteger(store, Setting::ConversionY));
    cs.Reverse = ReadBoolean(store, Setting::ConversionReverse);
    cs.Charactor = ReadText(store, Setting::ConversionCharactor);
    cs.Style = quint8(ReadInteger(store, Setting::ConversionStyle));
    cs.Luminance = ReadBoolean(store, Setting::ConversionLuminance);
    cs.Dither = ReadBoolean(store, Setting::ConversionDither);
    cs.Before = ReadText(store, Setting::HtmlBefore);
    cs.After = ReadText(store, Setting::HtmlAfter);
    cs.BeforeHTML = ReadText(store, Setting::HtmlBeforeHtml);
    cs.AfterHTML = ReadText(store, Setting::HtmlAfterHtml);
}

void SaveConversionSettings(platform::SettingsStore& store) {
    const ConversionSettingsRecord& cs = ConversionSettings;
    WriteInteger(store, Setting::ConversionX, cs.X);
    WriteInteger(store, Setting::ConversionY, cs.Y);
    WriteBoolean(store, Setting::ConversionReverse, cs.Reverse);
    WriteText(store, Setting::ConversionCharactor, cs.Charactor);
    WriteInteger(store, Setting::ConversionStyle, cs.Style);
    WriteBoolean(store, Setting::ConversionLuminance, cs.Luminance);
    WriteBoolean(store, Setting::ConversionDither, cs.Dither);
    WriteText(store, Setting::HtmlBefore, cs.Before);
    WriteText(store, Setting::HtmlAfter, cs.After);
    WriteText(store, Setting::HtmlBeforeHtml, cs.BeforeHTML);
    WriteText(store, Setting::HtmlAfterHtml, cs.AfterHTML);
}

} // namespace mGlyfora
