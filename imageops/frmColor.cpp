// The colour dialog.
#include "imageops/frmColor.h"

#include "imageops/AdjustColor.h"
#include "imageops/PictureBox.h"
#include "imageops/frmColorTexts.h"
#include "platform/WaitCursor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

using namespace frmColorTexts;

namespace {
constexpr int OffsetMin = -100;
constexpr int OffsetMax = 100;
constexpr int SmallStep = 1;
constexpr int LargeStep = 10;
constexpr int TickStep = 20;
constexpr int SliderWidth = 200;
} // namespace

QString SignedValueText(int value) {
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(qAbs(value));
}

frmColor::frmColor(QWidget& main, PictureBox& picView, PictureSurface& picClip)
    : FixedDialog(main), picView_(picView), picClip_(picClip) {
    setObjectName(QStringLiteral("frmColor"));
    setWindowTitle(Caption);

    fraIndex = new QGroupBox(Tone, this);
    fraIndex->setObjectName(QStringLiteral("fraIndex"));
    auto* grid = new QGridLayout(fraIndex);
    const QString titles[3] = {Red, Green, Blue};
    // The value labels are as wide as the widest value, so the sliders never move.
    const int valueWidth = fontMetrics().horizontalAdvance(SignedValueText(OffsetMin)) + 4;
    for (int i = 0; i < 3; ++i) {
        QLabel* title = new QLabel(titles[i], fraIndex);
        title->setObjectName(QStringLiteral("lblTitle(%1)").arg(i + 2));
        title->setProperty("Index", i + 2);
        lblTitle[i + 2] = title;
        QSlider* slider = new QSlider(Qt::Horizontal, fraIndex);
        slider->setObjectName(QStringLiteral("sldIndex(%1)").arg(i));
        slider->setProperty("Index", i);
        slider->setRange(OffsetMin, OffsetMax);
        slider->setSingleStep(SmallStep);
        slider->setPageStep(LargeStep);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(TickStep);
        slider->setMinimumWidth(SliderWidth);
        // A drag reports its value on the way (Scroll) and settles when let go (Change).
        slider->setTracking(false);
        title->setBuddy(slider);
        sldIndex[i] = slider;
        QLabel* value = new QLabel(fraIndex);
        value->setObjectName(QStringLiteral("lblValue(%1)").arg(i));
        value->setProperty("Index", i);
        value->setFixedWidth(valueWidth);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblValue[i] = value;
        grid->addWidget(title, i, 0);
        grid->addWidget(slider, i, 1);
        grid->addWidget(value, i, 2);
        connect(slider, &QSlider::sliderMoved, this, [this, i] { sldIndex_Scroll(i); });
        connect(slider, &QSlider::valueChanged, this, [this, i] { sldIndex_Change(i); });
    }
    chkPreview = new QCheckBox(Preview, this);
    chkPreview->setObjectName(QStringLiteral("chkPreview"));
    connect(chkPreview, &QCheckBox::toggled, this, &frmColor::chkPreview_Click);

    auto* left = new QVBoxLayout;
    left->addWidget(fraIndex);
    left->addWidget(chkPreview);
    LayOutBesideButtons(left, Ok, Cancel);
}

void frmColor::Form_Load() {
    CentreOverOwner();
    for (int i = 0; i < 3; ++i) {
        sldIndex[i]->setValue(0);
        lblValue[i]->setText(SignedValueText(sldIndex[i]->value()));
    }
    CopyPicture(picClip_, picView_.Surface());
}

void frmColor::sldIndex_Scroll(int Index) {
    lblValue[Index]->setText(SignedValueText(sldIndex[Index]->sliderPosition()));
}

void frmColor::sldIndex_Change(int Index) {
    lblValue[Index]->setText(SignedValueText(sldIndex[Index]->value()));
    if (chkPreview->isChecked())
        ApplyColor();
}

void frmColor::chkPreview_Click() {
    // Switching the preview off leaves the last preview in the picture.
    if (chkPreview->isChecked())
        ApplyColor();
}

void frmColor::ApplyColor() {
    platform::WaitCursor hourglass;
    // The result never needs more memory than the picture it replaces holds: when even
    // that cannot be had, the picture stays as it is.
    if (mGlyfora::AdjustColor(picView_.Surface(), picClip_, qint16(sldIndex[0]->value()),
                              qint16(sldIndex[1]->value()), qint16(sldIndex[2]->value())))
        picView_.SurfaceChanged();
}

void frmColor::cmdOk_Click() {
    ApplyColor();
    accept();
}

void frmColor::cmdCancel_Click() {
    CopyPicture(picView_.Surface(), picClip_);
    picView_.SurfaceChanged();
    done(QDialog::Rejected);
}
