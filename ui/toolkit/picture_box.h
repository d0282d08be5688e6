#pragma once

// A picture box: a drawing surface with a user coordinate window, shown as an
// image.

#include <optional>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "ui/toolkit/drawing_surface.h"

namespace ui {

// A picture box: a retained image that drawing operations paint into and that
// every repaint shows, so the sketch survives being covered and uncovered.
// Outlines are 2 pixels wide whatever the user scale.
class PictureBox : public QWidget, public DrawingSurface
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setBackgroundColor(const QColor& color);
    void setForegroundColor(const QColor& color);
    QColor foregroundColor() const { return foreground_; }
    void setHeightPixels(int height);
    // What is drawn, in device pixels.
    QImage image();

    void clear() override;
    void setFillStyle(FillStyle style) override;
    bool setUserWindow(float x1, float y1, float x2, float y2) override;
    bool drawBox(float x1, float y1, float x2, float y2) override;
    bool fillBox(float x1, float y1, float x2, float y2) override;

    static constexpr int lineWidth = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PixelBox
    {
        int left, top, right, bottom; // inclusive
    };
    std::optional<PixelBox> toPixels(float x1, float y1, float x2, float y2) const;
    void fill(int left, int top, int right, int bottom, const QColor& color);
    void newImage();
    void matchImageToSize();

    QImage image_;
    QColor background_{Qt::white};
    QColor foreground_;
    FillStyle fillStyle_ = FillStyle::solid;
    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
};

} // namespace ui
