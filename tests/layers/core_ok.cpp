// What core code may use: Qt Core and Gui.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
