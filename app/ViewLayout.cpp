// View layout arithmetic.
#include "app/ViewLayout.h"

#include "platform/Rounding.h"

#include <cmath>
#include <limits>

namespace mGlyfora {

namespace {
// Sizes cannot go below zero: such a step is skipped.
void SetSize(double& size, double value) {
    if (value >= 0)
        size = value;
}

// Whole-number properties: rounded halves to even (nearbyint, default rounding mode); a value
// beyond 32 bits is skipped.
void SetWhole(std::int32_t& target, double value) {
    if (const auto rounded = platform::RoundedWithin<std::int32_t>(value))
        target = *rounded;
}

// Max, SmallChange and LargeChange of one bar for a picture extent against a viewport
// extent.
void SetRange(ScrollBarLayout& bar, double picture, std::int64_t picturePixels, double base) {
    SetWhole(bar.max, picture - base + ViewBorderAllowance);
    if (picturePixels > 0)
        SetWhole(bar.smallChange, picture / double(picturePixels));
    SetWhole(bar.largeChange, 10.0 * bar.smallChange);
}
} // namespace

ViewLayout LayOutView(const ViewLayoutInput& in, const ViewLayout& current) {
    ViewLayout out = current;
    TwipsRect& base = out.picBase;
    ScrollBarLayout& hsb = out.hsbView;
    ScrollBarLayout& vsb = out.vsbView;

    base.left = 0;
    base.top = in.toolbarShown ? in.toolbarHeight : 0;
    SetSize(base.height, in.clientHeight - base.top - (in.statusBarShown ? in.statusBarHeight : 0));
    SetSize(base.width, in.clientWidth);

    // A picture needs a bar once it is larger than the inner area, border allowed for.
    if (in.pictureShown) {
        vsb.visible = base.height - ViewBorderAllowance < in.pictureHeight;
        hsb.visible = base.width - ViewBorderAllowance < in.pictureWidth;
    }

    hsb.geometry.left = 0;
    hsb.geometry.top = base.height - hsb.geometry.height - ViewBorderAllowance;
    SetSize(hsb.geometry.width, base.width - ViewBorderAllowance);
    SetRange(hsb, in.pictureWidth, in.picturePixelWidth, base.width);

    vsb.geometry.top = 0;
    vsb.geometry.left = base.width - vsb.geometry.width - ViewBorderAllowance;
    SetSize(vsb.geometry.height, base.height - ViewBorderAllowance);
    SetRange(vsb, in.pictureHeight, in.picturePixelHeight, base.height);

    // Each bar takes room from the other direction, so one bar can call for the other.
    if (hsb.visible)
        vsb.visible = in.pictureHeight + hsb.geometry.height > base.height;
    if (vsb.visible)
        hsb.visible = in.pictureWidth + vsb.geometry.width > base.width;

    if (hsb.visible) {
        SetSize(vsb.geometry.height, vsb.geometry.height - hsb.geometry.height);
        SetWhole(vsb.max, double(vsb.max) + hsb.geometry.height);
    }
    if (vsb.visible) {
        SetSize(hsb.geometry.width, hsb.geometry.width - vsb.geometry.width);
        SetWhole(hsb.max, double(hsb.max) + vsb.geometry.width);
    }

    out.cornerVisible = hsb.visible && vsb.visible;
    if (out.cornerVisible) {
        out.picScollBar.left = hsb.geometry.width;
        out.picScollBar.top = vsb.geometry.height;
    }
    // The box covers the square where the two bars would cross.
    out.picScollBar.width = vsb.geometry.width;
    out.picScollBar.height = hsb.geometry.height;
    return out;
}

} // namespace mGlyfora
