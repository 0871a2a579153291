// The options dialog's finish tab: the style of text results, the exact scan's brightness,
// tone's diffusion, and the live preview of the choices.
#include "convert/frmOption.h"

#include "convert/ArtPreview.h"
#include "convert/ConversionSettings.h"
#include "convert/ProgramLooks.h"
#include "convert/frmOptionTexts.h"
#include "platform/SettingsTable.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int FinishTab = 5;
constexpr int ExactStyle = 0;
constexpr int ToneStyle = 1;
// Room for a preview that reads as a picture without making the dialog larger.
constexpr int PreviewMinWidth = 120;
constexpr int PreviewMinHeight = 100;

// Tab enters an option group at its chosen button, as in any dialog: the others take the
// focus by arrow keys or the mouse only.
void TabStopAtChoice(QRadioButton* button) {
    const auto follow = [button](bool checked) {
        button->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow(button->isChecked());
    QObject::connect(button, &QRadioButton::toggled, button, follow);
}
} // namespace

void frmOption::BuildFinishTab() {
    QWidget* panel = picPanel[FinishTab];
    fraStyle = new QGroupBox(frmOptionTexts::Style, panel);
    fraStyle->setObjectName(QStringLiteral("fraStyle"));
    auto* styles = new QVBoxLayout(fraStyle);
    for (int i = 0; i < int(optStyle.size()); ++i) {
        optStyle[i] = new QRadioButton(frmOptionTexts::Styles[i], fraStyle);
        optStyle[i]->setObjectName(QStringLiteral("optStyle(%1)").arg(i));
        optStyle[i]->setProperty("Index", i);
        connect(optStyle[i], &QRadioButton::clicked, this, &frmOption::optStyle_Click);
        TabStopAtChoice(optStyle[i]);
        styles->addWidget(optStyle[i]);
    }
    fraBrightness = new QGroupBox(frmOptionTexts::Brightness, panel);
    fraBrightness->setObjectName(QStringLiteral("fraBrightness"));
    auto* brightness = new QVBoxLayout(fraBrightness);
    for (int i = 0; i < int(optBrightness.size()); ++i) {
        optBrightness[i] = new QRadioButton(frmOptionTexts::Brightnesses[i], fraBrightness);
        optBrightness[i]->setObjectName(QStringLiteral("optBrightness(%1)").arg(i));
        optBrightness[i]->setProperty("Index", i);
        connect(optBrightness[i], &QRadioButton::clicked, this, &frmOption::optBrightness_Click);
        TabStopAtChoice(optBrightness[i]);
        brightness->addWidget(optBrightness[i]);
    }
    chkDither = new QCheckBox(frmOptionTexts::Dither, panel);
    chkDither->setObjectName(QStringLiteral("chkDither"));
    connect(chkDither, &QCheckBox::clicked, this, &frmOption::UpdatePreview);

    lblPreview = new QLabel(frmOptionTexts::Preview, panel);
    lblPreview->setObjectName(QStringLiteral("lblPreview"));
    picPreview = new ArtPreview(panel);
    picPreview->setObjectName(QStringLiteral("picPreview"));
    picPreview->setMinimumSize(PreviewMinWidth, PreviewMinHeight);
    picPreview->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    picPreview->SetLook(font(), palette().color(QPalette::Text), palette().color(QPalette::Base));
    // The preview follows the ramp and its direction too.
    connect(chkReverse, &QCheckBox::toggled, this, &frmOption::UpdatePreview);
    connect(txtCharactor, &QLineEdit::textChanged, this, &frmOption::UpdatePreview);

    // Style with tone's diffusion under it, brightness beside them, the preview at the
    // right taking the rest: no taller or wider than the other tabs.
    auto* styleColumn = new QVBoxLayout;
    styleColumn->addWidget(fraStyle);
    styleColumn->addWidget(chkDither);
    styleColumn->addStretch();
    auto* brightnessColumn = new QVBoxLayout;
    brightnessColumn->addWidget(fraBrightness);
    brightnessColumn->addStretch();
    auto* preview = new QVBoxLayout;
    preview->addWidget(lblPreview);
    preview->addWidget(picPreview, 1);
    auto* finish = new QHBoxLayout(panel);
    finish->addLayout(styleColumn);
    finish->addLayout(brightnessColumn);
    finish->addLayout(preview, 1);
}

void frmOption::SetPreview(const QImage& picture, const QRectF& region, const QFont& font,
                           const QColor& ink, const QColor& paper) {
    face_ = QFontInfo(font).family();
    picPreview->SetLook(font, ink, paper);
    picPreview->SetPicture(picture, region);
    UpdatePreview();
}

int frmOption::StyleChoice() const {
    for (int i = 0; i < int(optStyle.size()); ++i)
        if (optStyle[i]->isChecked())
            return i;
    return ExactStyle;
}

void frmOption::ShowFinish(int style, bool luminance, bool dither) {
    luminance_ = luminance;
    chkDither->setChecked(dither);
    optStyle[std::clamp(style, 0, int(optStyle.size()) - 1)]->setChecked(true);
    optStyle_Click();
}

void frmOption::optStyle_Click() {
    const int style = StyleChoice();
    // Tone and shape take luminance whatever exact's choice: shown so, greyed.
    fraBrightness->setEnabled(style == ExactStyle);
    optBrightness[style != ExactStyle || luminance_ ? 1 : 0]->setChecked(true);
    chkDither->setEnabled(style == ToneStyle);
    UpdatePreview();
}

void frmOption::optBrightness_Click() {
    luminance_ = optBrightness[1]->isChecked();
    UpdatePreview();
}

void frmOption::UpdatePreview() {
    if (!picPreview)
        return; // still being built
    const QString typed = txtCharactor->text();
    const QString ramp =
        platform::IsUsableRamp(typed) ? typed : mGlyfora::ConversionSettings.Charactor;
    const mGlyfora::ArtStyle style = mGlyfora::StyleFromSetting(StyleChoice());
    picPreview->SetChoices(
        mGlyfora::ProgramLook(style, chkReverse->isChecked(), chkDither->isChecked(), face_),
        luminance_, ramp, chkReverse->isChecked());
}
