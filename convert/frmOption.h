// The options dialog: cell size, ramp direction, the character ramp, the four HTML
// templates, the length of the recent-files menu and the finish of text results with its
// live preview, applied when the person presses OK.
#pragma once

#include "platform/mGlyfora.h"

#include <QDialog>
#include <QString>
#include <array>

class ArtPreview;
class QHBoxLayout;
class QRadioButton;

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace platform {
class Dialogs;
}

class frmOption : public QDialog {
    Q_OBJECT
public:
    // `main` is the window the dialog is centred over; `recentFilesMax` and
    // `recentFilesList` are the program's recent-files length and list, edited in place.
    frmOption(QWidget& main, platform::Dialogs& dialogs, qint16& recentFilesMax,
              std::array<QString, mGlyfora::RecentFilesSlots>& recentFilesList);

    // Fills the controls from the current settings and centres the dialog.
    void Form_Load();
    // The picture the finish tab previews (its selection's `region` of it, in pixels) and
    // the conversion window's font and colours; without it the preview has no picture.
    void SetPreview(const QImage& picture, const QRectF& region, const QFont& font,
                    const QColor& ink, const QColor& paper);
    // A finish control changed: the controls that apply are enabled, the preview follows.
    void optStyle_Click();
    void optBrightness_Click();
    // Selects the whole ramp as the box gets the focus.
    void txtCharactor_GotFocus();
    // Puts the defaults into the controls; the settings change only with OK.
    void cmdDefault_Click();
    // Asks, then empties the recent list at once.
    void cmdClear_Click();
    // Checks the ramp, applies everything and tells the main window.
    void cmdOk_Click();
    void cmdCancel_Click();

    // The ramp box's text after a person's edit: control characters removed and, past the
    // character limit, the excess of what was just inserted dropped.
    struct RampEdit {
        QString text;
        qsizetype cursor = 0;
    };
    static RampEdit LimitRampEdit(const QString& before, const QString& edited, qsizetype cursor);

    // The tab widget shows the panel of the selected tab only.
    QTabWidget* tabProp = nullptr;
    std::array<QWidget*, 6> picPanel{};
    QGroupBox* fraRate = nullptr;
    QLabel* lblX = nullptr;
    QComboBox* cmbX = nullptr;
    QLabel* lblY = nullptr;
    QComboBox* cmbY = nullptr;
    QCheckBox* chkReverse = nullptr;
    QGroupBox* fraCharactor = nullptr;
    QLineEdit* txtCharactor = nullptr;
    QGroupBox* fraText = nullptr;
    QLabel* lblBefore = nullptr;
    QPlainTextEdit* txtBefore = nullptr;
    QLabel* lblAfter = nullptr;
    QPlainTextEdit* txtAfter = nullptr;
    QGroupBox* fraHTML = nullptr;
    QLabel* lblBeforeHTML = nullptr;
    QPlainTextEdit* txtBeforeHTML = nullptr;
    QLabel* lblAfterHTML = nullptr;
    QPlainTextEdit* txtAfterHTML = nullptr;
    QGroupBox* fraHistory = nullptr;
    QLabel* lblRecent = nullptr;
    QComboBox* cmbRecent = nullptr;
    QPushButton* cmdClear = nullptr;
    QGroupBox* fraStyle = nullptr;
    std::array<QRadioButton*, 3> optStyle{}; // exact, tone, shape
    QGroupBox* fraBrightness = nullptr;
    std::array<QRadioButton*, 2> optBrightness{}; // largest component, luminance
    QCheckBox* chkDither = nullptr;
    QLabel* lblPreview = nullptr;
    ArtPreview* picPreview = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

Q_SIGNALS:
    // New options are in force (once per OK).
    void OptionChanged();
    // The recent list was emptied; its menu items should go at once.
    void RecentFilesCleared();

public Q_SLOTS:
    // Esc cancels.
    void reject() override;

protected:
    // The close box cancels.
    void closeEvent(QCloseEvent* event) override;
    // Enter in the ramp box does nothing; the box selects its text when it gets the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A template box shows its text with LF line ends; an unedited box gives back exactly
    // the text it was given, an edited one has CR LF line ends.
    void SetTemplate(int index, const QString& text);
    // The constructor's parts: one a tab, then the buttons below the tabs.
    void BuildConversionTab();
    void BuildCharactersTab();
    void BuildBrowserTab();
    void BuildHtmlTab();
    void BuildOtherTab();
    void BuildFinishTab();
    int StyleChoice() const;
    // Shows the finish choices (exact's brightness kept while another style greys it).
    void ShowFinish(int style, bool luminance, bool dither);
    void UpdatePreview();
    QHBoxLayout* BuildButtons();
    QString Template(int index) const;
    std::array<QPlainTextEdit*, 4> TemplateBoxes() const;
    void txtCharactor_Edited(const QString& edited);

    QWidget& main_;
    platform::Dialogs& dialogs_;
    qint16& recentFilesMax_;
    std::array<QString, mGlyfora::RecentFilesSlots>& recentFilesList_;
    // The ramp box's text before the edit being handled.
    QString rampBefore_;
    struct TemplateMemo {
        QString given; // as the settings hold it
        QString shown; // the box's raw text right after it was filled
    };
    std::array<TemplateMemo, 4> templates_;
    // The exact scan's brightness as chosen: the buttons show luminance while greyed.
    bool luminance_ = false;
    // The family the conversion window shows, whose glyphs tone and shape measure.
    QString face_;
};
