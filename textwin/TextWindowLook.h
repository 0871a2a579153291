// The font and colours the conversion window shows its text in: the loaded window's, or
// those it will take from its stored settings when it loads.
#pragma once

#include <QColor>
#include <QFont>

class frmText;

namespace platform {
class SettingsStore;
}

namespace mGlyfora {

struct TextWindowLook {
    QFont font;
    QColor ink;
    QColor paper;
};

// `window` null: the window is not loaded, its settings in `store` say.
TextWindowLook ShownTextLook(const frmText* window, const platform::SettingsStore& store);

} // namespace mGlyfora
