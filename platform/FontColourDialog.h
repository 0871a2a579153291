// The font dialog: family, style, size, effects and the text colour in one dialog of
// ours. The style list and the bold and italic boxes are two views of one choice, offered
// for every family (the desktop draws a missing bold or italic face itself); the sample
// shows everything chosen. Enter is OK and Esc is Cancel wherever the focus is. Only
// fonts that exist are taken: a name that is no listed family or a size that is no
// number is refused with a message, the dialog staying open on that box. Families that
// cannot show Latin or Japanese text (symbol and math faces) are not listed.
#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace platform {

class FontColourDialog : public QDialog {
public:
    // `warn` shows a refusal's message over the dialog and returns once it was read.
    using Warn = std::function<void(QWidget* over, const QString& text)>;
    FontColourDialog(QWidget* parent, const FontDialogRequest& request, Warn warn = {});

    FontChoice Choice() const;
    // Takes the typed name and size, or refuses them and stays open.
    void accept() override;

private:
    bool TakeFamily();
    bool TakeSize();
    void Refuse(QLineEdit* box, const QString& text);
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
    Warn warn_;
};

// The families the font dialog lists: each once, those that can show Latin or Japanese
// text, in the desktop's order.
QStringList FontDialogFamilies();

// The sixteen colours the font dialog offers, black first.
const std::array<Colour, 16>& FontDialogColours();

} // namespace platform
