// A top-level window's geometry once the window manager's frame is known: a stored size
// is the outer size and loses the frame, a window placed by default is centred with its
// frame counted. The frame is known only after the window has been framed (a move
// follows the show), and not at all without a window manager.
#pragma once

class QWidget;

namespace platform {

// Window geometry is kept within what the window system can place.
inline constexpr int MaxWindowCoordinate = 32767;

// False where the window system keeps top-level positions to itself (Wayland): a position
// read there means nothing, and storing it would lose the one the person had elsewhere.
bool WindowPositionsKnown();

// The edge, in whole twips (halves to even), that centres an outer extent of `outer`
// pixels on a screen extent of `screen` pixels.
float CentredTwips(int screen, int outer, double twipsPerPixel);
// Twips to whole pixels (halves to even), held within [min, max].
int PixelsFromTwips(float twips, double twipsPerPixel, int min, int max);

class FrameFit {
public:
    struct Plan {
        bool outerWidth = false;  // the width set is an outer width: take the frame off
        bool outerHeight = false; // likewise the height
        bool centreX = false;     // centre horizontally with the frame counted
        bool centreY = false;
    };

    // What to do once the frame is known.
    void Arm(const Plan& plan);
    // From the window's showEvent and moveEvent.
    void Shown(QWidget& window);
    void Moved(QWidget& window);

private:
    void Apply(QWidget& window);

    Plan plan_;
    bool pending_ = false;
};

} // namespace platform
