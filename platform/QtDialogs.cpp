// Qt implementation of the dialog service.
#include "platform/QtDialogs.h"

#include "platform/TerminationSignals.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>

namespace platform {

namespace {
constexpr int LauncherStartMilliseconds = 10000;
}

namespace {
const QString kTitle = QStringLiteral("glyfora");

// Runs a dialog modally unless the program has been told to end: then nothing waits for
// the person and the dialog counts as cancelled.
int Exec(QDialog& dialog) {
    return TerminationRequested() ? int(QDialog::Rejected) : dialog.exec();
}

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Qt's save dialog takes a name in a folder that does not exist, and the save then fails
// with the result lost. With the path-must-exist flag this one refuses such a name with
// its own warning and stays open, as it does for a missing file when opening.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, bool folderMustExist)
        : QFileDialog(parent), folderMustExist_(folderMustExist) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (folderMustExist_ && !files.isEmpty()) {
            const QFileInfo chosen(files.constFirst());
            if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
                QMessageBox::warning(this, windowTitle(),
                                     QFileDialog::tr("%1\nDirectory not found.\nPlease verify the "
                                                     "correct directory name was given.")
                                         .arg(chosen.absolutePath()));
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool folderMustExist_;
};

std::optional<FileDialogResult> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                              QFileDialog::AcceptMode mode) {
    FileDialog dialog(parent, mode == QFileDialog::AcceptSave &&
                                  (request.Flags & FileFlags::PathMustExist));
    ConfigureFileDialog(dialog, request, mode);
    if (Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogResult result;
    result.FileName = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    result.FileTitle = QFileInfo(result.FileName).fileName();
    result.FilterIndex = int(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1;
    if (result.FilterIndex < 1)
        result.FilterIndex = request.FilterIndex;
    return result;
}

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

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Qt's font dialog embedded in a dialog of ours that adds the text colour.
class FontColourDialog : public QDialog {
public:
    FontColourDialog(QWidget* parent, const FontDialogRequest& request) : QDialog(parent) {
        setWindowTitle(QStringLiteral("フォント"));
        fonts_ = new QFontDialog(this);
        fonts_->setObjectName(QStringLiteral("fonts"));
        fonts_->setWindowFlags(Qt::Widget);
        fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        QFont initial(request.Font.FontName);
        if (request.Font.FontSize > 0)
            initial.setPointSizeF(request.Font.FontSize);
        initial.setBold(request.Font.FontBold);
        initial.setItalic(request.Font.FontItalic);
        initial.setUnderline(request.Font.FontUnderline);
        initial.setStrikeOut(request.Font.FontStrikethru);
        fonts_->setCurrentFont(initial);
        requestedName_ = request.Font.FontName;
        shownFamily_ = fonts_->currentFont().family();

        // Families with a regular style only (the Japanese fixed-pitch fonts among them)
        // list no bold or italic style; these boxes keep both choices for every family.
        bold_ = new QCheckBox(QStringLiteral("太字(&B)"), this);
        bold_->setObjectName(QStringLiteral("bold"));
        bold_->setChecked(request.Font.FontBold);
        italic_ = new QCheckBox(QStringLiteral("斜体(&I)"), this);
        italic_->setObjectName(QStringLiteral("italic"));
        italic_->setChecked(request.Font.FontItalic);
        connect(fonts_, &QFontDialog::currentFontChanged, this, [this](const QFont& font) {
            bold_->setChecked(font.bold());
            italic_->setChecked(font.italic());
        });

        colours_ = new QComboBox(this);
        colours_->setObjectName(QStringLiteral("colours"));
        const Colour start = IsSystemColour(request.Font.Color)
                                 ? ColourFromRgb(ToQColor(request.Font.Color).rgb())
                                 : request.Font.Color;
        for (const NamedColour& c : kClassicColours)
            colours_->addItem(Swatch(QColor::fromRgb(c.rgb)), QString::fromUtf8(c.name),
                              ColourFromRgb(c.rgb));
        int index = colours_->findData(start);
        if (index < 0) {
            colours_->addItem(Swatch(QColor::fromRgb(RgbFromColour(start))),
                              QStringLiteral("カスタム"), start);
            index = colours_->count() - 1;
        }
        colours_->setCurrentIndex(index);
        auto* colourLabel = new QLabel(QStringLiteral("色(&C):"), this);
        colourLabel->setBuddy(colours_);
        const bool effects = request.Flags & FontFlags::Effects;
        colourLabel->setVisible(effects);
        colours_->setVisible(effects);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* colourRow = new QHBoxLayout;
        colourRow->addWidget(bold_);
        colourRow->addWidget(italic_);
        colourRow->addWidget(colourLabel);
        colourRow->addWidget(colours_, 1);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(fonts_);
        layout->addLayout(colourRow);
        layout->addWidget(buttons);
    }

    FontChoice Choice() const {
        const QFont font = fonts_->currentFont();
        FontChoice choice;
        // A stored name that stands for a substitute keeps its own name unless another
        // family was picked.
        choice.FontName = font.family() == shownFamily_ ? requestedName_ : font.family();
        choice.FontSize = float(font.pointSizeF());
        choice.FontBold = bold_->isChecked();
        choice.FontItalic = italic_->isChecked();
        choice.FontUnderline = font.underline();
        choice.FontStrikethru = font.strikeOut();
        choice.Color = Colour(colours_->currentData().toUInt());
        return choice;
    }

private:
    QFontDialog* fonts_ = nullptr;
    QComboBox* colours_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QString requestedName_;
    QString shownFamily_;
};
} // namespace

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts.at(i);
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        // A label that already ends in its own pattern list shows it once.
        const qsizetype paren = label.lastIndexOf(QLatin1String(" ("));
        if (paren >= 0 && label.endsWith(u')'))
            label.truncate(paren);
        result << label + QLatin1String(" (") + patterns.join(u' ') + u')';
    }
    return result;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request,
                         QFileDialog::AcceptMode mode) {
    dialog.setWindowTitle(request.DialogTitle);
    dialog.setDirectory(request.InitDir);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode((request.Flags & FileFlags::FileMustExist) ? QFileDialog::ExistingFile
                                                                      : QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        // Qt asks before replacing a file unless told not to; ask exactly when the flag says.
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         !(request.Flags & FileFlags::OverwritePrompt));
    }
    const QStringList filters = QtNameFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.FilterIndex - 1));
    dialog.setDefaultSuffix(request.DefaultExt);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
}

QAbstractPrintDialog::PrintDialogOptions PrintDialogOptions(unsigned flags) {
    // Printing to a file stays offered whatever the flags: on Linux it is the PDF printer.
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if (!(flags & PrintFlags::NoSelection))
        options |= QAbstractPrintDialog::PrintSelection;
    if (!(flags & PrintFlags::NoPageNums))
        options |= QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage;
    return options;
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

MsgAnswer QtDialogs::MsgBox(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(ToQtIcon(request.icon), kTitle, request.text, QMessageBox::NoButton, parent);
    QList<QMessageBox::StandardButton> buttons;
    switch (request.buttons) {
    case MsgButtons::OK:
        buttons = {QMessageBox::Ok};
        break;
    case MsgButtons::OKCancel:
        buttons = {QMessageBox::Ok, QMessageBox::Cancel};
        break;
    case MsgButtons::YesNo:
        buttons = {QMessageBox::Yes, QMessageBox::No};
        break;
    case MsgButtons::YesNoCancel:
        buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        break;
    }
    for (auto b : buttons)
        box.addButton(b);
    const int def = qBound(0, request.defaultButton, int(buttons.size()) - 1);
    box.setDefaultButton(buttons.at(def));
    // Once the program is told to end, no box waits: one ended by the request, or asked
    // for after it, answers with its default button, as Enter would.
    if (!TerminationRequested())
        box.exec();
    QAbstractButton* answer = box.clickedButton();
    if (!answer && TerminationRequested())
        answer = box.defaultButton();
    switch (box.standardButton(answer)) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Ok:
        return MsgAnswer::OK;
    default:
        return MsgAnswer::Cancel;
    }
}

std::optional<FileDialogResult> QtDialogs::ShowOpen(QWidget* parent,
                                                    const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<FileDialogResult> QtDialogs::ShowSave(QWidget* parent,
                                                    const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<FontChoice> QtDialogs::ShowFont(QWidget* parent, const FontDialogRequest& request) {
    FontColourDialog dialog(parent, request);
    if (Exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

std::optional<Colour> QtDialogs::ShowColor(QWidget* parent, const ColorDialogRequest& request) {
    // A system colour number starts the dialog on the colour it stands for now.
    const QColor initial =
        (request.Flags & ColorFlags::RgbInit) ? ToQColor(request.Color) : QColor(Qt::black);
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (Exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return ColourFromRgb(dialog.selectedColor().rgb());
}

std::optional<PrintDialogResult> QtDialogs::ShowPrinter(QWidget* parent, QPrinter& printer,
                                                        const PrintDialogRequest& request) {
    printer.setCopyCount(qMax(1, request.Copies));
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(PrintDialogOptions(request.Flags));
    if (Exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return PrintDialogResult{printer.copyCount()};
}

int QtDialogs::ShowModal(QDialog& dialog) {
    return Exec(dialog);
}

bool QtDialogs::OpenWithDefaultApp(const QString& path, const QString& workingFolder,
                                   std::function<void()> failedLater) {
    // Owned by the application: it outlives the command and goes when it has finished.
    // The launcher may stay until the browser ends; the program never waits for it.
    auto* launcher = new QProcess(QCoreApplication::instance());
    launcher->setProgram(QStringLiteral("xdg-open"));
    launcher->setArguments({path});
    launcher->setWorkingDirectory(workingFolder);
    launcher->setStandardInputFile(QProcess::nullDevice());
    launcher->setStandardOutputFile(QProcess::nullDevice());
    launcher->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(launcher, &QProcess::finished, launcher,
                     [launcher, failedLater](int exitCode, QProcess::ExitStatus status) {
                         launcher->deleteLater();
                         if ((status != QProcess::NormalExit || exitCode != 0) && failedLater)
                             failedLater();
                     });
    launcher->start();
    // Only the start is waited for (a fork and exec): a launcher that cannot start says
    // so at once, one that starts is left to finish in its own time.
    if (!launcher->waitForStarted(LauncherStartMilliseconds)) {
        launcher->disconnect();
        launcher->deleteLater();
        return false;
    }
    return true;
}

} // namespace platform
