// Places a fixed dialog centred over the main window or on its screen, frames counted,
// in twips as the stored geometry is, so every dialog lands on the same spot.
#pragma once

class QWidget;

namespace platform {

// Moves `dialog` (already sized) so that its outer frame is centred over `main`'s outer
// frame. The dialog is assumed to get the same window-manager frame as the main window.
void CentreOver(QWidget& dialog, const QWidget& main);

// Moves `dialog` (already sized) so that its outer frame is centred on `main`'s screen,
// with the frame `main` has: before the dialog is shown its own frame is not known yet.
void CentreOnScreen(QWidget& dialog, const QWidget& main);

} // namespace platform
