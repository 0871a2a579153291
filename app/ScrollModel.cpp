// Scroll-bar value model.
#include "app/ScrollModel.h"

#include <algorithm>

void ScrollModel::SetMax(std::int32_t max) {
    max_ = max;
    SetValue(value_);
}

void ScrollModel::SetValue(std::int64_t value) {
    const auto clamped = std::int32_t(std::clamp<std::int64_t>(value, Low(), High()));
    if (clamped == value_)
        return;
    value_ = clamped;
    Q_EMIT Change();
}
