// The program's fixed-size dialogs: a title and a close box, no resizing, no other
// title-bar buttons; centred over the window that owns them, with OK (and Cancel) beside
// their fields. Each dialog keeps its own Esc and close-box answers.
#pragma once

#include <QDialog>

class QLayout;
class QPushButton;

namespace platform {

inline constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

class FixedDialog : public QDialog {
public:
    virtual void cmdOk_Click() = 0;
    // Hides the dialog, still loaded.
    virtual void cmdCancel_Click();

    QPushButton* cmdOk = nullptr;
    // Null in a dialog without Cancel.
    QPushButton* cmdCancel = nullptr;

    // Esc answers as Cancel does.
    void reject() override;

protected:
    explicit FixedDialog(QWidget& main);

    // The close box just closes.
    void closeEvent(QCloseEvent* event) override;

    // Sizes the dialog to its contents and centres it over its owner.
    void CentreOverOwner();
    // `fields` on the left, OK and Cancel stacked at the top right; the size the contents need.
    void LayOutBesideButtons(QLayout* fields, const QString& ok, const QString& cancel);

    QWidget& main_;
};

} // namespace platform
