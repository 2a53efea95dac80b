#include "ui/TrafficDisplay.h"

#include <QFontMetrics>
#include <QHash>
#include <QLineEdit>

namespace TrafficDisplay {

namespace {

// The most characters the line can show at once: its width over the narrowest character that a
// reply or a server message can hold.
int visibleCharacters(const QLineEdit *display)
{
    static QHash<QString, int> narrowestByFont;
    const QFont font = display->font();
    auto found = narrowestByFont.constFind(font.key());
    if (found == narrowestByFont.cend()) {
        const QFontMetrics metrics(font);
        int narrowest = metrics.maxWidth();
        for (char16_t c = 0x20; c <= 0xFF; ++c) {
            if (QChar(c).isPrint())
                narrowest = qMin(narrowest, metrics.horizontalAdvance(QChar(c)));
        }
        found = narrowestByFont.insert(font.key(), qMax(1, narrowest));
    }
    return display->width() / found.value() + 2;
}

void show(QLineEdit *display, const QString &text)
{
    const int kept = qMin(Capacity, visibleCharacters(display));
    QString shown;
    if (text.size() >= kept) {
        shown = text.right(kept);
    } else {
        shown = display->text();
        shown.remove(0, qMax<qsizetype>(0, shown.size() + text.size() - kept));
        shown += text;
    }
    // A line edit cuts its text at maxLength from the end; the newest text must survive.
    if (display->maxLength() < Capacity)
        display->setMaxLength(Capacity);
    display->setText(shown);
    display->setCursorPosition(int(shown.size()));
}

} // namespace

void append(QLineEdit *display, const QString &text)
{
    show(display, text);
}

void clear(QLineEdit *display)
{
    display->clear();
}

} // namespace TrafficDisplay
