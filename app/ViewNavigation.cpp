// Keyboard and wheel navigation of the view.
#include "app/ViewNavigation.h"

#include "app/ScrollModel.h"

#include <cstdint>

namespace mGlyfora {

namespace {
// One step back: to V - step while that stays above Min, else to `floor`.
void StepBack(ScrollModel& bar, std::int32_t step, std::int32_t floor) {
    const std::int64_t v = std::int64_t(bar.Value()) - step;
    bar.SetValue(ScrollModel::Min < v ? v : floor);
}

// One step on: to V + step while that stays below Max, else to Max.
void StepOn(ScrollModel& bar, std::int32_t step) {
    const std::int64_t v = std::int64_t(bar.Value()) + step;
    bar.SetValue(bar.Max() > v ? v : bar.Max());
}
} // namespace

void MoveViewByKey(int keyCode, int shift, ScrollModel& hsbView, ScrollModel& vsbView) {
    switch (keyCode) {
    case KeyLeft:
        StepBack(hsbView, hsbView.SmallChange(), 0);
        break;
    case KeyRight:
        StepOn(hsbView, hsbView.SmallChange());
        break;
    case KeyUp:
        StepBack(vsbView, vsbView.SmallChange(), 0);
        break;
    case KeyDown:
        StepOn(vsbView, vsbView.SmallChange());
        break;
    case KeyPageUp:
        StepBack(vsbView, vsbView.LargeChange(), ScrollModel::Min);
        break;
    case KeyPageDown:
        StepOn(vsbView, vsbView.LargeChange());
        break;
    case KeyHome:
        if (shift & CtrlMask) {
            hsbView.SetValue(0);
            vsbView.SetValue(0);
        } else if (shift == 0) {
            hsbView.SetValue(0);
        }
        break;
    case KeyEnd:
        if (shift & CtrlMask) {
            hsbView.SetValue(hsbView.Max());
            vsbView.SetValue(vsbView.Max());
        } else if (shift == 0) {
            hsbView.SetValue(hsbView.Max());
        }
        break;
    default:
        break;
    }
}

void MoveViewByWheel(int zDelta, bool hsbShown, bool vsbShown, ScrollModel& hsbView,
                     ScrollModel& vsbView) {
    ScrollModel* bar = vsbShown ? &vsbView : hsbShown ? &hsbView : nullptr;
    if (!bar)
        return;
    std::int64_t v = bar->Value();
    const std::int64_t step = 5 * std::int64_t(bar->SmallChange());
    if (zDelta > 0) {
        v -= step;
        if (v < ScrollModel::Min)
            v = ScrollModel::Min;
    } else {
        v += step;
        if (v > bar->Max())
            v = bar->Max();
    }
    bar->SetValue(v);
}

} // namespace mGlyfora
