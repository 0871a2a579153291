// Lists a form's controls as text and compares the list with a test's inventory.
#include "tests/support/ControlList.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

namespace testsupport {

namespace {

QString Quoted(const QString& text) {
    return u'"' + text + u'"';
}

// The fields every kind of control may carry, in the order a line shows them.
struct Line {
    QString name;
    QString caption;
    QKeySequence shortcut;
    QString tip;
    QVariant index;
    QString buddy;
    QStringList words;

    QString Text(int depth) const {
        QStringList fields{QString(depth * 2, u' ') + name};
        if (!caption.isEmpty())
            fields << Quoted(caption);
        if (!shortcut.isEmpty())
            fields << QStringLiteral("key=") + shortcut.toString(QKeySequence::PortableText);
        if (!tip.isEmpty())
            fields << QStringLiteral("tip=") + Quoted(tip);
        if (index.isValid())
            fields << QStringLiteral("index=") + index.toString();
        if (!buddy.isEmpty())
            fields << QStringLiteral("buddy=") + buddy;
        return (fields + words).join(u' ');
    }
};

void ListActions(const QList<QAction*>& actions, bool toolbar, int depth, QStringList& lines) {
    for (const QAction* action : actions) {
        const QMenu* menu = action->menu();
        Line line;
        line.name = action->objectName();
        line.caption = action->text();
        line.shortcut = action->shortcut();
        if (toolbar) // a menu item's tip is its caption unless set
            line.tip = action->toolTip();
        line.index = action->property("Index");
        if (menu && menu->objectName() != line.name)
            line.words << QStringLiteral("menu=") + menu->objectName();
        if (action->isSeparator())
            line.words << QStringLiteral("separator");
        if (!action->icon().isNull())
            line.words << QStringLiteral("icon");
        if (action->isCheckable())
            line.words << QStringLiteral("checkable");
        if (action->isChecked())
            line.words << QStringLiteral("checked");
        if (!action->isVisible()) // which disables it as well
            line.words << QStringLiteral("hidden");
        else if (!action->isEnabled())
            line.words << QStringLiteral("disabled");
        lines << line.Text(depth);
        if (menu)
            ListActions(menu->actions(), false, depth + 1, lines);
    }
}

// The caption a widget shows: a window's title, a tab page's tab (`tab`), a frame's title,
// a label's or button's text.
QString Caption(const QWidget& widget, const QString& tab) {
    if (widget.isWindow())
        return widget.windowTitle();
    if (!tab.isEmpty())
        return tab;
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget))
        return frame->title();
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    return {};
}

void ListWidget(const QWidget& widget, int depth, QStringList& lines, const QString& tab = {}) {
    QString name = widget.objectName();
    if (name.isEmpty() && depth == 0)
        name = QLatin1String(widget.metaObject()->className()); // the form itself
    const bool named = !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
    if (named) {
        Line line;
        line.name = name;
        line.caption = Caption(widget, tab);
        line.tip = widget.toolTip();
        line.index = widget.property("Index");
        if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
            if (label->buddy())
                line.buddy = label->buddy()->objectName();
            if (!label->pixmap().isNull())
                line.words << QStringLiteral("icon");
        }
        const auto* button = qobject_cast<const QAbstractButton*>(&widget);
        if (button && button->isChecked())
            line.words << QStringLiteral("checked");
        if (const auto* push = qobject_cast<const QPushButton*>(&widget); push && push->isDefault())
            line.words << QStringLiteral("default");
        if (const auto* toolbar = qobject_cast<const QToolBar*>(&widget)) {
            line.words << QStringLiteral("icons=%1x%2")
                              .arg(toolbar->iconSize().width())
                              .arg(toolbar->iconSize().height());
            if (toolbar->isMovable())
                line.words << QStringLiteral("movable");
            if (toolbar->isFloatable())
                line.words << QStringLiteral("floatable");
        }
        const QWidget* parent = widget.isWindow() ? nullptr : widget.parentWidget();
        if (parent ? !widget.isEnabledTo(parent) : !widget.isEnabled())
            line.words << QStringLiteral("disabled");
        if (parent && !widget.isVisibleTo(parent))
            line.words << QStringLiteral("hidden");
        lines << line.Text(depth);
        ++depth;
    }
    if (const auto* bar = qobject_cast<const QMenuBar*>(&widget)) {
        ListActions(bar->actions(), false, depth, lines);
        return;
    }
    if (const auto* toolbar = qobject_cast<const QToolBar*>(&widget)) {
        ListActions(toolbar->actions(), true, depth, lines);
        return;
    }
    if (const auto* tabs = qobject_cast<const QTabWidget*>(&widget)) {
        for (int tab = 0; tab < tabs->count(); ++tab) // its pages in tab order, not its parts
            ListWidget(*tabs->widget(tab), depth, lines, tabs->tabText(tab));
        return;
    }
    ListActions(widget.actions(), false, depth, lines);
    for (const QObject* child : widget.children()) {
        const auto* inner = qobject_cast<const QWidget*>(child);
        if (inner && !inner->isWindow())
            ListWidget(*inner, depth, lines);
    }
}

QStringList Lines(const QString& text) {
    QStringList lines = text.split(u'\n');
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    return lines;
}

} // namespace

QString ControlList(const QWidget& form) {
    QStringList lines;
    ListWidget(form, 0, lines);
    return lines.join(u'\n');
}

bool CompareControlList(const QString& actual, const QString& expected, const char* file,
                        int line) {
    const QStringList got = Lines(actual);
    const QStringList want = Lines(expected);
    qsizetype at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at])
        ++at;
    if (at == got.size() && at == want.size())
        return true;
    const auto shown = [at](const QStringList& lines) {
        return at < lines.size() ? lines[at] : QStringLiteral("(no more lines)");
    };
    QString message = QStringLiteral("controls differ at line %1 of %2 expected, %3 listed:\n")
                          .arg(at + 1)
                          .arg(want.size())
                          .arg(got.size());
    if (at > 0)
        message += QStringLiteral("   after:    ") + want[at - 1] + u'\n';
    message += QStringLiteral("   expected: ") + shown(want) + u'\n';
    message += QStringLiteral("   listed:   ") + shown(got);
    return QTest::qVerify(false, "ControlList(form) == expected", qPrintable(message), file, line);
}

} // namespace testsupport
