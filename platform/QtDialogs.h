// Dialogs shown with Qt's own widgets.
#pragma once

#include "platform/Dialogs.h"

#include <QAbstractPrintDialog>
#include <QFileDialog>
#include <QStringList>
#include <array>

namespace platform {

class QtDialogs : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget* parent, const MessageRequest& request) override;
    std::optional<FileDialogResult> ShowOpen(QWidget* parent,
                                             const FileDialogRequest& request) override;
    std::optional<FileDialogResult> ShowSave(QWidget* parent,
                                             const FileDialogRequest& request) override;
    std::optional<FontChoice> ShowFont(QWidget* parent, const FontDialogRequest& request) override;
    std::optional<Colour> ShowColor(QWidget* parent, const ColorDialogRequest& request) override;
    std::optional<PrintDialogResult> ShowPrinter(QWidget* parent, QPrinter& printer,
                                                 const PrintDialogRequest& request) override;
    int ShowModal(QDialog& dialog) override;
    bool OpenWithDefaultApp(const QString& path, const QString& workingFolder,
                            std::function<void()> failedLater) override;
};

// "label|a;b|label|*.*" as Qt name filters: "label (a b)", "label (*)".
QStringList QtNameFilters(const QString& filter);

// Sets up a file dialog from a request: title, folder, proposed name, filters and flags.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request,
                         QFileDialog::AcceptMode mode);

// The print dialog's choices for the flags.
QAbstractPrintDialog::PrintDialogOptions PrintDialogOptions(unsigned flags);

} // namespace platform
