// The font dialog: family, style, size, effects and the text colour in one dialog of
// ours. The style list and the bold and italic boxes are two views of one choice, offered
// for every family (the desktop draws a missing bold or italic face itself); the sample
// shows everything chosen. Enter is OK and Esc is Cancel wherever the focus is.
#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace platform {

class FontColourDialog : public QDialog {
public:
    FontColourDialog(QWidget* parent, const FontDialogRequest& request);

    FontChoice Choice() const;

private:
    void FamilyTyped(const QString& text);
    void StyleChosen(int row);
    void BoxesChanged();
    void SizeTyped(const QString& text);
    void ShowSample();
    QFont ChosenFont() const;

    QLineEdit* familyEdit_ = nullptr;
    QListWidget* families_ = nullptr;
    QListWidget* styles_ = nullptr;
    QLineEdit* sizeEdit_ = nullptr;
    QListWidget* sizes_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* strike_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QComboBox* colours_ = nullptr;
    QLabel* sample_ = nullptr;
    double size_ = 0;
    QString requestedName_; // as stored, perhaps a name that stands for a substitute
    QString shownFamily_;   // the family the dialog started on
};

// The sixteen colours the font dialog offers, black first.
const std::array<Colour, 16>& FontDialogColours();

} // namespace platform
