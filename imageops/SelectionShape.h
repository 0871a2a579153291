// The selection rectangle drawn over the working picture, in the picture's pixel
// coordinates (single-precision values holding whole numbers).
#pragma once

#include <QWidget>

class SelectionShape : public QWidget {
    Q_OBJECT
public:
    explicit SelectionShape(QWidget* parent = nullptr);

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void SetRect(float left, float top, float width, float height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};
