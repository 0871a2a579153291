// The about box.
#include "app/frmAbout.h"

#include "app/mGlyfora.h"

#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The program's version, from the build.
constexpr int VersionMajor = GLYFORA_VERSION_MAJOR;
constexpr int VersionMinor = GLYFORA_VERSION_MINOR;
constexpr int VersionRevision = GLYFORA_VERSION_REVISION;

constexpr int IconPixels = 32;
constexpr int MinimumWidth = 300;
constexpr int IconGap = 12;   // between the icon and the texts
constexpr int ButtonsGap = 8; // between the texts and OK

} // namespace

QString AboutVersionText(int major, int minor, int revision) {
    QString text = QStringLiteral("Version ") + QString::number(major) + u'.' +
                   QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
    if (revision != 0)
        text += u'.' + QStringLiteral("%1").arg(revision, 4, 10, QLatin1Char('0'));
    return text;
}

frmAbout::frmAbout(QWidget& main) : FixedDialog(main) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(frmAboutTexts::Caption);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setFixedSize(IconPixels, IconPixels);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    cmdOk = new QPushButton(frmAboutTexts::Ok, this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdOk->setAutoDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    auto* top = new QHBoxLayout;
    top->addWidget(imgIcon, 0, Qt::AlignTop);
    top->addSpacing(IconGap);
    top->addLayout(texts);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(ButtonsGap);
    layout->addLayout(buttons);
    // Neither grows nor shrinks: the size its contents need, and no more.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the caption to show whole in the title bar.
    layout->addStrut(MinimumWidth);
}

void frmAbout::Form_Load() {
    imgIcon->setPixmap(main_.windowIcon().pixmap(IconPixels, IconPixels));
    lblTitle->setText(mGlyfora::ApplicationTitle);
    lblVersion->setText(AboutVersionText(VersionMajor, VersionMinor, VersionRevision));
    // Centred over the main window's outer frame; the box gets the same frame as the main
    // window once the window manager has framed it.
    CentreOverOwner();
}

void frmAbout::cmdOk_Click() {
    accept();
}

void frmAbout::reject() {
    cmdOk_Click();
}
