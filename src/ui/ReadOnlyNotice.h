#pragma once

#include "core/LanguageTexts.h"

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

// "Settings will not be saved" in red on the server information line, for a station whose
// folder cannot be written: it runs on the configuration found there, and the operator must
// know that nothing changed will last. The line also shows the DTMF entry; whenever that is
// emptied the notice comes back, so it stays in sight for as long as the program runs.
class ReadOnlyNotice : public QObject
{
    Q_OBJECT
public:
    ReadOnlyNotice(QLineEdit *line, std::function<Language()> language, QObject *parent = nullptr);

    void show();
    // The language changed: the notice, when on the line, in the new one.
    void redraw();

private:
    void textChanged(const QString &text);
    QString text() const;
    void setStyle(const QString &style);

    QLineEdit *m_line;
    std::function<Language()> m_language;
    QString m_lineStyle; // the line's own colours, for the DTMF entry
    bool m_shown = false;
};
