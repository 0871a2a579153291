// The main window as the program shows it, holding a picture, for the benchmarks that
// time it at work (offscreen), and a counter of the paints of a widget.
#pragma once

#include "app/Settings.h"
#include "app/frmMain.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>
#include <algorithm>
#include <memory>

struct BenchWindow {
    testsupport::ScriptedDialogs ownDialogs;
    testsupport::ScriptedDialogs& dialogs;
    platform::SettingsStore store;
    std::unique_ptr<frmMain> form;
    QString error; // empty when the window is shown with its picture

    explicit BenchWindow(const QImage& picture) : dialogs(ownDialogs) {
        if (!Show())
            return;
        if (!form->picView->Surface().Assign(picture)) {
            error = QStringLiteral("no memory for the picture");
            return;
        }
        form->picView->SurfaceChanged();
        form->picView->show();
        form->Form_Resize();
        QApplication::processEvents();
    }
    // The picture loaded from a file as the open command does, `given` answering.
    BenchWindow(testsupport::ScriptedDialogs& given, const QString& path) : dialogs(given) {
        if (!Show())
            return;
        form->LoadImageFile(path);
        if (!form->picView->isVisible())
            error = QStringLiteral("the picture did not load");
        QApplication::processEvents();
    }
    ~BenchWindow() { form->Form_Unload(); }

private:
    bool Show() {
        mGlyfora::LoadSettings(store);
        form = std::make_unique<frmMain>(dialogs, store);
        form->Form_Load(QString());
        form->resize(1024, 768);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            error = QStringLiteral("window not shown");
        return error.isEmpty();
    }
};

// Counts a widget's paints and the largest area one of them covered.
struct PaintCounter : QObject {
    int paints = 0;
    qint64 largestArea = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const QRect r = static_cast<QPaintEvent*>(event)->region().boundingRect();
            largestArea = std::max(largestArea, qint64(r.width()) * r.height());
        }
        return false;
    }
    // Lets events through until a paint after `before` arrives; false after two seconds.
    bool WaitPast(int before) const {
        QElapsedTimer limit;
        limit.start();
        while (paints == before && limit.elapsed() < 2000)
            QApplication::processEvents();
        return paints != before;
    }
};
