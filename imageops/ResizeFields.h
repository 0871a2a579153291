// The linked fields of the resize dialog: a pixel box changed by the person sets its
// percentage and, with the aspect ratio locked, the other pixel box; a percentage box
// sets its pixel box and, locked, the other percentage. Each change handler works only
// while the focus lies in a box of its own pair, so a value the program writes into the
// other pair goes no further, while one written within the pair carries on.
#pragma once

#include <QString>
#include <optional>

namespace mGlyfora {

// The four boxes; the value is the box's tag: 0 and 1 the pixel pair, 2 and 3 the
// percentage pair.
enum class ResizeBox { Width = 0, Height = 1, WidthPer = 2, HeightPer = 3 };

// The boxes as the dialog holds them. SetText with a new text must run BoxChanged for
// that box before it returns (a text box raises its change event at once); with the text
// the box already holds it must do nothing.
class ResizeBoxes {
public:
    virtual ~ResizeBoxes() = default;
    virtual QString Text(ResizeBox box) const = 0;
    virtual void SetText(ResizeBox box, const QString& text) = 0;
    // The box that has the focus; nullopt when the focus lies elsewhere or nowhere.
    virtual std::optional<ResizeBox> ActiveBox() const = 0;
    virtual bool RatioLocked() const = 0;
};

// The most characters a box takes: 5 for pixels, 10 for percentages.
int MaxLength(ResizeBox box);

// The change handler of `changed`. What the person typed is read as a 16-bit number; the
// sizes 100 % refers to and the values computed from them are 32-bit, so a picture wider
// than 32767 pixels still gets its fields filled. The chain of changes never rewrites the
// box the person is typing in (typing "800" key by key gives 800, not a width recomputed
// from the rounded height at each key). A box that holds no number, or a value that does
// not fit in 32 bits or in its box, ends the handler quietly with nothing changed.
void BoxChanged(ResizeBoxes& boxes, ResizeBox changed, qint32 baseWidth, qint32 baseHeight);

} // namespace mGlyfora
