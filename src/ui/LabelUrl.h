#pragma once

#include <QLabel>
#include <functional>

// A label that opens its address with the desktop's handler when clicked.
class TLabelUrl : public QLabel
{
    Q_OBJECT
public:
    explicit TLabelUrl(QWidget *parent = nullptr);

    QString Url() const { return m_url; }
    void setUrl(const QString &url);

    // The owner's own click handler, run before the address is opened.
    std::function<void()> OnClick;

    // Opens an address; replaceable so tests need no browser.
    std::function<void(const QString &)> openUrl;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_url;
};
