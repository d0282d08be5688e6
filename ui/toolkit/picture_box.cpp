#include "ui/toolkit/picture_box.h"

#include <algorithm>
#include <cmath>

#include <QPaintEvent>
#include <QPainter>

namespace ui {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), foreground_(palette().color(QPalette::WindowText))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    newImage();
}

void PictureBox::matchImageToSize()
{
    // A hidden widget gets its resize event only when shown; the drawing
    // area must follow its size at once.
    if (image_.size() != size() * devicePixelRatioF())
        newImage();
}

void PictureBox::newImage()
{
    // Device pixels, so that a high-DPI screen gets crisp lines.
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(size() * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background_);
}

void PictureBox::setBackgroundColor(const QColor& color)
{
    background_ = color;
}

void PictureBox::setForegroundColor(const QColor& color)
{
    foreground_ = color;
}

void PictureBox::setHeightPixels(int height)
{
    resize(width(), height);
}

QImage PictureBox::image()
{
    matchImageToSize();
    return image_;
}

void PictureBox::resizeEvent(QResizeEvent*)
{
    // A hidden widget's resize arrives when it is first shown, after the
    // drawing was made at the same size: keep it then.
    matchImageToSize();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    matchImageToSize();
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(QPoint(0, 0), image_);
}

void PictureBox::clear()
{
    matchImageToSize();
    image_.fill(background_);
    update();
}

void PictureBox::setFillStyle(FillStyle style)
{
    fillStyle_ = style;
}

bool PictureBox::setUserWindow(float x1, float y1, float x2, float y2)
{
    const double width = double(x2) - double(x1);
    const double height = double(y2) - double(y1);
    if (!std::isfinite(width) || !std::isfinite(height) || width == 0 || height == 0 ||
        !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    scaleLeft_ = x1;
    scaleTop_ = y1;
    scaleWidth_ = width;
    scaleHeight_ = height;
    return true;
}

std::optional<PictureBox::PixelBox> PictureBox::toPixels(float x1, float y1, float x2,
                                                         float y2) const
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return std::nullopt;
    // Pixels far outside the area are clamped so that huge coordinates never
    // reach integer conversion; an edge outside stays outside.
    const double limitX = width() + lineWidth;
    const double limitY = height() + lineWidth;
    auto column = [&](float x) {
        const double px = (double(x) - scaleLeft_) * width() / scaleWidth_;
        return static_cast<int>(std::floor(std::clamp(px, -double(lineWidth), limitX) + 0.5));
    };
    auto row = [&](float y) {
        const double py = (double(y) - scaleTop_) * height() / scaleHeight_;
        return static_cast<int>(std::floor(std::clamp(py, -double(lineWidth), limitY) + 0.5));
    };
    const int c1 = column(x1), c2 = column(x2), r1 = row(y1), r2 = row(y2);
    return PixelBox{std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
}

void PictureBox::fill(int left, int top, int right, int bottom, const QColor& color)
{
    matchImageToSize();
    const QRect area = QRect(QPoint(left, top), QPoint(right, bottom)) & rect();
    if (area.isEmpty())
        return;
    QPainter painter(&image_);
    painter.fillRect(area, color);
    update(area);
}

bool PictureBox::drawBox(float x1, float y1, float x2, float y2)
{
    const std::optional<PixelBox> box = toPixels(x1, y1, x2, y2);
    if (!box)
        return false;
    if (fillStyle_ == FillStyle::solid)
        fill(box->left, box->top, box->right, box->bottom, foreground_);
    // Each edge is a band lineWidth pixels wide, centred on the edge's pixel
    // line, so a degenerate box still shows as a line or a point.
    const int before = lineWidth / 2;
    const int after = lineWidth - before - 1;
    fill(box->left - before, box->top - before, box->right + after, box->top + after, foreground_);
    fill(box->left - before, box->bottom - before, box->right + after, box->bottom + after,
         foreground_);
    fill(box->left - before, box->top - before, box->left + after, box->bottom + after,
         foreground_);
    fill(box->right - before, box->top - before, box->right + after, box->bottom + after,
         foreground_);
    return true;
}

bool PictureBox::fillBox(float x1, float y1, float x2, float y2)
{
    const std::optional<PixelBox> box = toPixels(x1, y1, x2, y2);
    if (!box)
        return false;
    fill(box->left, box->top, box->right, box->bottom, foreground_);
    return true;
}

} // namespace ui
