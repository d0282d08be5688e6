#pragma once

// The program's settings file, $XDG_CONFIG_HOME/timber-joist/timber-joist.conf,
// in the INI text QSettings has always written there. Before it is read its
// path is checked like every file the program opens, and it is replaced only
// after a write whose flush succeeded, so that a full disk or a size limit
// keeps the old file as it was.

#include <memory>
#include <optional>
#include <string>

#include <QSettings>
#include <QString>

class QTemporaryDir;

namespace document {

QString programSettingsPath();

// The settings file, read and written as above, without the path check: for
// the command line and tests.
std::unique_ptr<QSettings> programSettings();

// The settings the main window keeps. When the file's path holds a folder, a
// pipe, a device or a link to one of those (or a file that cannot be read),
// it is left alone for the whole run: the settings start from the defaults
// and are kept in a private stand-in file, and `problem` names the file and
// says why.
struct ProgramSettings
{
    ProgramSettings();
    ProgramSettings(ProgramSettings&&) noexcept;
    ~ProgramSettings();

    std::unique_ptr<QTemporaryDir> standIn;
    std::unique_ptr<QSettings> settings;
    std::string problem;
};
ProgramSettings openProgramSettings();

// Writes the changes made so far; when the file cannot be replaced, why in
// words naming it (the old file is kept as it was).
std::optional<std::string> saveProgramSettings(QSettings& settings);

} // namespace document
