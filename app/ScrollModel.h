// The value model of one scroll bar: Min 0, Max, Value, SmallChange and LargeChange in
// 32 bits. Max may be below Min (a picture smaller than its viewport); the value then lies
// between Max and 0. QScrollBar cannot hold such a range, so the window keeps the numbers
// here and mirrors them onto the widget.
#pragma once

#include <QObject>
#include <cstdint>

class ScrollModel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static constexpr std::int32_t Min = 0;
    std::int32_t Max() const { return max_; }
    std::int32_t Value() const { return value_; }
    std::int32_t SmallChange() const { return smallChange_; }
    std::int32_t LargeChange() const { return largeChange_; }
    // The lowest and highest value the range allows, whichever way round Min and Max are.
    std::int32_t Low() const { return max_ < Min ? max_ : Min; }
    std::int32_t High() const { return max_ < Min ? Min : max_; }

    // A value outside the new range is brought into it, which counts as a change.
    void SetMax(std::int32_t max);
    // Values outside the range are brought to its nearest end.
    void SetValue(std::int64_t value);
    void SetSmallChange(std::int32_t step) { smallChange_ = step; }
    void SetLargeChange(std::int32_t step) { largeChange_ = step; }

Q_SIGNALS:
    // The value changed, by a person or by code.
    void Change();

private:
    std::int32_t max_ = 32767;
    std::int32_t value_ = 0;
    std::int32_t smallChange_ = 1;
    std::int32_t largeChange_ = 1;
};
