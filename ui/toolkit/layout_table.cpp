#include "ui/toolkit/layout_table.h"

#include <algorithm>

#include <QFontInfo>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/fonts.h"
#include "ui/toolkit/picture_box.h"
#include "ui/toolkit/twips.h"
#include "ui/toolkit/value_label.h"

namespace ui {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    // Plain text always: a class name from the database must never be read as
    // markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The Symbol font draws Latin letters as Greek ones ("r" is rho). Where it is
// absent, the Unicode letter stands in.
QLabel* makeSymbolLabel(QWidget* parent, const QString& symbolText)
{
    QFont symbol(QStringLiteral("Symbol"), 11);
    symbol.setPointSizeF(11.25);
    const bool haveSymbol = QFontInfo(symbol).family() == QStringLiteral("Symbol");
    static const QHash<QString, QString> greek{{QStringLiteral("r"), QStringLiteral("\u03C1")}};
    QLabel* label =
        makeLabel(parent, haveSymbol ? symbolText : greek.value(symbolText, symbolText));
    if (haveSymbol) {
        label->setFont(symbol);
    } else {
        QFont font = standardFont();
        font.setPointSizeF(11.25);
        label->setFont(font);
    }
    return label;
}

QWidget* makeControl(QWidget* parent, ControlKind kind, const QString& text)
{
    switch (kind) {
    case ControlKind::label:
        return makeLabel(parent, text);
    case ControlKind::valueLabel:
        return new ValueLabel(parent);
    case ControlKind::boldValueLabel: {
        auto* label = new ValueLabel(parent);
        label->setFont(boldCaptionFont());
        return label;
    }
    case ControlKind::boldLabel: {
        QLabel* label = makeLabel(parent, text);
        label->setFont(boldCaptionFont());
        return label;
    }
    case ControlKind::symbolLabel:
        return makeSymbolLabel(parent, text);
    case ControlKind::textBox:
        return new QLineEdit(text, parent);
    case ControlKind::dropDownList: {
        auto* list = new DropDownList(parent);
        if (!text.isEmpty())
            list->setItems(text.split(QLatin1Char('|')));
        return list;
    }
    case ControlKind::commandButton:
        return new QPushButton(text, parent);
    case ControlKind::line: {
        auto* line = new QFrame(parent);
        line->setFrameStyle(QFrame::HLine | QFrame::Plain);
        line->setLineWidth(1);
        return line;
    }
    case ControlKind::image: {
        QLabel* image = makeLabel(parent, QString());
        // Through QIcon Qt takes the "@2x" file on a scaled screen, so the
        // picture stays sharp at its natural size.
        image->setPixmap(QIcon(text).pixmap(QImageReader(text).size()));
        return image;
    }
    case ControlKind::pictureBox:
        return new PictureBox(parent);
    case ControlKind::panel: {
        auto* panel = new QFrame(parent);
        panel->setAutoFillBackground(true);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, Qt::white);
        panel->setPalette(palette);
        return panel;
    }
    }
    return nullptr;
}

} // namespace

QWidget* createControl(QWidget* parent, std::string_view name, ControlKind kind, QRect twips,
                       std::string_view text)
{
    QWidget* widget = makeControl(parent, kind, QString::fromUtf8(text));
    if (!name.empty())
        widget->setObjectName(QString::fromUtf8(name));
    QRect geometry = twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
    if (kind == ControlKind::line)
        geometry.setHeight(1);
    if (kind == ControlKind::image && !static_cast<QLabel*>(widget)->pixmap().isNull())
        geometry.setSize(static_cast<QLabel*>(widget)->pixmap().deviceIndependentSize().toSize());
    // A caption keeps its whole text at every scale factor and font: the
    // measured text, not the twips width, decides.
    if (kind == ControlKind::label || kind == ControlKind::boldLabel ||
        kind == ControlKind::symbolLabel)
        geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace ui
