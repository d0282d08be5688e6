#pragma once

// A label that shows a value and never cuts it silently.

#include <array>
#include <functional>

#include <QHash>
#include <QLabel>
#include <QString>

#include "io/display_text.h"

namespace ui {

// A label that shows a value: value() is always the whole value (readInputs
// reads material values from it), its text the value prepared for display
// (it may come from the file). A text wider than the label is drawn shorter,
// never cut silently: a number first loses significant digits but keeps its
// magnitude ("6.57e+09" for 6.571746e+09), anything else is cut with an
// ellipsis ("C24 (sawn…"), and the text is then said first in the tooltip.
// The accessible description is the text, so that a screen reader says
// caption and value.
class ValueLabel : public QLabel
{
public:
    explicit ValueLabel(QWidget* parent = nullptr);

    void setValue(const QString& value);
    const QString& value() const { return value_; }
    // A numeric label shortens a number to fewer digits before it cuts it.
    void setNumeric(bool numeric) { numeric_ = numeric; }
    // A message line holds longer text than a value.
    void setDisplayUse(io::DisplayUse use) { use_ = use; }
    // What the tooltip explains beyond the value itself (the working).
    void setDetail(const QString& detail);
    bool elided() const { return elided_; }
    // What the label draws: the value, or its shortened form.
    QString shownText() const { return elided_ ? shown_ : text(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int widthBound();
    int exactWidth();
    void measure();
    void updateToolTip();

    std::array<int, 256> latinAdvances_{}; // for the label's font; 0 until measured
    QHash<char16_t, int> otherAdvances_;
    QHash<QString, int> widths_;
    QString value_;
    io::DisplayUse use_ = io::DisplayUse::name;
    QString detail_;
    QString shown_; // what is drawn while elided
    bool elided_ = false;
    bool numeric_ = false;
};

// A number's text with fewer significant digits in exponent form that fits
// `fits`, or an empty text when the text is no number or nothing fits. The
// text's own decimal separator is kept, or `separator` used when it has none.
QString shortenedNumber(const QString& text, QChar separator,
                        const std::function<bool(const QString&)>& fits);

// Qt reads a tooltip as rich text when it looks like markup; text from the
// file, the path or the user must show as it is.
QString plainToolTip(const QString& text);

} // namespace ui
