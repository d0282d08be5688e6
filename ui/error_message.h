#pragma once

// How the windows tell the user something went wrong: the one colour of
// errors, and plain-text message boxes (the words of a failure are
// io/failure_words.h).

#include <QColor>
#include <QMessageBox>
#include <QString>

class QWidget;

namespace ui {

// Messages, refused text boxes and out-of-date notes: dark red, 5.9:1 on the
// window's grey.
inline const QColor errorColour{0xc0, 0x00, 0x00};

// Draws a label's text in the error colour.
void showInErrorColour(QWidget* label);

// A message box whose text is always plain and prepared for display: paths
// and names from files are never read as markup nor reorder the text. With a parent it opens
// window-modal and deletes itself; without one the caller runs it.
QMessageBox* plainMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                             QWidget* parent = nullptr);

} // namespace ui
