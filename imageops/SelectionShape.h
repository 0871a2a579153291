// The selection rectangle drawn over the working picture, in the picture's pixel
// coordinates (single-precision values holding whole numbers), with a solid outline
// while it is being dragged and a dotted one after.
#pragma once

#include "imageops/SelectionRect.h"

#include <QWidget>

class SelectionShape : public QWidget {
    Q_OBJECT
public:
    // The outline styles the selection uses.
    enum BorderStyles { Solid = 1, Dot = 3 };

    explicit SelectionShape(QWidget* parent = nullptr);

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void SetRect(float left, float top, float width, float height);
    // The rectangle as the scans and the copy take it, shown or not by the shape's own
    // state (the window around it may be hidden, as during a conversion).
    mGlyfora::SelectionRect Selection() const {
        return {!isHidden(), left_, top_, width_, height_};
    }

    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int borderStyle_ = Solid;
};
