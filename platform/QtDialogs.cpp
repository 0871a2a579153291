// Qt implementation of the dialog service.
#include "platform/QtDialogs.h"

#include "platform/TerminationSignals.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace platform {

namespace {
const QString kTitle = QStringLiteral("glyfora");

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

std::optional<FileDialogResult> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                              QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.initDir);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = QtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FileDialogResult result;
    result.fileName = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    result.fileTitle = QFileInfo(result.fileName).fileName();
    result.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (result.filterIndex < 1)
        result.filterIndex = request.filterIndex;
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

int QtDialogs::ShowModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtDialogs::OpenWithDefaultApp(const QString& path, const QString& workingFolder) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path}, workingFolder);
}

} // namespace platform
