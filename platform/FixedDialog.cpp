// The members and answers the fixed-size dialogs share.
#include "platform/FixedDialog.h"

#include "platform/CentreDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

namespace {
constexpr int ButtonGap = 12; // between the fields and the buttons
} // namespace

FixedDialog::FixedDialog(QWidget& main) : QDialog(&main, FixedDialogFlags), main_(main) {}

void FixedDialog::cmdCancel_Click() {
    done(QDialog::Rejected);
}

void FixedDialog::reject() {
    cmdCancel_Click();
}

void FixedDialog::closeEvent(QCloseEvent* event) {
    done(QDialog::Rejected);
    event->accept();
}

void FixedDialog::CentreOverOwner() {
    adjustSize();
    CentreOver(*this, main_);
}

void FixedDialog::LayOutBesideButtons(QLayout* fields, const QString& ok, const QString& cancel) {
    cmdOk = new QPushButton(ok, this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(cancel, this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOk, &QPushButton::clicked, this, &FixedDialog::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FixedDialog::cmdCancel_Click);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(ButtonGap);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace platform
