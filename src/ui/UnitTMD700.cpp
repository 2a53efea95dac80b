#include "ui/UnitTMD700.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

// The window keeps a fixed layout, so its font is given in pixels: the same on every screen
// resolution, and small enough for the whole menu bar to fit the window's width in both
// languages.
QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(11);
    return font;
}

} // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    ui.setupUi(this);
    setFont(windowFont());
    // Menus are windows of their own and do not take the main window's font by themselves.
    for (QMenu *menu : ui.MainMenu->findChildren<QMenu *>())
        menu->setFont(windowFont());
    ui.MainMenu->setStyleSheet(
        QStringLiteral("QMenuBar { spacing: 3px; } QMenuBar::item { padding: 2px 3px; }"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    // The status strip shows its whole text as a tool tip, under the line's own hint, for the
    // texts longer than the line.
    for (QLineEdit *status :
         {ui.LabelConnect, ui.labelTMD, ui.StaticTextIPConnect, ui.StaticTextDTMF}) {
        connect(status, &QLineEdit::textChanged, status,
                [status, hint = status->toolTip()](const QString &text) {
                    status->setToolTip(text.isEmpty() ? hint : hint + QLatin1Char('\n') + text);
                });
    }
    // Status and band displays are narrower than their longest texts: show where they begin
    // (port name, frequency, memory number) rather than where they end.
    for (QLineEdit *display :
         {ui.LabelConnect, ui.labelTMD, ui.StaticTextIPConnect, ui.StaticTextDTMF, ui.EditVFOA,
          ui.EditVFOB, ui.EditMEMA, ui.EditMEMB}) {
        // Queued: setText puts the cursor at the end after telling of the change.
        connect(
            display, &QLineEdit::textChanged, display, [display] { display->setCursorPosition(0); },
            Qt::QueuedConnection);
    }
    move(8, 2);
    setFocusPolicy(Qt::StrongFocus);
    // The hidden test items have no menu: they live on the window so their shortcuts work.
    addAction(ui.MenuSimuDTMF);
    addAction(ui.menusimuFreq);
    addAction(ui.MenuTIMEROUTS);
    // Radio items: one model, one band choice, one language at a time.
    for (const QList<QAction *> &items :
         {QList<QAction *>{ui.MenuTX16UD, ui.menuTMD700, ui.MenuTMD710, ui.MenuTMV71,
                           ui.MenuHamlib},
          QList<QAction *>{ui.MenuChoixTXA, ui.MenuChoixTXB, ui.MenuChoixTXAB},
          QList<QAction *>{ui.menuEnglish, ui.MenuFrancais}}) {
        auto *group = new QActionGroup(this);
        for (QAction *item : items)
            group->addAction(item);
    }
}

void TForm1::releaseFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Run after the window is on screen; works without a window manager, where no activation
    // event would ever come.
    QTimer::singleShot(0, this, [this] {
        if (FormActivate)
            FormActivate();
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Closing runs the same sequence as "Quitter", which ends the process itself.
    event->ignore();
    if (FormClose)
        FormClose();
}

void TForm1::mousePressEvent(QMouseEvent *event)
{
    if (FormClick)
        FormClick();
    QMainWindow::mousePressEvent(event);
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    if (!event->text().isEmpty() && FormKeyPress)
        FormKeyPress(event->text().at(0));
    QMainWindow::keyPressEvent(event);
}
