// The options dialog.
#include "convert/frmOption.h"

#include "convert/ConversionSettings.h"
#include "convert/frmOptionTexts.h"
#include "platform/CentreDialog.h"
#include "platform/ControlCharacters.h"
#include "platform/Dialogs.h"
#include "platform/FixedDialog.h"
#include "platform/SettingsTable.h"
#include "platform/TextBoxInput.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringView>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using platform::MaxRampCharacters;

constexpr int RampTab = 1; // "キャラクタ"
// Room in the template boxes, in characters and lines of their font.
constexpr int TemplateColumns = 40;
constexpr int TemplateLines = 4;

const QString RampFont = QStringLiteral("ＭＳ ゴシック");

qsizetype CodePoints(QStringView text) {
    return text.toUcs4().size();
}

// The leading `count` code points of `text`.
QString FirstCodePoints(const QString& text, qsizetype count) {
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count && end < text.size(); ++taken)
        end +=
            (text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate())
                ? 2
                : 1;
    return text.left(end);
}

// Controls and line or paragraph separators would break the result's lines.
QString WithoutControls(const QString& text) {
    QString kept = text;
    kept.removeIf(platform::IsControlCharacter);
    return kept;
}

// Template text with CR LF line ends as the box shows it (LF), and back.
QString ShownTemplate(const QString& text) {
    QString shown = text;
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString TemplateFromBox(const QPlainTextEdit& box) {
    // Raw text keeps non-breaking spaces; blocks and typed line separators become CR LF.
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

QComboBox* NumberList(QWidget* parent, const QString& name, int first, int last) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (int n = first; n <= last; ++n)
        box->addItem(QString::number(n));
    return box;
}

QLabel* Label(QWidget* parent, const QString& name, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QGroupBox* Frame(QWidget* parent, const QString& name, const QString& title) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    return frame;
}

QPlainTextEdit* TemplateBox(QWidget* parent, const QString& name) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);
    const QFontMetrics metrics(box->font());
    box->setFixedHeight(metrics.lineSpacing() * TemplateLines + 2 * box->frameWidth() +
                        int(box->document()->documentMargin() * 2));
    box->setMinimumWidth(metrics.averageCharWidth() * TemplateColumns);
    return box;
}

// A tab holding one frame with two labelled template boxes.
void TemplatePanel(QWidget* panel, QGroupBox* frame, QLabel* before, QPlainTextEdit* beforeBox,
                   QLabel* after, QPlainTextEdit* afterBox) {
    auto* grid = new QGridLayout(frame);
    grid->addWidget(before, 0, 0, Qt::AlignTop);
    grid->addWidget(beforeBox, 0, 1);
    grid->addWidget(after, 1, 0, Qt::AlignTop);
    grid->addWidget(afterBox, 1, 1);
    auto* column = new QVBoxLayout(panel);
    column->addWidget(frame);
    column->addStretch();
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

frmOption::frmOption(QWidget& main, platform::Dialogs& dialogs, qint16& recentFilesMax,
                     std::array<QString, mGlyfora::RecentFilesSlots>& recentFilesList)
    : QDialog(&main, platform::FixedDialogFlags), main_(main), dialogs_(dialogs),
      recentFilesMax_(recentFilesMax), recentFilesList_(recentFilesList) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(frmOptionTexts::Caption);

    tabProp = new QTabWidget(this);
    tabProp->setObjectName(QStringLiteral("tabProp"));
    for (int i = 0; i < int(picPanel.size()); ++i) {
        picPanel[i] = new QWidget(tabProp);
        picPanel[i]->setObjectName(QStringLiteral("picPanel(%1)").arg(i));
        picPanel[i]->setProperty("Index", i);
        tabProp->addTab(picPanel[i], frmOptionTexts::Tabs[i]);
    }

    BuildConversionTab();
    BuildCharactersTab();
    BuildBrowserTab();
    BuildHtmlTab();
    BuildOtherTab();
    BuildFinishTab();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabProp);
    layout->addLayout(BuildButtons());
    // A fixed dialog: the size its contents need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Conversion: cell size and ramp direction.
void frmOption::BuildConversionTab() {
    fraRate = Frame(picPanel[0], QStringLiteral("fraRate"), frmOptionTexts::Rate);
    cmbX = NumberList(fraRate, QStringLiteral("cmbX"), 1, platform::MaxCellSize);
    cmbY = NumberList(fraRate, QStringLiteral("cmbY"), 1, platform::MaxCellSize);
    lblX = Label(fraRate, QStringLiteral("lblX"), frmOptionTexts::X, cmbX);
    lblY = Label(fraRate, QStringLiteral("lblY"), frmOptionTexts::Y, cmbY);
    auto* rate = new QGridLayout(fraRate);
    rate->addWidget(lblX, 0, 0);
    rate->addWidget(cmbX, 0, 1);
    rate->addWidget(lblY, 1, 0);
    rate->addWidget(cmbY, 1, 1);
    rate->setColumnStretch(2, 1);
    chkReverse = new QCheckBox(frmOptionTexts::Reverse, picPanel[0]);
    chkReverse->setObjectName(QStringLiteral("chkReverse"));
    auto* conversion = new QVBoxLayout(picPanel[0]);
    conversion->addWidget(fraRate);
    conversion->addWidget(chkReverse);
    conversion->addStretch();
}

// Characters: the ramp in a fixed-pitch font.
void frmOption::BuildCharactersTab() {
    fraCharactor = Frame(picPanel[1], QStringLiteral("fraCharactor"), frmOptionTexts::Charactor);
    txtCharactor = new QLineEdit(fraCharactor);
    txtCharactor->setObjectName(QStringLiteral("txtCharactor"));
    QFont rampFont = txtCharactor->font();
    rampFont.setFamily(RampFont);
    rampFont.setStyleHint(QFont::TypeWriter);
    rampFont.setFixedPitch(true);
    txtCharactor->setFont(rampFont);
    // The whole ramp in view when it is all half-width characters.
    txtCharactor->setMinimumWidth(QFontMetrics(rampFont).horizontalAdvance(QLatin1Char('0')) *
                                  (MaxRampCharacters + 2));
    // The limit counts characters (code points), which the box's own length limit cannot.
    connect(txtCharactor, &QLineEdit::textEdited, this, &frmOption::txtCharactor_Edited);
    connect(txtCharactor, &QLineEdit::textChanged, this,
            [this] { rampBefore_ = txtCharactor->text(); });
    txtCharactor->installEventFilter(this);
    auto* ramp = new QVBoxLayout(fraCharactor);
    ramp->addWidget(txtCharactor);
    auto* characters = new QVBoxLayout(picPanel[1]);
    characters->addWidget(fraCharactor);
    characters->addStretch();
}

// Browser output: the text result's templates.
void frmOption::BuildBrowserTab() {
    fraText = Frame(picPanel[2], QStringLiteral("fraText"), frmOptionTexts::HtmlTags);
    txtBefore = TemplateBox(fraText, QStringLiteral("txtBefore"));
    txtAfter = TemplateBox(fraText, QStringLiteral("txtAfter"));
    lblBefore = Label(fraText, QStringLiteral("lblBefore"), frmOptionTexts::Before, txtBefore);
    lblAfter = Label(fraText, QStringLiteral("lblAfter"), frmOptionTexts::After, txtAfter);
    TemplatePanel(picPanel[2], fraText, lblBefore, txtBefore, lblAfter, txtAfter);
}

// HTML output: the mosaic's templates.
void frmOption::BuildHtmlTab() {
    fraHTML = Frame(picPanel[3], QStringLiteral("fraHTML"), frmOptionTexts::HtmlTags);
    txtBeforeHTML = TemplateBox(fraHTML, QStringLiteral("txtBeforeHTML"));
    txtAfterHTML = TemplateBox(fraHTML, QStringLiteral("txtAfterHTML"));
    lblBeforeHTML =
        Label(fraHTML, QStringLiteral("lblBeforeHTML"), frmOptionTexts::Before, txtBeforeHTML);
    lblAfterHTML =
        Label(fraHTML, QStringLiteral("lblAfterHTML"), frmOptionTexts::After, txtAfterHTML);
    TemplatePanel(picPanel[3], fraHTML, lblBeforeHTML, txtBeforeHTML, lblAfterHTML, txtAfterHTML);
}

// Other: the recent-files menu.
void frmOption::BuildOtherTab() {
    fraHistory = Frame(picPanel[4], QStringLiteral("fraHistory"), frmOptionTexts::History);
    cmbRecent = NumberList(fraHistory, QStringLiteral("cmbRecent"), 0, platform::RecentFilesLimit);
    lblRecent = Label(fraHistory, QStringLiteral("lblRecent"), frmOptionTexts::Recent, cmbRecent);
    cmdClear = Button(fraHistory, QStringLiteral("cmdClear"), frmOptionTexts::Clear);
    connect(cmdClear, &QPushButton::clicked, this, &frmOption::cmdClear_Click);
    auto* history = new QGridLayout(fraHistory);
    history->addWidget(lblRecent, 0, 0);
    history->addWidget(cmbRecent, 0, 1);
    history->addWidget(cmdClear, 1, 1);
    history->setColumnStretch(2, 1);
    auto* other = new QVBoxLayout(picPanel[4]);
    other->addWidget(fraHistory);
    other->addStretch();
}

// Default on the left, OK and Cancel on the right.
QHBoxLayout* frmOption::BuildButtons() {
    cmdDefault = Button(this, QStringLiteral("cmdDefault"), frmOptionTexts::Default);
    cmdOk = Button(this, QStringLiteral("cmdOk"), frmOptionTexts::Ok);
    cmdCancel = Button(this, QStringLiteral("cmdCancel"), frmOptionTexts::Cancel);
    cmdOk->setDefault(true);
    connect(cmdDefault, &QPushButton::clicked, this, &frmOption::cmdDefault_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmOption::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOption::cmdCancel_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDefault);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    return buttons;
}

std::array<QPlainTextEdit*, 4> frmOption::TemplateBoxes() const {
    return {txtBefore, txtAfter, txtBeforeHTML, txtAfterHTML};
}

void frmOption::SetTemplate(int index, const QString& text) {
    QPlainTextEdit* box = TemplateBoxes()[index];
    box->setPlainText(ShownTemplate(text));
    templates_[index] = {text, box->document()->toRawText()};
}

QString frmOption::Template(int index) const {
    const QPlainTextEdit* box = TemplateBoxes()[index];
    const TemplateMemo& memo = templates_[index];
    if (box->document()->toRawText() == memo.shown)
        return memo.given;
    return TemplateFromBox(*box);
}

void frmOption::Form_Load() {
    const mGlyfora::ConversionSettingsRecord& cs = mGlyfora::ConversionSettings;
    cmbX->setCurrentIndex(std::clamp(int(cs.X), 1, platform::MaxCellSize) - 1);
    cmbY->setCurrentIndex(std::clamp(int(cs.Y), 1, platform::MaxCellSize) - 1);
    cmbRecent->setCurrentIndex(std::clamp(int(recentFilesMax_), 0, platform::RecentFilesLimit));
    chkReverse->setChecked(cs.Reverse);
    txtCharactor->setText(cs.Charactor);
    SetTemplate(0, cs.Before);
    SetTemplate(1, cs.After);
    SetTemplate(2, cs.BeforeHTML);
    SetTemplate(3, cs.AfterHTML);
    ShowFinish(cs.Style, cs.Luminance, cs.Dither);
    tabProp->setCurrentIndex(0);

    adjustSize();
    platform::CentreOver(*this, main_);
}

void frmOption::txtCharactor_GotFocus() {
    platform::SelectAllText(*txtCharactor);
}

bool frmOption::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtCharactor) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Swallowed whole: no line break, and not the OK button either.
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                key->text() == QStringLiteral("\r"))
                return true;
        } else if (event->type() == QEvent::FocusIn) {
            txtCharactor_GotFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

frmOption::RampEdit frmOption::LimitRampEdit(const QString& before, const QString& edited,
                                             qsizetype cursor) {
    // The edit replaced a middle part of `before`; what it inserted ends at the caret.
    cursor = std::clamp<qsizetype>(cursor, 0, edited.size());
    qsizetype suffix = 0;
    const qsizetype maxSuffix = std::min(before.size(), edited.size() - cursor);
    while (suffix < maxSuffix &&
           before[before.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    qsizetype prefix = 0;
    const qsizetype maxPrefix = std::min(before.size(), edited.size()) - suffix;
    while (prefix < maxPrefix && before[prefix] == edited[prefix])
        ++prefix;
    // Never split a surrogate pair between the kept and the inserted parts.
    if (prefix > 0 && edited[prefix - 1].isHighSurrogate())
        --prefix;
    if (suffix > 0 && edited[edited.size() - suffix].isLowSurrogate())
        --suffix;

    const QString left = WithoutControls(edited.left(prefix));
    const QString right = WithoutControls(edited.right(suffix));
    const QString inserted = WithoutControls(edited.mid(prefix, edited.size() - prefix - suffix));
    const qsizetype room =
        std::max<qsizetype>(0, MaxRampCharacters - CodePoints(left) - CodePoints(right));
    const QString kept = FirstCodePoints(inserted, room);
    return {left + kept + right, left.size() + kept.size()};
}

void frmOption::txtCharactor_Edited(const QString& edited) {
    const RampEdit fixed = LimitRampEdit(rampBefore_, edited, txtCharactor->cursorPosition());
    if (fixed.text == edited)
        return;
    txtCharactor->setText(fixed.text);
    txtCharactor->setCursorPosition(int(fixed.cursor));
}

void frmOption::cmdDefault_Click() {
    cmbX->setCurrentIndex(0);
    cmbY->setCurrentIndex(0);
    chkReverse->setChecked(false);
    const mGlyfora::ConversionSettingsRecord defaults;
    txtCharactor->setText(defaults.Charactor);
    SetTemplate(0, defaults.Before);
    SetTemplate(1, defaults.After);
    SetTemplate(2, defaults.BeforeHTML);
    SetTemplate(3, defaults.AfterHTML);
    cmbRecent->setCurrentIndex(platform::RecentFilesDefault);
    ShowFinish(defaults.Style, defaults.Luminance, defaults.Dither);
}

void frmOption::cmdClear_Click() {
    const platform::MsgAnswer answer =
        dialogs_.MsgBox(this, {frmOptionTexts::ClearQuestion, platform::MsgIcon::Information,
                               platform::MsgButtons::YesNo, 1});
    if (answer != platform::MsgAnswer::Yes)
        return;
    recentFilesList_.fill(QString());
    Q_EMIT RecentFilesCleared();
}

void frmOption::cmdOk_Click() {
    const QString ramp = txtCharactor->text();
    QString problem;
    if (ramp.isEmpty())
        problem = frmOptionTexts::RampEmpty;
    else if (CodePoints(ramp) > MaxRampCharacters)
        problem = frmOptionTexts::RampTooLongHead + QString::number(MaxRampCharacters) +
                  frmOptionTexts::RampTooLongTail;
    if (!problem.isEmpty()) {
        dialogs_.Message(this, problem, platform::MsgIcon::Critical);
        tabProp->setCurrentIndex(RampTab);
        txtCharactor->setFocus();
        txtCharactor_GotFocus(); // also when the box had the focus already
        return;
    }

    mGlyfora::ConversionSettingsRecord& cs = mGlyfora::ConversionSettings;
    cs.X = quint8(cmbX->currentIndex() + 1);
    cs.Y = quint8(cmbY->currentIndex() + 1);
    cs.Reverse = chkReverse->isChecked();
    cs.Charactor = ramp;
    cs.Before = Template(0);
    cs.After = Template(1);
    cs.BeforeHTML = Template(2);
    cs.AfterHTML = Template(3);
    cs.Style = quint8(StyleChoice());
    cs.Luminance = luminance_;
    cs.Dither = chkDither->isChecked();
    recentFilesMax_ = qint16(cmbRecent->currentIndex());

    Q_EMIT OptionChanged();
    accept();
}

void frmOption::cmdCancel_Click() {
    done(QDialog::Rejected);
}

void frmOption::reject() {
    cmdCancel_Click();
}

void frmOption::closeEvent(QCloseEvent* event) {
    cmdCancel_Click();
    event->accept();
}
