// Twips (1/1440 inch) per screen pixel, as the screen reports it.
#pragma once

namespace platform {

// 1440 / logical DPI of the primary screen; 15 when there is no screen (96 DPI).
double TwipsPerPixelX();
double TwipsPerPixelY();

} // namespace platform
