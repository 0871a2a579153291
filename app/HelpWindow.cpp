// The help window.
#include "app/HelpWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

using namespace HelpWindowTexts;

namespace {
// The window's first size and how it is shared between the index and the topic, in pixels.
constexpr int InitialWidth = 780;
constexpr int InitialHeight = 540;
constexpr int IndexWidth = 200;
constexpr int TopicWidth = 560;
} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(Caption);

    auto* indexPane = new QWidget(this);
    auto* keywordLabel = new QLabel(KeywordLabel, indexPane);
    txtKeyword = new QLineEdit(indexPane);
    txtKeyword->setObjectName(QStringLiteral("txtKeyword"));
    keywordLabel->setBuddy(txtKeyword);
    lstIndex = new QListWidget(indexPane);
    lstIndex->setObjectName(QStringLiteral("lstIndex"));
    auto* display = new QPushButton(Display, indexPane);
    auto* indexLayout = new QVBoxLayout(indexPane);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(keywordLabel);
    indexLayout->addWidget(txtKeyword);
    indexLayout->addWidget(lstIndex, 1);
    indexLayout->addWidget(display, 0, Qt::AlignRight);

    txtTopic = new QTextBrowser(this);
    txtTopic->setObjectName(QStringLiteral("txtTopic"));
    txtTopic->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(indexPane);
    splitter->addWidget(txtTopic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({IndexWidth, TopicWidth});
    splitter->setChildrenCollapsible(false);

    auto* contents = new QPushButton(Contents, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(InitialWidth, InitialHeight);

    connect(txtKeyword, &QLineEdit::textEdited, this, &HelpWindow::txtKeyword_Change);
    connect(txtKeyword, &QLineEdit::returnPressed, this,
            [this] { ShowTopic(lstIndex->currentRow()); });
    connect(lstIndex, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowTopic(lstIndex->row(item)); });
    connect(lstIndex, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowTopic(lstIndex->row(item)); });
    connect(display, &QPushButton::clicked, this, [this] { ShowTopic(lstIndex->currentRow()); });
    connect(contents, &QPushButton::clicked, this, &HelpWindow::ShowContents);
}

void HelpWindow::SetDocument(const QString& html) {
    txtTopic->setHtml(html);
    keywords_ = mGlyfora::HelpIndex(html);
    lstIndex->clear();
    for (const mGlyfora::HelpKeyword& entry : keywords_)
        lstIndex->addItem(entry.keyword);
    if (!keywords_.isEmpty())
        lstIndex->setCurrentRow(0);
}

bool HelpWindow::ShowTopic(int row) {
    if (row < 0 || row >= keywords_.size())
        return false;
    lstIndex->setCurrentRow(row);
    txtTopic->setSource(QUrl(u'#' + keywords_[row].anchor));
    return true;
}

void HelpWindow::ShowContents() {
    txtTopic->verticalScrollBar()->setValue(0);
}

void HelpWindow::txtKeyword_Change(const QString& text) {
    for (int row = 0; row < keywords_.size(); ++row) {
        if (keywords_[row].keyword.startsWith(text, Qt::CaseInsensitive)) {
            lstIndex->setCurrentRow(row);
            lstIndex->scrollToItem(lstIndex->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}
