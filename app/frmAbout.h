// The about box: the program's icon, title and version, closed with OK.
#pragma once

#include "platform/FixedDialog.h"

#include <QString>

class QLabel;

namespace frmAboutTexts {
inline const QString Caption = QStringLiteral("バージョン情報");
inline const QString Ok = QStringLiteral("OK");
} // namespace frmAboutTexts

// "Version " + major + "." + minor with at least two digits, then "." + the revision with
// at least four digits when the revision is not 0: 2, 10, 0 gives "Version 2.10".
QString AboutVersionText(int major, int minor, int revision);

class frmAbout : public platform::FixedDialog {
    Q_OBJECT
public:
    // `main` is the window the box belongs to and is centred over.
    explicit frmAbout(QWidget& main);

    // Fills the box and centres it over the main window.
    void Form_Load();
    void cmdOk_Click() override;

    QLabel* imgIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;

    // Esc answers as OK does; the close box just closes.
    void reject() override;
};
