// The options dialog's live preview: a read-only view painting the art of the picture in
// the conversion window's font and colours. Each change asks for new art, computed on a
// thread of its own from a reduced copy; a newer request abandons the one running, and
// only the newest request's art is ever shown. Without a picture it says so.
#pragma once

#include "convert/ArtPreviewJob.h"

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QRectF>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <memory>

class ArtPreview : public QFrame {
    Q_OBJECT
public:
    explicit ArtPreview(QWidget* parent);
    ~ArtPreview() override;

    // The picture and the part of it shown; a null picture shows the no-picture text.
    void SetPicture(const QImage& picture, const QRectF& region);
    // The conversion window's font and colours.
    void SetLook(const QFont& font, const QColor& ink, const QColor& paper);
    // New choices: the art is made again (only while the view is shown).
    void SetChoices(const mGlyfora::LookOptions& look, bool luminance, const QString& ramp,
                    bool reverse);

    // The rows painted now; empty while none has arrived or without a picture.
    const QStringList& Rows() const { return rows_; }
    bool HasPicture() const { return !picture_.isNull(); }
    // What the view says instead of art: the no-picture text, or nothing.
    QString Message() const;

Q_SIGNALS:
    // New art is painted.
    void Shown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Request();
    void Arrived(quint64 generation, const mGlyfora::PreviewResult& result);
    QSize Cells() const;

    QImage picture_;
    QRectF region_;
    mGlyfora::LookOptions look_;
    bool luminance_ = false;
    QString ramp_;
    bool reverse_ = false;
    QColor ink_;
    QColor paper_;
    QStringList rows_;

    // What jobs hand back for the next ones.
    std::shared_ptr<const mGlyfora::GlyphMeasures> glyphs_;
    QStringList glyphsFor_; // the characters the glyphs were measured for, and their look
    mGlyfora::ArtStyle glyphsStyle_ = mGlyfora::ArtStyle::Exact;
    QImage reduced_;

    quint64 generation_ = 0;
    std::shared_ptr<std::atomic<bool>> running_; // the newest job's abandon flag
    QThreadPool pool_;
};
