// Building a form's toolbar.
#include "platform/FormToolbar.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QToolBar>

// The toolbar pictures live in the static UI library: their resources are registered by
// hand. (Resources are registered outside any namespace.)
static void RegisterToolbarIcons() {
    Q_INIT_RESOURCE(toolbar);
}

namespace platform {

namespace {
// Width of the empty gap that is entry 1.
constexpr int GapWidth = 8;
// The pictures are drawn for this size (logical pixels).
constexpr int IconSize = 16;
} // namespace

QString IndexedName(const char* name, int index) {
    return QLatin1String(name) + u'(' + QString::number(index) + u')';
}

QToolBar* AddFormToolbar(QMainWindow& form) {
    RegisterToolbarIcons();
    QToolBar* toolbar = form.addToolBar(QStringLiteral("tbrToolbar"));
    toolbar->setObjectName(QStringLiteral("tbrToolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(IconSize, IconSize));
    toolbar->toggleViewAction()->setVisible(false);
    return toolbar;
}

QAction* AddToolbarEntry(QToolBar& toolbar, ToolbarEntry kind, int index, const char* icon,
                         const std::function<void(int)>& click) {
    QAction* entry = nullptr;
    if (kind == ToolbarEntry::Gap) {
        auto* gap = new QWidget(&toolbar);
        gap->setFixedWidth(GapWidth);
        entry = toolbar.addWidget(gap);
    } else if (kind == ToolbarEntry::Separator) {
        entry = toolbar.addSeparator();
    } else {
        entry = toolbar.addAction(QIcon(QLatin1String(icon)), QString(), &toolbar,
                                  [click, index] { click(index); });
    }
    entry->setObjectName(IndexedName("tbrButtons", index));
    entry->setProperty("Index", index);
    return entry;
}

} // namespace platform
