// Qt implementation of the dialog service.
#include "platform/QtDialogs.h"

#include "platform/FontColourDialog.h"
#include "platform/TerminationRequest.h"
#include "platform/mGlyfora.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>

namespace platform {

namespace {
constexpr int LauncherStartMilliseconds = 10000;
}

namespace {
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

// Qt's print dialog greys the page choices it is not given, and shows their group again
// each time it is shown; with none of them asked for, the group is hidden once shown
// (found by the name Qt's form gives it).
class PrintDialog : public QPrintDialog {
public:
    PrintDialog(QPrinter& printer, QWidget* parent, PrintDialogOptions options)
        : QPrintDialog(&printer, parent) {
        setOptions(options);
    }
    void setVisible(bool visible) override {
        QPrintDialog::setVisible(visible);
        constexpr auto pageChoices = PrintPageRange | PrintCurrentPage | PrintSelection;
        if (visible && !(options() & pageChoices)) {
            if (auto* pages = findChild<QWidget*>(QStringLiteral("gbPrintRange")))
                pages->hide();
        }
    }
};

MsgAnswer QtDialogs::MsgBox(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(ToQtIcon(request.icon), mGlyfora::ApplicationTitle, request.text,
                    QMessageBox::NoButton, parent);
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
    FontColourDialog dialog(parent, request, [this](QWidget* over, const QString& text) {
        MsgBox(over, {text, MsgIcon::Exclamation, MsgButtons::OK});
    });
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
    PrintDialog dialog(printer, parent, PrintDialogOptions(request.Flags));
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
