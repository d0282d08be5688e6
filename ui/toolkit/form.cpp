#include "ui/toolkit/form.h"

#include <QCloseEvent>
#include <QIcon>

#include "ui/toolkit/twips.h"

namespace ui {

Form::Form(const QString& caption, int clientWidthTwips, int clientHeightTwips)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(caption);
    setWindowIcon(QIcon(QStringLiteral(":/joist/icon.png")));
    setFixedSize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
}

void Form::ensureLoaded()
{
    if (loaded_)
        return;
    load();
    loaded_ = true;
}

void Form::showModeless()
{
    ensureLoaded();
    show();
    raise();
    activateWindow();
}

void Form::closeEvent(QCloseEvent* event)
{
    if (loaded_) {
        loaded_ = false;
        unload();
    }
    event->accept();
}

} // namespace ui
