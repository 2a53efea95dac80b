#pragma once

#include "ui_UnitTMD700.h"

#include <QMainWindow>
#include <functional>

// The main window; the station wires its handlers.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);

    Ui::TForm1 ui;

    std::function<void()> FormActivate; // every showing; start-up guards itself
    std::function<void()> FormClose;    // close box
    std::function<void()> FormClick;    // click on the free surface
    std::function<void(QChar)> FormKeyPress;

    // Hands the keyboard focus back to the window itself so the space bar reaches FormKeyPress.
    void releaseFocus();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
