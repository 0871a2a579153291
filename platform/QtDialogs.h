// Dialogs shown with Qt's own widgets.
#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

namespace platform {

class QtDialogs : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget* parent, const MessageRequest& request) override;
    std::optional<FileDialogResult> ShowOpen(QWidget* parent,
                                             const FileDialogRequest& request) override;
    std::optional<FileDialogResult> ShowSave(QWidget* parent,
                                             const FileDialogRequest& request) override;
    int ShowModal(QDialog& dialog) override;
    bool OpenWithDefaultApp(const QString& path, const QString& workingFolder) override;
};

// "label|a;b|label|*.*" as Qt name filters: "label (a b)", "label (*)".
QStringList QtNameFilters(const QString& filter);

} // namespace platform
