#pragma once

// How the windows tell the user something went wrong: the words of a failure,
// the one colour of errors, and plain-text message boxes.

#include <exception>
#include <string>

#include <QColor>
#include <QMessageBox>
#include <QString>

class QWidget;

namespace ui {

// What a failure says to the user: the program's own errors carry their
// message; the standard library's names ("std::bad_alloc") mean nothing to an
// engineer.
std::string errorMessage(const std::exception& error);

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
