// A conversion run: the progress dialog goes up, the main window steps aside, the scan
// runs, the main window comes back, and the result is delivered: to the conversion
// window, to an HTML page in the browser, or (too large for the window) to the clipboard.
#pragma once

#include "imageops/SelectionRect.h"

#include <QString>
#include <functional>

class PictureSurface;
class QWidget;

namespace platform {
class Dialogs;
}

namespace mGlyfora {

struct ConversionRunTarget {
    QWidget& main;                 // hidden and disabled while the scan runs
    const PictureSurface& picView; // the working picture
    SelectionRect shpCut;          // the selection, Visible as the shape is shown
    platform::Dialogs& dialogs;
    // Hands a text result to the conversion window and shows it; false, the window
    // unchanged, when the view cannot take a text this long.
    std::function<bool(const QString&)> showText;
    // The family the conversion window shows its text in: tone and shape measure its
    // glyphs (empty: fontconfig's "monospace").
    QString face;
};

void RunTextConversion(const ConversionRunTarget& target);
void RunHTMLConversion(const ConversionRunTarget& target);

} // namespace mGlyfora
