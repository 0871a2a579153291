// The options dialog as the option tests open it: over a plain main window, with the
// program's recent-files values standing in, and settings unlike every default.
#pragma once

#include "app/Main.h"
#include "convert/ConversionSettings.h"
#include "convert/frmOption.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <array>
#include <memory>

namespace optiontest {

// Settings unlike every default, so that a step that leaves or sets them is seen.
inline mGlyfora::ConversionSettingsRecord Unusual() {
    mGlyfora::ConversionSettingsRecord cs;
    cs.X = 3;
    cs.Y = 7;
    cs.Reverse = true;
    cs.Charactor = QStringLiteral("@#+-");
    cs.Style = 2;
    cs.Luminance = true;
    cs.Dither = false;
    cs.Before = QStringLiteral("<P>\r\nbefore");
    cs.After = QStringLiteral("after\r\n</P>");
    cs.BeforeHTML = QStringLiteral("<DIV>");
    cs.AfterHTML = QString();
    return cs;
}

// The dialog over a plain main window, with the program's recent-files values standing in.
struct Opened {
    QWidget main;
    testsupport::ScriptedDialogs dialogs;
    qint16 recentMax = 7;
    std::array<QString, 21> recent;
    std::unique_ptr<frmOption> dialog;
    std::unique_ptr<QSignalSpy> changed;
    std::unique_ptr<QSignalSpy> cleared;

    Opened() {
        recent[0] = QStringLiteral("/pics/a.gif");
        recent[1] = QStringLiteral("/pics/b.gif");
        main.setGeometry(100, 100, 800, 600);
        main.show();
        dialog = std::make_unique<frmOption>(main, dialogs, recentMax, recent);
        changed = std::make_unique<QSignalSpy>(dialog.get(), &frmOption::OptionChanged);
        cleared = std::make_unique<QSignalSpy>(dialog.get(), &frmOption::RecentFilesCleared);
        dialog->Form_Load();
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }
    // The dialog went away through OK.
    bool Accepted() const { return !dialog->isVisible() && dialog->result() == QDialog::Accepted; }
    bool StillOpen() const { return dialog->isVisible(); }
    void ShowTab(int index) const { dialog->tabProp->setCurrentIndex(index); }
    // Puts text on the clipboard and pastes it into the ramp box at its caret.
    void PasteRamp(const QString& text) const {
        ShowTab(1);
        dialog->txtCharactor->setFocus();
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(dialog->txtCharactor, Qt::Key_V, Qt::ControlModifier);
    }
    // Commits text as an input method does (how Japanese reaches the box).
    void CommitRamp(const QString& text) const {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(dialog->txtCharactor, &commit);
    }
};

// Each options-dialog test class derives from it: the application prepared once, and
// before each test the process values reset and the unusual settings in place.
class OptionDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { mGlyfora::PrepareApplication(*qApp); }
    void init() {
        testsupport::ResetProcessValues();
        mGlyfora::ConversionSettings = Unusual();
    }
};

} // namespace optiontest
