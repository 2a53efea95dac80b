#pragma once

#include <QDialog>
#include <functional>

// A dialog whose opening and closing its owner can handle. FormClose returns false to keep the
// window open; it runs for the close box and for Escape alike.
class EventDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    std::function<void()> FormShow;
    std::function<bool()> FormClose;

    void reject() override;

signals:
    // Opened or closed (not minimised or restored).
    void openChanged(bool open);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
