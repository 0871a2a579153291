// The progress dialog of a conversion run: names the conversion, shows the rows done, and
// lets the person cancel. It is the scan's host: the scan sets the bar, once per row lets
// the dialog's events through, and asks it whether to stop as ScanHost says.
#pragma once

#include "convert/ScanHost.h"
#include "platform/FrameFit.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace platform {
class Dialogs;
}

class frmPercent : public QDialog, public mGlyfora::ScanHost {
    Q_OBJECT
public:
    // `main` lends its icon; questions and errors go through `dialogs`.
    frmPercent(const QWidget& main, platform::Dialogs& dialogs);

    // Centres the dialog on the screen and takes the main window's icon and the title.
    void Form_Load();
    void cmdCancel_Click();

    QLabel* lblConversion = nullptr;
    QProgressBar* prbPercent = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The scan's host.
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgress(int position) override;
    void ProcessEvents() override;
    // The person's Cancel, Esc or confirmed close (CancelConversion), or the program
    // being told to end.
    bool CancelRequested() const override;
    void ReportError(const QString& message) override;
    // While waiting the label says so; afterwards it names the conversion again.
    void WaitingForAnotherCopy(bool waiting) override;

public Q_SLOTS:
    // Esc is the Cancel button.
    void reject() override;

protected:
    // The person's close asks whether to stop and never closes the dialog; only the run
    // closes it. A termination request cancels without asking and lets it go.
    void closeEvent(QCloseEvent* event) override;

private:
    const QWidget& main_;
    platform::Dialogs& dialogs_;
    // Once shown and framed, centred again with its own frame and final size.
    platform::FrameFit frameFit_;
    QString caption_; // the conversion's name while the label says it waits
};
