#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How the station reads each line of a configuration file, for a sysop who wrote it by hand:
// which keys it takes, and why it ignores the others. The values are judged by the same rules
// the start-up's reader applies.
namespace ConfigCheck {

struct Verdict
{
    int lineNumber = 0; // from 1
    QString text;       // the line as written
    bool taken = false;
    QString why; // why it is ignored; empty when taken
};

// One verdict per line that says something (the header and empty lines say nothing).
QList<Verdict> judge(const QStringList &lines);

// The model names MODEL= takes.
QStringList modelNames();

} // namespace ConfigCheck
