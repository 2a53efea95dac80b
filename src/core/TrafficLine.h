#pragma once

#include <QObject>
#include <QString>

// The traffic as it goes by: the radio's replies and the server's messages, for the window's
// traffic line. Nothing is kept here and nobody reads it back.
class TrafficLine : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void append(const QString &text) { emit appended(text); }
    void clear() { emit cleared(); }

signals:
    void appended(const QString &text);
    void cleared();
};
