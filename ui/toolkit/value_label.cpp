#include "ui/toolkit/value_label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>

namespace ui {

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ValueLabel::setValue(const QString& text)
{
    if (text == this->text())
        return;
    setText(text);
    setAccessibleDescription(text);
    measure();
}

void ValueLabel::setDetail(const QString& detail)
{
    if (detail == detail_)
        return;
    detail_ = detail;
    updateToolTip();
}

void ValueLabel::paintEvent(QPaintEvent* event)
{
    if (!elided_) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

void ValueLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    measure();
}

void ValueLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        advances_.clear();
        widths_.clear();
        measure();
    }
}

// An upper bound of the text's width from cached advances of its characters.
// Kerning moves a glyph by well under a pixel at these sizes, so a pixel a
// character of slack keeps it an upper bound; only a text near the edge is
// measured exactly, since shaping costs more than the rest of a keystroke's
// label work.
int ValueLabel::widthBound()
{
    int width = 0;
    const QFontMetrics metrics = fontMetrics();
    for (const QChar c : text()) {
        auto it = advances_.find(c.unicode());
        if (it == advances_.end())
            it = advances_.insert(c.unicode(), metrics.horizontalAdvance(c));
        width += *it + 1;
    }
    return width;
}

// A label near its edge cycles through a few texts (the verdicts): each is
// shaped once.
int ValueLabel::exactWidth()
{
    if (const auto it = widths_.constFind(text()); it != widths_.constEnd())
        return *it;
    if (widths_.size() >= 32)
        widths_.clear();
    return *widths_.insert(text(), fontMetrics().horizontalAdvance(text()));
}

// Once per new text, size or font, not per paint.
void ValueLabel::measure()
{
    const int available = contentsRect().width();
    const bool elided = widthBound() > available && exactWidth() > available;
    if (elided == elided_ && !elided)
        return;
    elided_ = elided;
    updateToolTip();
}

void ValueLabel::updateToolTip()
{
    QString tip = detail_;
    if (elided_)
        tip = detail_.isEmpty() ? text() : text() + QStringLiteral("\n\n") + detail_;
    tip = tip.isEmpty() ? QString() : plainToolTip(tip);
    if (toolTip() != tip)
        setToolTip(tip);
}

QString plainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace ui
