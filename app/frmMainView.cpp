// Main window: the viewport's layout, its scroll bars and the picture's place in it.
#include "app/frmMain.h"

#include <QFrame>
#include <QScrollBar>
#include <algorithm>

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    if (isMinimized() || !picBase)
        return;
    const QRect inner = picBase->contentsRect();
    const int barH = hsbView->sizeHint().height();
    const int barW = vsbView->sizeHint().width();
    if (picView->isVisible() || picView->isVisibleTo(picBase)) {
        const QSize pic = picView->size();
        bool needH = pic.width() > inner.width();
        bool needV = pic.height() > inner.height();
        if (needH && !needV)
            needV = pic.height() + barH > inner.height();
        if (needV && !needH)
            needH = pic.width() + barW > inner.width();
        hsbView->setVisible(needH);
        vsbView->setVisible(needV);
    }
    const int viewW = inner.width() - (vsbView->isVisibleTo(picBase) ? barW : 0);
    const int viewH = inner.height() - (hsbView->isVisibleTo(picBase) ? barH : 0);
    hsbView->setGeometry(inner.left(), inner.top() + viewH, viewW, barH);
    vsbView->setGeometry(inner.left() + viewW, inner.top(), barW, viewH);
    hsbView->setRange(0, std::max(0, picView->width() - viewW));
    vsbView->setRange(0, std::max(0, picView->height() - viewH));
    hsbView->setPageStep(std::max(1, viewW));
    vsbView->setPageStep(std::max(1, viewH));
    hsbView->setSingleStep(1);
    vsbView->setSingleStep(1);
    const bool both = hsbView->isVisibleTo(picBase) && vsbView->isVisibleTo(picBase);
    picScollBar->setGeometry(inner.left() + viewW, inner.top() + viewH, barW, barH);
    picScollBar->setVisible(both);
    hsbView->raise();
    vsbView->raise();
    picScollBar->raise();
}

void frmMain::hsbView_Change(int value) {
    picView->move(picBase->contentsRect().left() - value, picView->y());
}

void frmMain::vsbView_Change(int value) {
    picView->move(picView->x(), picBase->contentsRect().top() - value);
}
