#pragma once

// A fixed-size window laid out in twips, with load and unload events.

#include <QString>
#include <QWidget>

namespace ui {

// A fixed-size top-level window with a load step before it is first shown and
// an unload step when it is closed. It has no owner and no minimise or
// maximise button; the close box stays.
class Form : public QWidget
{
public:
    Form(const QString& caption, int clientWidthTwips, int clientHeightTwips);

    bool isLoaded() const { return loaded_; }
    // Loads the window if it is not loaded, then shows it modeless and brings
    // it to the front. A load that throws leaves the window unloaded.
    void showModeless();
    // Hides the window; it stays loaded.
    void hideForm() { hide(); }
    // Runs the load step without showing the window.
    void ensureLoaded();

protected:
    virtual void load() {}
    virtual void unload() {}
    void closeEvent(QCloseEvent* event) override;

private:
    bool loaded_ = false;
};

} // namespace ui
