// The real start-up path (application, settings, main window, command-line picture) up
// to the first paint of the shown window, then exits. Time it as a whole process:
//   bench_startup PHOTO.jpg
#include "app/CommandLine.h"
#include "app/Main.h"
#include "app/frmMain.h"
#include "platform/QtDialogs.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

namespace {
// Quits once the picture has been painted on screen.
class FirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool done_ = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyfora"));
    mGlyfora::PrepareApplication(app);
    platform::QtDialogs dialogs;
    platform::SettingsStore store;
    const auto form = mGlyfora::Main(
        dialogs, store, mGlyfora::CommandLinePath(QApplication::arguments(), QDir::currentPath()));
    FirstPaint watch;
    form->picView->installEventFilter(&watch);
    QTimer::singleShot(10000, qApp, &QCoreApplication::quit); // the picture never showed
    return QApplication::exec();
}
