// The about box: the program's icon, title and version, closed with OK.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace frmAboutTexts {
inline const QString Caption = QStringLiteral("バージョン情報");
inline const QString Ok = QStringLiteral("OK");
} // namespace frmAboutTexts

// "Version " + major + "." + minor with at least two digits, then "." + the revision with
// at least four digits when the revision is not 0: 2, 10, 0 gives "Version 2.10".
QString AboutVersionText(int major, int minor, int revision);

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // `main` is the window the box belongs to and is centred over.
    explicit frmAbout(QWidget& main);

    // Fills the box and centres it over the main window.
    void Form_Load();
    void cmdOk_Click();

    QLabel* imgIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdOk = nullptr;

public Q_SLOTS:
    // Esc answers as OK does.
    void reject() override;

protected:
    // The close box just closes.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget& main_;
};
