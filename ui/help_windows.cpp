#include "ui/help_windows.h"

#include <sqlite3.h>

#include <QAction>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "materials/shipped_table.h"

namespace ui {
namespace {

// A window of the program's help: a title, a layout and a Close button.
QDialog* helpWindow(const char* name, const QString& title, QWidget* parent)
{
    auto* window = new QDialog(parent);
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(title);
    new QVBoxLayout(window);
    return window;
}

void addCloseButton(QDialog* window)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::reject);
    window->layout()->addWidget(buttons);
}

QLabel* selectableLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

// xdg-open may run a browser in the foreground and end with it, long after
// the manual was shown; a failure to show it comes well before this.
constexpr qint64 openerFailureWithinMs = 10'000;

} // namespace

QDialog* makeShortcutsWindow(const QList<QAction*>& actions, QWidget* parent)
{
    QDialog* window = helpWindow("shortcutsWindow", QStringLiteral("Keyboard Shortcuts"), parent);
    auto* where = new QLabel(
        QStringLiteral("Right-click the main window outside a text box for these commands; "
                       "the shortcuts work from any control of the window."),
        window);
    where->setWordWrap(true);
    window->layout()->addWidget(where);
    auto* table = new QTableWidget(0, 2, window);
    table->setObjectName(QStringLiteral("shortcutsTbl"));
    table->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Shortcut")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (const QAction* action : actions) {
        if (action->isSeparator())
            continue;
        QString command = action->text();
        if (command.endsWith(QLatin1String("...")))
            command.chop(3);
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(command));
        table->setItem(row, 1,
                       new QTableWidgetItem(action->shortcut().toString(QKeySequence::NativeText)));
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    window->layout()->addWidget(table);
    addCloseButton(window);
    // Every row in view at first, where the screen allows.
    const int rows = table->verticalHeader()->length() + table->horizontalHeader()->height();
    window->resize(440, window->sizeHint().height() - table->sizeHint().height() + rows +
                            2 * table->frameWidth());
    return window;
}

QDialog* makeAboutWindow(const AboutFacts& facts, QWidget* parent)
{
    QDialog* window = helpWindow("aboutWindow", QStringLiteral("About Timber Joist"), parent);
    auto* name = new QLabel(QStringLiteral("Timber Joist Design to EC5"), window);
    QFont bigger = name->font();
    bigger.setBold(true);
    bigger.setPointSizeF(bigger.pointSizeF() * 1.4);
    name->setFont(bigger);
    window->layout()->addWidget(name);
    window->layout()->addWidget(selectableLabel(
        QStringLiteral("Version " JOIST_VERSION "\n"
                       "Checks a simply supported timber floor joist to Eurocode 5 "
                       "(EN 1995-1-1).\n\n"
                       "Copyright 2026 The timber-joist authors. Free software under the MIT "
                       "licence: you may use, copy, change and pass it on under its terms. It "
                       "comes with no warranty; check its results as you would any other "
                       "calculation."),
        window));

    auto* form = new QFormLayout;
    QString values =
        facts.edition.isEmpty()
            ? QStringLiteral("EN 338:2003, Table 1 (the table shipped with the program)")
            : facts.edition + QStringLiteral(" (a table shipped with the program)");
    if (!facts.shippedTable) {
        values =
            QString::fromStdString(materials::modifiedTableNotice(facts.tablePath.toStdString()));
        values[0] = values[0].toUpper();
    }
    QString qt = QString::fromLatin1(qVersion());
    if (qt != QLatin1String(QT_VERSION_STR))
        qt += QStringLiteral(" (built with " QT_VERSION_STR ")");
    const struct
    {
        const char* caption;
        QString value;
    } rows[] = {
        {"Strength-class table:", facts.tablePath},
        {"Edition:", facts.digest.empty() ? QStringLiteral("not read") : values},
        {"SHA-256:",
         facts.digest.empty() ? QStringLiteral("not read") : QString::fromStdString(facts.digest)},
        {"Qt:", qt},
        {"SQLite:", QString::fromLatin1(sqlite3_libversion())},
    };
    for (const auto& row : rows)
        form->addRow(QLatin1String(row.caption), selectableLabel(row.value, window));
    static_cast<QVBoxLayout*>(window->layout())->addLayout(form);
    addCloseButton(window);
    window->resize(std::max(window->sizeHint().width(), 560), window->sizeHint().height());
    return window;
}

QDialog* makeManualWindow(const QString& path, QWidget* parent)
{
    QDialog* window = helpWindow("manualWindow", QStringLiteral("Timber Joist Manual"), parent);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("manualBrowser"));
    browser->setSource(QUrl::fromLocalFile(path));
    window->layout()->addWidget(browser);
    addCloseButton(window);
    window->resize(760, 640);
    return window;
}

void openInBrowser(const QString& path, QObject* owner, std::function<void()> inOwnWindow)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            inOwnWindow();
        return;
    }
    // Qt's opener starts xdg-open detached and never learns that it found no
    // browser, so the program starts it itself.
    auto* process = new QProcess(owner);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels); // its words, as before
    QElapsedTimer started;
    started.start();
    QObject::connect(process, &QProcess::errorOccurred, owner,
                     [process, inOwnWindow](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return; // finished follows
                         process->deleteLater();
                         inOwnWindow();
                     });
    QObject::connect(process, &QProcess::finished, owner,
                     [process, inOwnWindow, started](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if ((status != QProcess::NormalExit || code != 0) &&
                             !started.hasExpired(openerFailureWithinMs))
                             inOwnWindow();
                     });
    process->start(opener, {path});
}

} // namespace ui
