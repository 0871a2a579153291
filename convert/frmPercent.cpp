// The progress dialog of a conversion run.
#include "convert/frmPercent.h"

#include "convert/ConversionSettings.h"
#include "convert/frmPercentTexts.h"
#include "platform/CentreDialog.h"
#include "platform/Dialogs.h"
#include "platform/Rounding.h"
#include "platform/TerminationRequest.h"
#include "platform/mGlyfora.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int BarWidth = 300;
}

frmPercent::frmPercent(const QWidget& main, platform::Dialogs& dialogs)
    : QDialog(nullptr), main_(main), dialogs_(dialogs) {
    // A new run: no earlier request stops it.
    mGlyfora::CancelConversion = false;
    setObjectName(QStringLiteral("frmPercent"));
    // A fixed dialog of its own, with a close box but nothing to resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    lblConversion = new QLabel(this);
    lblConversion->setObjectName(QStringLiteral("lblConversion"));
    // The caption comes after the dialog has been centred: it must not make it grow.
    lblConversion->setMinimumHeight(lblConversion->fontMetrics().height());
    prbPercent = new QProgressBar(this);
    prbPercent->setObjectName(QStringLiteral("prbPercent"));
    prbPercent->setTextVisible(false);
    prbPercent->setMinimumWidth(BarWidth);
    prbPercent->setRange(0, 1);
    prbPercent->setValue(0);
    cmdCancel = new QPushButton(frmPercentTexts::Cancel, this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(lblConversion);
    layout->addWidget(prbPercent);
    layout->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPercent::cmdCancel_Click);
    // The session is ending: stop the scan so the program can run its shutdown steps.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmPercent::cmdCancel_Click);
}

void frmPercent::Form_Load() {
    setWindowIcon(main_.windowIcon());
    setWindowTitle(mGlyfora::ApplicationTitle);
    adjustSize();
    // Centred at once with the main window's frame, and again when its own is known.
    platform::CentreOnScreen(*this, main_);
    frameFit_.Arm(*this, {.centreX = true, .centreY = true});
}

void frmPercent::cmdCancel_Click() {
    mGlyfora::CancelConversion = true;
}

void frmPercent::reject() {
    cmdCancel_Click();
}

void frmPercent::closeEvent(QCloseEvent* event) {
    if (platform::TerminationRequested()) {
        // Nothing may hold up the end: stop the scan and let every window close.
        mGlyfora::CancelConversion = true;
        event->accept();
        return;
    }
    event->ignore();
    const platform::MsgAnswer answer =
        dialogs_.MsgBox(this, {frmPercentTexts::StopQuestion, platform::MsgIcon::Information,
                               platform::MsgButtons::YesNo, 0});
    if (answer == platform::MsgAnswer::Yes)
        mGlyfora::CancelConversion = true;
}

void frmPercent::SetProgressRange(int minimum, int maximum) {
    // An estimate of 0 shows an empty bar (a range of 0..0 would be Qt's busy indicator).
    prbPercent->setRange(minimum, std::max(maximum, minimum + 1));
    if (maximum <= minimum)
        prbPercent->setValue(minimum);
}

void frmPercent::SetProgress(int position) {
    prbPercent->setValue(std::clamp(position, prbPercent->minimum(), prbPercent->maximum()));
}

void frmPercent::ProcessEvents() {
    QCoreApplication::processEvents();
}

bool frmPercent::CancelRequested() const {
    return mGlyfora::CancelConversion || ScanHost::CancelRequested();
}

void frmPercent::WaitingForAnotherCopy(bool waiting) {
    if (waiting) {
        caption_ = lblConversion->text();
        lblConversion->setText(frmPercentTexts::WaitingForAnotherCopy);
    } else {
        lblConversion->setText(caption_);
    }
}

void frmPercent::ReportError(const QString& message) {
    dialogs_.Message(this, message, platform::MsgIcon::Critical);
}
