#include "ui/ReadOnlyNotice.h"

#include "ui/StatusLines.h"

#include <QLineEdit>

ReadOnlyNotice::ReadOnlyNotice(QLineEdit *line, std::function<Language()> language, QObject *parent)
    : QObject(parent), m_line(line), m_language(std::move(language)),
      m_lineStyle(line->styleSheet())
{
    connect(m_line, &QLineEdit::textChanged, this, &ReadOnlyNotice::textChanged);
}

QString ReadOnlyNotice::text() const
{
    return messageText(m_language(), MessageId::SettingsNotSaved);
}

void ReadOnlyNotice::show()
{
    m_shown = true;
    StatusLines::setColouredText(m_line, text(), StatusLines::Colour::Red);
}

void ReadOnlyNotice::redraw()
{
    if (!m_shown)
        return;
    for (Language language : {Language::French, Language::English}) {
        if (m_line->text() == messageText(language, MessageId::SettingsNotSaved))
            m_line->setText(text());
    }
}

void ReadOnlyNotice::textChanged(const QString &text)
{
    if (!m_shown)
        return;
    if (text.isEmpty()) {
        // After whatever emptied the line has finished with it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_line->text().isEmpty())
                    show();
            },
            Qt::QueuedConnection);
        return;
    }
    for (Language language : {Language::French, Language::English}) {
        if (text == messageText(language, MessageId::SettingsNotSaved))
            return;
    }
    // A DTMF entry in the line's own colours, not in the notice's red.
    setStyle(m_lineStyle);
}

void ReadOnlyNotice::setStyle(const QString &style)
{
    // Only on a change: a style sheet set anew gives the line a new palette at each paint.
    if (m_line->styleSheet() != style)
        m_line->setStyleSheet(style);
}
