// The help window: the help document beside an index of keywords that jump to their
// topics. Non-modal; the main window keeps one.
#pragma once

#include "app/HelpDocument.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextBrowser;

namespace HelpWindowTexts {
inline const QString Caption = QStringLiteral("glyfora ヘルプ");
inline const QString KeywordLabel = QStringLiteral("キーワード(&K):");
inline const QString Display = QStringLiteral("表示(&D)");
inline const QString Contents = QStringLiteral("目次(&C)");
} // namespace HelpWindowTexts

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);

    // Shows the document and fills the index from it.
    void SetDocument(const QString& html);
    // Scrolls the document to the topic of the index entry `row`; false for no such row.
    bool ShowTopic(int row);
    // Goes back to the top of the document, where its contents are.
    void ShowContents();

    QTextBrowser* txtTopic = nullptr;
    QLineEdit* txtKeyword = nullptr;
    QListWidget* lstIndex = nullptr;

private:
    // Selects the first keyword that starts with what has been typed.
    void txtKeyword_Change(const QString& text);

    QList<mGlyfora::HelpKeyword> keywords_;
};
