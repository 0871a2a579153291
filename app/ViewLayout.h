// The main window's view layout as arithmetic on twips, without widgets: where the
// viewport, the two scroll bars and the corner box between them go, which bars are shown,
// and the bars' ranges and steps for the current picture.
#pragma once

#include <cstdint>

namespace mGlyfora {

// Room the viewport's sunken border takes, in twips, in each direction.
inline constexpr double ViewBorderAllowance = 60;

struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct ScrollBarLayout {
    bool visible = false;
    // In twips, relative to the viewport's inner area; the bar's thickness (the height of
    // the horizontal bar, the width of the vertical one) is an input and stays as it is.
    TwipsRect geometry;
    std::int32_t max = 32767;
    std::int32_t smallChange = 1;
    std::int32_t largeChange = 1;
    friend bool operator==(const ScrollBarLayout&, const ScrollBarLayout&) = default;
};

// Everything the layout sets. Passed in as it stands, it is also what a step that cannot
// be done keeps.
struct ViewLayout {
    TwipsRect picBase;
    ScrollBarLayout hsbView;
    ScrollBarLayout vsbView;
    bool cornerVisible = false;
    TwipsRect picScollBar;
    friend bool operator==(const ViewLayout&, const ViewLayout&) = default;
};

struct ViewLayoutInput {
    // The window's client area below the menu bar.
    double clientWidth = 0;
    double clientHeight = 0;
    bool toolbarShown = false;
    double toolbarHeight = 0;
    bool statusBarShown = false;
    double statusBarHeight = 0;
    // The picture, when one is shown, in twips and in pixels.
    bool pictureShown = false;
    double pictureWidth = 0;
    double pictureHeight = 0;
    std::int64_t picturePixelWidth = 0;
    std::int64_t picturePixelHeight = 0;
};

// The new layout from the sizes and the layout as it stands. Bars keep their visibility
// when no picture is shown; a size that would be negative, a maximum beyond 32 bits and
// the step of a picture without pixels keep their current values.
ViewLayout LayOutView(const ViewLayoutInput& input, const ViewLayout& current);

} // namespace mGlyfora
