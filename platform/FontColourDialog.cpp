// The font dialog of ours.
#include "platform/FontColourDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <optional>

namespace platform {

namespace {

struct NamedColour {
    QRgb rgb;
    const char* name;
};

// The classic sixteen, in the order font dialogs list them.
constexpr std::array<NamedColour, 16> kClassicColours = {{
    {0x000000, "黒"},
    {0x800000, "マルーン"},
    {0x008000, "緑"},
    {0x808000, "オリーブ"},
    {0x000080, "ネイビー"},
    {0x800080, "紫"},
    {0x008080, "ティール"},
    {0x808080, "灰色"},
    {0xC0C0C0, "シルバー"},
    {0xFF0000, "赤"},
    {0x00FF00, "ライム"},
    {0xFFFF00, "黄"},
    {0x0000FF, "青"},
    {0xFF00FF, "フクシア"},
    {0x00FFFF, "水色"},
    {0xFFFFFF, "白"},
}};

// Row = italic + 2 x bold.
const char* const kStyles[] = {"標準", "斜体", "太字", "太字 斜体"};
const double kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// Sizes past this are not taken from the size box.
constexpr double MaxPointSize = 1638;
const QString kSampleText = QStringLiteral("Aaあぁアァ亜宇");
// The refusals, as font dialogs word them.
const QString kNoSuchFont = QStringLiteral(
    "この名前のフォントはありません。\nフォントの一覧からフォント名を選んでください。");
const QString kSizeNotNumber =
    QStringLiteral("サイズには 0 より大きく 1638 以下の数値を入力してください。");

// A size box's text as a size the dialog takes.
std::optional<double> PointSize(const QString& text) {
    bool ok = false;
    const double size = text.trimmed().toDouble(&ok);
    if (!ok || !(size > 0) || size > MaxPointSize)
        return std::nullopt;
    return size;
}

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QString SizeText(double size) {
    return QString::number(size, 'g', 6);
}

QLabel* Buddied(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

QStringList FontDialogFamilies() {
    QStringList listed;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        if (!systems.contains(QFontDatabase::Latin) && !systems.contains(QFontDatabase::Japanese))
            continue;
        // A family several foundries make is listed once, without the foundry: the
        // desktop picks the face.
        QString name = family;
        if (const qsizetype bracket = name.lastIndexOf(QStringLiteral(" ["));
            bracket > 0 && name.endsWith(u']'))
            name.truncate(bracket);
        if (!listed.contains(name))
            listed << name;
    }
    return listed;
}

FontColourDialog::FontColourDialog(QWidget* parent, const FontDialogRequest& request, Warn warn)
    : QDialog(parent), requestedName_(request.Start.Font.Name), warn_(std::move(warn)) {
    setWindowTitle(QStringLiteral("フォント"));
    const FontRecord& start = request.Start.Font;

    familyEdit_ = new QLineEdit(this);
    familyEdit_->setObjectName(QStringLiteral("family"));
    families_ = new QListWidget(this);
    families_->setObjectName(QStringLiteral("families"));
    families_->addItems(FontDialogFamilies());
    // A stored name the desktop has no font of (a substitute stands in) starts the
    // dialog on the face actually used for it.
    QList<QListWidgetItem*> found = families_->findItems(start.Name, Qt::MatchFixedString);
    if (found.isEmpty())
        found = families_->findItems(QFontInfo(QFont(start.Name)).family(), Qt::MatchFixedString);
    if (!found.isEmpty()) {
        families_->setCurrentItem(found.first());
        shownFamily_ = found.first()->text();
    }
    familyEdit_->setText(shownFamily_);

    styles_ = new QListWidget(this);
    styles_->setObjectName(QStringLiteral("styles"));
    for (const char* style : kStyles)
        styles_->addItem(QString::fromUtf8(style));
    styles_->setCurrentRow(int(start.Italic) + 2 * int(start.Bold));

    size_ = start.Size > 0 ? start.Size : 12;
    sizeEdit_ = new QLineEdit(SizeText(size_), this);
    sizeEdit_->setObjectName(QStringLiteral("size"));
    sizes_ = new QListWidget(this);
    sizes_->setObjectName(QStringLiteral("sizes"));
    bool listed = false;
    for (const double size : kSizes) {
        if (!listed && size >= size_) {
            if (size != size_)
                sizes_->addItem(SizeText(size_));
            listed = true;
        }
        sizes_->addItem(SizeText(size));
    }
    if (!listed)
        sizes_->addItem(SizeText(size_));
    sizes_->setCurrentItem(sizes_->findItems(SizeText(size_), Qt::MatchExactly).value(0));

    // Families with a regular face only (the Japanese fixed-pitch fonts among them) still
    // take bold and italic: the desktop draws them.
    bold_ = new QCheckBox(QStringLiteral("太字(&B)"), this);
    bold_->setObjectName(QStringLiteral("bold"));
    bold_->setChecked(start.Bold);
    italic_ = new QCheckBox(QStringLiteral("斜体(&I)"), this);
    italic_->setObjectName(QStringLiteral("italic"));
    italic_->setChecked(start.Italic);
    strike_ = new QCheckBox(QStringLiteral("取り消し線(&K)"), this);
    strike_->setChecked(start.Strikethrough);
    underline_ = new QCheckBox(QStringLiteral("下線(&U)"), this);
    underline_->setChecked(start.Underline);

    colours_ = new QComboBox(this);
    colours_->setObjectName(QStringLiteral("colours"));
    const Colour colour = IsSystemColour(request.Start.Color)
                              ? ColourFromRgb(ToQColor(request.Start.Color).rgb())
                              : request.Start.Color;
    for (const NamedColour& c : kClassicColours)
        colours_->addItem(Swatch(QColor::fromRgb(c.rgb)), QString::fromUtf8(c.name),
                          ColourFromRgb(c.rgb));
    int index = colours_->findData(colour);
    if (index < 0) {
        colours_->addItem(Swatch(QColor::fromRgb(RgbFromColour(colour))),
                          QStringLiteral("カスタム"), colour);
        index = colours_->count() - 1;
    }
    colours_->setCurrentIndex(index);
    auto* colourLabel = Buddied(QStringLiteral("色(&C):"), colours_, this);
    const bool effects = request.Flags & FontFlags::Effects;
    for (QWidget* w : std::initializer_list<QWidget*>{strike_, underline_, colourLabel, colours_})
        w->setVisible(effects);

    sample_ = new QLabel(kSampleText, this);
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumSize(220, 60);
    sample_->setAutoFillBackground(true);

    connect(families_, &QListWidget::currentTextChanged, this, [this](const QString& family) {
        familyEdit_->setText(family);
        ShowSample();
    });
    connect(familyEdit_, &QLineEdit::textEdited, this, &FontColourDialog::FamilyTyped);
    connect(styles_, &QListWidget::currentRowChanged, this, &FontColourDialog::StyleChosen);
    connect(bold_, &QCheckBox::toggled, this, &FontColourDialog::BoxesChanged);
    connect(italic_, &QCheckBox::toggled, this, &FontColourDialog::BoxesChanged);
    connect(sizes_, &QListWidget::currentTextChanged, this, [this](const QString& size) {
        if (size.isEmpty())
            return;
        sizeEdit_->setText(size);
        SizeTyped(size);
    });
    connect(sizeEdit_, &QLineEdit::textEdited, this, &FontColourDialog::SizeTyped);
    for (QCheckBox* box : {strike_, underline_})
        connect(box, &QCheckBox::toggled, this, &FontColourDialog::ShowSample);
    connect(colours_, &QComboBox::currentIndexChanged, this, &FontColourDialog::ShowSample);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* choices = new QGridLayout;
    choices->addWidget(Buddied(QStringLiteral("フォント名(&F):"), familyEdit_, this), 0, 0);
    choices->addWidget(Buddied(QStringLiteral("スタイル(&Y):"), styles_, this), 0, 1);
    choices->addWidget(Buddied(QStringLiteral("サイズ(&S):"), sizeEdit_, this), 0, 2);
    choices->addWidget(familyEdit_, 1, 0);
    choices->addWidget(styles_, 1, 1, 2, 1);
    choices->addWidget(sizeEdit_, 1, 2);
    choices->addWidget(families_, 2, 0);
    choices->addWidget(sizes_, 2, 2);
    const int em = fontMetrics().horizontalAdvance(u'M');
    styles_->setMaximumWidth(10 * em);
    sizeEdit_->setMaximumWidth(6 * em);
    sizes_->setMaximumWidth(6 * em);
    choices->setColumnStretch(0, 1);
    auto* effectsBox = new QGroupBox(QStringLiteral("文字飾り"), this);
    auto* effectsGrid = new QGridLayout(effectsBox);
    effectsGrid->addWidget(bold_, 0, 0);
    effectsGrid->addWidget(italic_, 0, 1);
    effectsGrid->addWidget(strike_, 1, 0);
    effectsGrid->addWidget(underline_, 1, 1);
    effectsGrid->addWidget(colourLabel, 2, 0);
    effectsGrid->addWidget(colours_, 2, 1);
    auto* sampleBox = new QGroupBox(QStringLiteral("サンプル"), this);
    (new QVBoxLayout(sampleBox))->addWidget(sample_);
    auto* lower = new QHBoxLayout;
    lower->addWidget(effectsBox);
    lower->addWidget(sampleBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices, 1);
    layout->addLayout(lower);
    layout->addWidget(buttons);
    ShowSample();
    familyEdit_->setFocus();
}

void FontColourDialog::FamilyTyped(const QString& text) {
    // The first family that starts with what is typed; the box keeps what was typed.
    const QList<QListWidgetItem*> found = families_->findItems(text, Qt::MatchStartsWith);
    if (!found.isEmpty()) {
        const QSignalBlocker quiet(families_);
        families_->setCurrentItem(found.first());
        families_->scrollToItem(found.first(), QAbstractItemView::PositionAtTop);
    }
    ShowSample();
}

void FontColourDialog::StyleChosen(int row) {
    if (row < 0)
        return;
    const QSignalBlocker quietBold(bold_);
    const QSignalBlocker quietItalic(italic_);
    bold_->setChecked(row >= 2);
    italic_->setChecked(row % 2 == 1);
    ShowSample();
}

void FontColourDialog::BoxesChanged() {
    const QSignalBlocker quiet(styles_);
    styles_->setCurrentRow(int(italic_->isChecked()) + 2 * int(bold_->isChecked()));
    ShowSample();
}

void FontColourDialog::SizeTyped(const QString& text) {
    const std::optional<double> size = PointSize(text);
    if (!size)
        return;
    size_ = *size;
    const QSignalBlocker quiet(sizes_);
    const QList<QListWidgetItem*> found = sizes_->findItems(SizeText(*size), Qt::MatchExactly);
    if (found.isEmpty())
        sizes_->clearSelection();
    else
        sizes_->setCurrentItem(found.first());
    ShowSample();
}

void FontColourDialog::accept() {
    if (!TakeFamily())
        return Refuse(familyEdit_, kNoSuchFont);
    if (!TakeSize())
        return Refuse(sizeEdit_, kSizeNotNumber);
    QDialog::accept();
}

bool FontColourDialog::TakeFamily() {
    // Only a listed family, named in full (in any case).
    const QList<QListWidgetItem*> found =
        families_->findItems(familyEdit_->text().trimmed(), Qt::MatchFixedString);
    if (found.isEmpty())
        return false;
    families_->setCurrentItem(found.first());
    return true;
}

bool FontColourDialog::TakeSize() {
    const std::optional<double> size = PointSize(sizeEdit_->text());
    if (size)
        size_ = *size;
    return size.has_value();
}

void FontColourDialog::Refuse(QLineEdit* box, const QString& text) {
    if (warn_)
        warn_(this, text);
    box->setFocus();
    box->selectAll();
}

QFont FontColourDialog::ChosenFont() const {
    QFont font(families_->currentItem() ? families_->currentItem()->text() : requestedName_);
    font.setPointSizeF(size_);
    font.setBold(bold_->isChecked());
    font.setItalic(italic_->isChecked());
    font.setUnderline(underline_->isChecked());
    font.setStrikeOut(strike_->isChecked());
    return font;
}

void FontColourDialog::ShowSample() {
    QFont font = ChosenFont();
    // Sizes too small or too large to read are shown at a size that fits the box.
    font.setPointSizeF(qBound(8.0, size_, 36.0));
    sample_->setFont(font);
    QPalette colours = sample_->palette();
    colours.setColor(QPalette::WindowText,
                     QColor::fromRgb(RgbFromColour(Colour(colours_->currentData().toUInt()))));
    colours.setColor(QPalette::Window, palette().color(QPalette::Base));
    sample_->setPalette(colours);
}

FontChoice FontColourDialog::Choice() const {
    const QFont font = ChosenFont();
    FontChoice choice{FontRecord::From(font), Colour(colours_->currentData().toUInt())};
    // A stored name that stands for a substitute keeps its own name unless another
    // family was picked.
    if (font.family() == shownFamily_)
        choice.Font.Name = requestedName_;
    return choice;
}

const std::array<Colour, 16>& FontDialogColours() {
    static const std::array<Colour, 16> colours = [] {
        std::array<Colour, 16> result{};
        for (std::size_t i = 0; i < result.size(); ++i)
            result[i] = ColourFromRgb(kClassicColours[i].rgb);
        return result;
    }();
    return colours;
}

} // namespace platform
