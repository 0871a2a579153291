// The live preview.
#include "convert/ArtPreview.h"

#include "convert/ProgramLooks.h"
#include "convert/frmOptionTexts.h"

#include <QFontMetricsF>
#include <QPainter>

ArtPreview::ArtPreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // One job at a time: a newer one waits only for the abandoned one to notice.
    pool_.setMaxThreadCount(1);
}

ArtPreview::~ArtPreview() {
    if (running_)
        running_->store(true);
    pool_.waitForDone();
}

void ArtPreview::SetPicture(const QImage& picture, const QRectF& region) {
    picture_ = picture;
    region_ = region;
    reduced_ = QImage();
    rows_.clear();
    Request();
}

void ArtPreview::SetLook(const QFont& font, const QColor& ink, const QColor& paper) {
    setFont(font);
    ink_ = ink;
    paper_ = paper;
    Request();
}

void ArtPreview::SetChoices(const mGlyfora::LookOptions& look, bool luminance, const QString& ramp,
                            bool reverse) {
    look_ = look;
    luminance_ = luminance;
    ramp_ = ramp;
    reverse_ = reverse;
    Request();
}

QSize ArtPreview::Cells() const {
    const QFontMetricsF metrics(font());
    return mGlyfora::PreviewCells(
        region_.size(), contentsRect().size(),
        QSizeF(metrics.horizontalAdvance(QLatin1Char('M')), metrics.lineSpacing()));
}

void ArtPreview::Request() {
    if (running_)
        running_->store(true);
    ++generation_;
    if (picture_.isNull() || !isVisible() || region_.isEmpty()) {
        update();
        return;
    }
    mGlyfora::PreviewJob job;
    job.picture = picture_;
    job.region = region_;
    job.cells = Cells();
    job.look = look_;
    job.luminance = luminance_;
    job.ramp = ramp_;
    job.reverse = reverse_;
    const QStringList characters = mGlyfora::ProgramCharacters(look_.style, ramp_);
    if (look_.style == glyphsStyle_ && characters == glyphsFor_)
        job.glyphs = glyphs_;
    job.reduced = reduced_;

    auto abandon = std::make_shared<std::atomic<bool>>(false);
    running_ = abandon;
    const quint64 generation = generation_;
    pool_.start([this, job = std::move(job), abandon, generation] {
        mGlyfora::PreviewResult result = mGlyfora::MakePreview(job, *abandon);
        // Queued to the view's thread; dropped with the view, which waits for its jobs.
        QMetaObject::invokeMethod(
            this, [this, generation, result = std::move(result)] { Arrived(generation, result); },
            Qt::QueuedConnection);
    });
}

void ArtPreview::Arrived(quint64 generation, const mGlyfora::PreviewResult& result) {
    if (result.glyphs && result.glyphs != glyphs_) {
        glyphs_ = result.glyphs;
        glyphsStyle_ = look_.style;
        glyphsFor_ = mGlyfora::ProgramCharacters(look_.style, ramp_);
    }
    if (!result.reduced.isNull())
        reduced_ = result.reduced;
    if (generation != generation_ || !result.rows)
        return; // a later choice is on its way
    rows_ = *result.rows;
    update();
    Q_EMIT Shown();
}

QString ArtPreview::Message() const {
    return picture_.isNull() ? frmOptionTexts::NoPicture : QString();
}

void ArtPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, paper_);
    painter.setPen(ink_);
    if (picture_.isNull()) {
        painter.setFont(QWidget::parentWidget() ? parentWidget()->font() : font());
        painter.drawText(area, Qt::AlignCenter, Message());
        return;
    }
    painter.setClipRect(area);
    const QFontMetricsF metrics(font());
    const QSize cells = Cells();
    const QSizeF art(cells.width() * metrics.horizontalAdvance(QLatin1Char('M')),
                     cells.height() * metrics.lineSpacing());
    // The art centred in the view.
    const QPointF origin(area.left() + (area.width() - art.width()) / 2,
                         area.top() + (area.height() - art.height()) / 2);
    double y = origin.y() + metrics.ascent();
    for (const QString& row : rows_) {
        painter.drawText(QPointF(origin.x(), y), row);
        y += metrics.lineSpacing();
    }
}

void ArtPreview::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    Request();
}

void ArtPreview::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    Request();
}
