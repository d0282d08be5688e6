#include "ui/toolkit/value_label.h"

#include <optional>

#include <QEvent>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QTextDocument>

namespace ui {

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ValueLabel::setValue(const QString& value)
{
    if (value == value_)
        return;
    value_ = value;
    const QString shown = io::displayText(value, use_);
    setText(shown);
    setAccessibleDescription(shown);
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
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(),
                          shown_, foregroundRole());
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
        latinAdvances_.fill(0);
        otherAdvances_.clear();
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
    std::optional<QFontMetrics> metrics; // made only for a character not seen yet
    auto advance = [&](QChar c) {
        if (!metrics)
            metrics.emplace(font());
        return metrics->horizontalAdvance(c);
    };
    for (const QChar c : text()) {
        if (c.unicode() < latinAdvances_.size()) {
            int& known = latinAdvances_[c.unicode()];
            if (known == 0)
                known = advance(c) + 1;
            width += known;
        } else {
            auto it = otherAdvances_.find(c.unicode());
            if (it == otherAdvances_.end())
                it = otherAdvances_.insert(c.unicode(), advance(c) + 1);
            width += *it;
        }
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
    if (elided) {
        const QFontMetrics metrics = fontMetrics();
        const auto fits = [&](const QString& shorter) {
            return metrics.horizontalAdvance(shorter) <= available;
        };
        shown_ =
            numeric_ ? shortenedNumber(text(), locale().decimalPoint().front(), fits) : QString();
        if (shown_.isEmpty())
            shown_ = metrics.elidedText(text(), Qt::ElideRight, available);
    }
    updateToolTip();
}

QString shortenedNumber(const QString& text, QChar separator,
                        const std::function<bool(const QString&)>& fits)
{
    // A sign, digits, at most one separator of any kind, digits, an exponent.
    static const QRegularExpression number(
        QStringLiteral("^(-?)(\\d+)(?:([^\\de+-])(\\d*))?(?:e([+-]?\\d+))?$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return {};
    const QString own = match.captured(3);
    bool ok = false;
    const double value =
        (match.captured(1) + match.captured(2) + QLatin1Char('.') + match.captured(4) +
         (match.hasCaptured(5) ? QLatin1Char('e') + match.captured(5) : QString()))
            .toDouble(&ok);
    if (!ok)
        return {};
    for (int digits = 6; digits >= 1; --digits) {
        QString shorter = QString::number(value, 'e', digits - 1);
        shorter.replace(QLatin1Char('.'), own.isEmpty() ? QString(separator) : own);
        if (fits(shorter))
            return shorter;
    }
    return {};
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
