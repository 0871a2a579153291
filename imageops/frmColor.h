// The colour dialog: red, green and blue offsets from -100 to 100 with an optional live
// preview. Every preview and the result are computed from the picture as it was when the
// dialog opened, kept in picClip, so previews never add up. OK applies, Cancel and Esc
// put the opening picture back, the close box leaves the last preview in place.
#pragma once

#include "platform/FixedDialog.h"

#include <array>

class PictureBox;
class PictureSurface;
class QCheckBox;
class QGroupBox;
class QLabel;
class QSlider;

// A slider value as text with a sign position: " 0", " 100", "-100".
QString SignedValueText(int value);

class frmColor : public platform::FixedDialog {
    Q_OBJECT
public:
    frmColor(QWidget& main, PictureBox& picView, PictureSurface& picClip);

    // Centres the dialog, sets the sliders to 0 and keeps the working picture in picClip.
    void Form_Load();
    // While a slider is dragged: its value label only.
    void sldIndex_Scroll(int Index);
    // A settled value: its label, and the preview when it is on.
    void sldIndex_Change(int Index);
    void chkPreview_Click();
    void cmdOk_Click() override;
    // Puts the opening picture back; Esc does the same. The close box unloads without it.
    void cmdCancel_Click() override;

    QGroupBox* fraIndex = nullptr;
    // lblTitle(2) to lblTitle(4) label the sliders; 0 and 1 are unused.
    std::array<QLabel*, 5> lblTitle{};
    std::array<QSlider*, 3> sldIndex{};
    std::array<QLabel*, 3> lblValue{};
    QCheckBox* chkPreview = nullptr;

private:
    void ApplyColor();

    PictureBox& picView_;
    PictureSurface& picClip_;
};
