// The window flags of the program's fixed-size dialogs: a title and a close box, no
// resizing, no other title-bar buttons.
#pragma once

#include <Qt>

namespace platform {

inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

} // namespace platform
