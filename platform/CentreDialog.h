// Places a fixed dialog centred over the main window, frames counted, using the twips
// arithmetic of DialogPlacement so every dialog lands on the same spot.
#pragma once

class QWidget;

namespace platform {

// Moves `dialog` (already sized) so that its outer frame is centred over `main`'s outer
// frame. The dialog is assumed to get the same window-manager frame as the main window.
void CentreOver(QWidget& dialog, const QWidget& main);

} // namespace platform
