#pragma once

#include <QHash>
#include <QLabel>
#include <QString>

namespace ui {

// A label that shows a value: its text is always the whole value (readInputs
// reads material values from it), but a value wider than the label is drawn
// cut with an ellipsis ("5.26…"), never cut silently, and the whole value is
// then said first in the tooltip. The accessible description is the whole
// value, so that a screen reader says caption and value.
class ValueLabel : public QLabel
{
public:
    explicit ValueLabel(QWidget* parent = nullptr);

    void setValue(const QString& text);
    // What the tooltip explains beyond the value itself (the working).
    void setDetail(const QString& detail);
    bool elided() const { return elided_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int widthBound();
    int exactWidth();
    void measure();
    void updateToolTip();

    QHash<char16_t, int> advances_; // for the label's font
    QHash<QString, int> widths_;
    QString detail_;
    bool elided_ = false;
};

// Qt reads a tooltip as rich text when it looks like markup; text from the
// file, the path or the user must show as it is.
QString plainToolTip(const QString& text);

} // namespace ui
