// Reports mouse buttons released over a widget, as the widget's own MouseUp event would,
// without taking the event from it.
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

class MouseUpFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, QPoint)>;
    enum class Area {
        Whole,      // anywhere on the widget, its children included
        OwnSurface, // only where no child lies (children have their own events)
    };

    // Watches `widget` for as long as both live; the filter is owned by the widget.
    static void Watch(QWidget* widget, Area area, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MouseUpFilter(QWidget* widget, Area area, Handler handler);
    QWidget* widget_;
    Area area_;
    Handler handler_;
};
