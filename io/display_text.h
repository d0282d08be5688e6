// Text from outside the program (the table file, folder and file names, what
// the user typed) prepared for the screen, the sheet and window titles.
#pragma once

#include <string_view>

#include <QString>
#include <QStringView>

namespace io {

enum class DisplayUse {
    name,        // a class name, a typed value or a path inside a sentence
    message,     // a whole message that carries such names
    windowTitle, // a window title, where Qt reads "[*]" as a placeholder
};

// One line that reads in the order it was written: direction controls shown
// as "<U+202E>", other control characters as "\x0A", NUL removed, and text
// longer than the use allows cut with "…", so no name can freeze a layout.
// A name or message prepared again stays as it is.
QString displayText(QStringView text, DisplayUse use = DisplayUse::name);
QString displayText(std::string_view utf8, DisplayUse use = DisplayUse::name);

} // namespace io
