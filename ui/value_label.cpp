#include "ui/value_label.h"

#include <QPainter>
#include <QStyle>

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
    updateToolTip();
}

void ValueLabel::setDetail(const QString& detail)
{
    if (detail == detail_)
        return;
    detail_ = detail;
    updateToolTip();
}

bool ValueLabel::elided() const
{
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

void ValueLabel::paintEvent(QPaintEvent* event)
{
    if (!elided()) {
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
    updateToolTip();
}

void ValueLabel::updateToolTip()
{
    QString tip = detail_;
    if (elided())
        tip = detail_.isEmpty() ? text() : text() + QStringLiteral("\n\n") + detail_;
    tip = tip.isEmpty() ? QString() : plainToolTip(tip);
    if (toolTip() != tip)
        setToolTip(tip);
}

QString plainToolTip(const QString& text)
{
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace ui
