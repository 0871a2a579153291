// The angle dialog.
#include "imageops/frmAngle.h"

#include "imageops/NumericInput.h"
#include "imageops/PictureBox.h"
#include "imageops/RotateByAngle.h"
#include "imageops/frmAngleTexts.h"
#include "platform/Dialogs.h"
#include "platform/TextBoxInput.h"
#include "platform/WaitCursor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace frmAngleTexts;

namespace {
constexpr int AngleMaxLength = 3;
constexpr int AngleBoxChars = 5;
constexpr int BoxPadding = 12;  // the frame and margins of a text box, in pixels
constexpr int AngleLimit = 361; // angles from 0 up to, not including, this
} // namespace

frmAngle::frmAngle(QWidget& main, platform::Dialogs& dialogs, PictureBox& picView,
                   const PictureSurface& picSave)
    : FixedDialog(main), dialogs_(dialogs), picView_(picView), picSave_(picSave) {
    setObjectName(QStringLiteral("frmAngle"));
    setWindowTitle(Caption);

    lblTitle = new QLabel(Title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    txtAngle = new QLineEdit(this);
    txtAngle->setObjectName(QStringLiteral("txtAngle"));
    txtAngle->setMaxLength(AngleMaxLength);
    txtAngle->setAlignment(Qt::AlignRight);
    txtAngle->setFixedWidth(txtAngle->fontMetrics().horizontalAdvance(u'0') * AngleBoxChars +
                            BoxPadding);
    platform::FilterNumericKeys(*txtAngle);
    txtAngle->installEventFilter(this);
    lblTitle->setBuddy(txtAngle);
    optAngle[0] = new QRadioButton(Clockwise, this);
    optAngle[1] = new QRadioButton(CounterClockwise, this);
    for (int i = 0; i < 2; ++i) {
        optAngle[i]->setObjectName(QStringLiteral("optAngle(%1)").arg(i));
        optAngle[i]->setProperty("Index", i);
    }

    auto* entry = new QGridLayout;
    entry->addWidget(lblTitle, 0, 0);
    entry->addWidget(txtAngle, 0, 1);
    entry->addWidget(optAngle[0], 0, 2);
    entry->addWidget(optAngle[1], 1, 2);
    LayOutBesideButtons(entry, Ok, Cancel);
}

void frmAngle::Form_Load() {
    CentreOverOwner();
    txtAngle->setText(QStringLiteral("0"));
    optAngle[0]->setChecked(true);
}

void frmAngle::cmdOk_Click() {
    const std::optional<qint16> degrees = mGlyfora::CInt(txtAngle->text());
    if (!degrees || *degrees < 0 || *degrees >= AngleLimit) {
        dialogs_.Message(this, OutOfRange, platform::MsgIcon::Information);
        txtAngle->setFocus();
        return;
    }
    const bool clockwise = optAngle[0]->isChecked();
    bool turned = false;
    {
        platform::WaitCursor hourglass;
        turned = mGlyfora::RotateByAngle(picView_.Surface(), picSave_, *degrees, clockwise);
    }
    if (!turned) {
        // The working picture is as it was; the person may try a smaller turn.
        dialogs_.Message(this, OutOfMemory, platform::MsgIcon::Critical);
        return;
    }
    picView_.SurfaceChanged();
    done(QDialog::Accepted); // hidden, still loaded
}

void frmAngle::closeEvent(QCloseEvent* event) {
    unloadRequested_ = true;
    FixedDialog::closeEvent(event);
}

void frmAngle::txtAngle_GotFocus() {
    platform::SelectAllText(*txtAngle);
}

bool frmAngle::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtAngle && event->type() == QEvent::FocusIn)
        txtAngle_GotFocus();
    return QDialog::eventFilter(watched, event);
}
