#pragma once

// The help the context menu offers: the list of keyboard shortcuts, the
// About window, and the manual in a window of its own where the desktop has
// no browser. Each is an ordinary resizable Qt window that Esc closes.

#include <functional>
#include <string>

#include <QList>
#include <QString>

class QAction;
class QDialog;
class QObject;
class QWidget;

namespace ui {

// One row per action, in menu order, with its shortcut; separators and
// submenus' contents left out. Made from the actions themselves, so the list
// is the menu's.
QDialog* makeShortcutsWindow(const QList<QAction*>& actions, QWidget* parent);

// What the About window says of the program beside its version and licence.
struct AboutFacts
{
    QString tablePath;   // the strength-class table in use
    std::string digest;  // its SHA-256, empty when it was not read
    bool shippedTable{}; // the digest is the shipped table's
    QString edition;     // of a shipped table other than ZU5ZO.mdb, else empty
};
QDialog* makeAboutWindow(const AboutFacts& facts, QWidget* parent);

// The HTML manual at `path`, shown in a plain window.
QDialog* makeManualWindow(const QString& path, QWidget* parent);

// Opens the manual at `path` in the desktop's browser and returns at once:
// xdg-open is started and watched, and where it fails (a non-zero exit soon
// after its start, or none at all) `inOwnWindow` runs. Without xdg-open Qt's
// own opener is asked, and `inOwnWindow` runs where it has none.
void openInBrowser(const QString& path, QObject* owner, std::function<void()> inOwnWindow);

} // namespace ui
