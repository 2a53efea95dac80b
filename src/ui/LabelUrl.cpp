#include "ui/LabelUrl.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

TLabelUrl::TLabelUrl(QWidget *parent) : QLabel(parent)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
    setText(QStringLiteral("Http://"));
    openUrl = [](const QString &url) { QDesktopServices::openUrl(QUrl::fromUserInput(url)); };
}

void TLabelUrl::setUrl(const QString &url)
{
    m_url = url;
    setText(url);
}

void TLabelUrl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        if (OnClick)
            OnClick();
        // The desktop's answer is not examined: no browser simply means nothing opens.
        if (openUrl)
            openUrl(m_url);
    }
    QLabel::mouseReleaseEvent(event);
}
