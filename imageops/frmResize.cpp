// The resize dialog.
#include "imageops/frmResize.h"

#include "imageops/NumericInput.h"
#include "imageops/PictureBox.h"
#include "imageops/ResizePicture.h"
#include "imageops/frmResizeTexts.h"
#include "platform/Dialogs.h"
#include "platform/TextBoxInput.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace frmResizeTexts;
using mGlyfora::ResizeBox;

namespace {
constexpr int BoxChars = 6;
constexpr int BoxPadding = 12; // the frame and margins of a text box, in pixels
} // namespace

// The boxes as the linked-field handlers see them: a new text raises the box's change
// handler at once (textChanged), the focus says which pair the person is typing in.
class frmResize::Boxes : public mGlyfora::ResizeBoxes {
public:
    explicit Boxes(const frmResize& form) : form_(form) {}
    QString Text(ResizeBox box) const override { return form_.Box(box)->text(); }
    void SetText(ResizeBox box, const QString& text) override {
        QLineEdit* edit = form_.Box(box);
        if (edit->text() != text)
            edit->setText(text);
    }
    std::optional<ResizeBox> ActiveBox() const override {
        if (form_.loading_)
            return std::nullopt;
        const QWidget* focus = form_.focusWidget();
        for (ResizeBox box :
             {ResizeBox::Width, ResizeBox::Height, ResizeBox::WidthPer, ResizeBox::HeightPer}) {
            if (focus == form_.Box(box))
                return box;
        }
        return std::nullopt;
    }
    bool RatioLocked() const override { return form_.chkRation->isChecked(); }

private:
    const frmResize& form_;
};

frmResize::frmResize(QWidget& main, platform::Dialogs& dialogs, PictureBox& picView,
                     const PictureSurface& picSave)
    : FixedDialog(main), dialogs_(dialogs), picView_(picView), picSave_(picSave) {
    setObjectName(QStringLiteral("frmResize"));
    setWindowTitle(Caption);

    // 0 and 1 name the pixel boxes, 5 and 4 the per-cent boxes; 2 and 3 stand between.
    const QString titles[6] = {Width, Height, Times, Times, HeightPer, WidthPer};
    for (int i = 0; i < 6; ++i) {
        lblTitle[i] = new QLabel(titles[i], this);
        lblTitle[i]->setObjectName(QStringLiteral("lblTitle(%1)").arg(i));
        lblTitle[i]->setProperty("Index", i);
    }
    const auto makeBox = [this](const char* name, ResizeBox tag) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setProperty("Tag", QString::number(int(tag)));
        box->setMaxLength(mGlyfora::MaxLength(tag));
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(u'0') * BoxChars + BoxPadding);
        platform::FilterNumericKeys(*box);
        box->installEventFilter(this);
        return box;
    };
    txtWidth = makeBox("txtWidth", ResizeBox::Width);
    txtHeight = makeBox("txtHeight", ResizeBox::Height);
    txtWidthPer = makeBox("txtWidthPer", ResizeBox::WidthPer);
    txtHeightPer = makeBox("txtHeightPer", ResizeBox::HeightPer);
    lblTitle[0]->setBuddy(txtWidth);
    lblTitle[1]->setBuddy(txtHeight);
    lblTitle[5]->setBuddy(txtWidthPer);
    lblTitle[4]->setBuddy(txtHeightPer);

    optPixel = new QRadioButton(Pixel, this);
    optPixel->setObjectName(QStringLiteral("optPixel"));
    optPercent = new QRadioButton(Percent, this);
    optPercent->setObjectName(QStringLiteral("optPercent"));
    chkRation = new QCheckBox(Ration, this);
    chkRation->setObjectName(QStringLiteral("chkRation"));

    const auto makeRow = [this](const char* name, QLabel* first, QLineEdit* a, QLabel* times,
                                QLabel* second, QLineEdit* b) {
        auto* frame = new QGroupBox(this);
        frame->setObjectName(QLatin1String(name));
        auto* row = new QHBoxLayout(frame);
        for (QWidget* w : std::initializer_list<QWidget*>{first, a, times, second, b})
            row->addWidget(w);
        return frame;
    };
    fraPixel = makeRow("fraPixel", lblTitle[0], txtWidth, lblTitle[2], lblTitle[1], txtHeight);
    fraPercent =
        makeRow("fraPercent", lblTitle[5], txtWidthPer, lblTitle[3], lblTitle[4], txtHeightPer);

    // Selected by mouse or by arrow key alike.
    connect(optPixel, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optPixel_Click();
    });
    connect(optPercent, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optPercent_Click();
    });
    connect(txtWidth, &QLineEdit::textChanged, this, &frmResize::txtWidth_Change);
    connect(txtHeight, &QLineEdit::textChanged, this, &frmResize::txtHeight_Change);
    connect(txtWidthPer, &QLineEdit::textChanged, this, &frmResize::txtWidthPer_Change);
    connect(txtHeightPer, &QLineEdit::textChanged, this, &frmResize::txtHeightPer_Change);

    auto* fields = new QVBoxLayout;
    fields->addWidget(optPixel);
    fields->addWidget(fraPixel);
    fields->addWidget(optPercent);
    fields->addWidget(fraPercent);
    fields->addWidget(chkRation);
    LayOutBesideButtons(fields, Ok, Cancel);
}

frmResize::~frmResize() = default;

QLineEdit* frmResize::Box(ResizeBox box) const {
    switch (box) {
    case ResizeBox::Width:
        return txtWidth;
    case ResizeBox::Height:
        return txtHeight;
    case ResizeBox::WidthPer:
        return txtWidthPer;
    case ResizeBox::HeightPer:
        return txtHeightPer;
    }
    return txtWidth;
}

void frmResize::Form_Load() {
    loading_ = true;
    CentreOverOwner();
    optPixel->setChecked(true); // runs optPixel_Click
    optPixel_Click();           // also when it was selected already
    BaseHeight = picView_.Surface().ScaleHeight();
    BaseWidth = picView_.Surface().ScaleWidth();
    txtHeight->setText(QString::number(BaseHeight));
    txtWidth->setText(QString::number(BaseWidth));
    txtHeightPer->setText(QStringLiteral("100"));
    txtWidthPer->setText(QStringLiteral("100"));
    chkRation->setChecked(true);
    loading_ = false;
}

void frmResize::EnablePair(bool pixels) {
    fraPixel->setEnabled(pixels);
    fraPercent->setEnabled(!pixels);
    // The pair in use has the window background, the other one the grey of a button face.
    const auto paint = [this](QLineEdit* box, bool inUse) {
        QPalette colours = box->palette();
        const QPalette::ColorRole role = inUse ? QPalette::Base : QPalette::Button;
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            colours.setColor(group, QPalette::Base, palette().color(QPalette::Active, role));
        box->setPalette(colours);
    };
    paint(txtWidth, pixels);
    paint(txtHeight, pixels);
    paint(txtWidthPer, !pixels);
    paint(txtHeightPer, !pixels);
}

void frmResize::optPixel_Click() {
    EnablePair(true);
}

void frmResize::optPercent_Click() {
    EnablePair(false);
}

void frmResize::Changed(ResizeBox box) {
    Boxes boxes(*this);
    mGlyfora::BoxChanged(boxes, box, BaseWidth, BaseHeight);
}

void frmResize::txtWidth_Change() {
    Changed(ResizeBox::Width);
}

void frmResize::txtHeight_Change() {
    Changed(ResizeBox::Height);
}

void frmResize::txtWidthPer_Change() {
    Changed(ResizeBox::WidthPer);
}

void frmResize::txtHeightPer_Change() {
    Changed(ResizeBox::HeightPer);
}

void frmResize::cmdOk_Click() {
    const std::optional<qint32> height = mGlyfora::CLng(txtHeight->text());
    const std::optional<qint32> width = mGlyfora::CLng(txtWidth->text());
    // No number, or a negative one (only a paste can bring a sign): the dialog stays.
    if (!height || !width || *height < 0 || *width < 0)
        return;
    if (mGlyfora::ResizePicture(picView_.Surface(), picSave_, *height, *width)) {
        picView_.SurfaceChanged();
        done(QDialog::Accepted); // hidden, still loaded with its values
        return;
    }
    // No memory for the new bitmap: the working picture becomes the loaded one again and
    // the dialog is unloaded.
    dialogs_.Message(this, OutOfMemory, platform::MsgIcon::Critical);
    CopyPicture(picView_.Surface(), picSave_);
    picView_.SurfaceChanged();
    unloadRequested_ = true;
    done(QDialog::Rejected);
}

void frmResize::closeEvent(QCloseEvent* event) {
    cmdCancel_Click();
    event->ignore();
}

bool frmResize::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            platform::SelectAllText(*box);
    }
    return QDialog::eventFilter(watched, event);
}
