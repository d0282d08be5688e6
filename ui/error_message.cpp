#include "ui/error_message.h"

#include <QPalette>
#include <QWidget>

#include "io/display_text.h"

namespace ui {

void showInErrorColour(QWidget* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, errorColour);
    label->setPalette(palette);
}

QMessageBox* plainMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                             QWidget* parent)
{
    auto* box = new QMessageBox(icon, title, io::displayText(text, io::DisplayUse::message),
                                QMessageBox::Ok, parent);
    box->setTextFormat(Qt::PlainText);
    if (parent) {
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    return box;
}

} // namespace ui
