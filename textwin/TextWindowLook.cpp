// The conversion window's font and colours, loaded or not.
#include "textwin/TextWindowLook.h"

#include "platform/Colour.h"
#include "textwin/TextWindowSettings.h"
#include "textwin/frmText.h"

namespace mGlyfora {

TextWindowLook ShownTextLook(const frmText* window, const platform::SettingsStore& store) {
    if (window) {
        const ConversionView& view = *window->rtfView;
        return {view.BaseFont(), platform::ToQColor(view.SelColor().value_or(view.LeadColor())),
                platform::ToQColor(view.BackColor())};
    }
    const TextWindowSettings s = LoadTextWindowSettings(store);
    return {s.Font.ToQFont(), platform::ToQColor(s.ForeColor), platform::ToQColor(s.BackColor)};
}

} // namespace mGlyfora
