#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// The two languages of the user interface. French is the design-time language.
enum class Language { French, English };

// One text that the language switch puts on a control of a window.
struct CaptionRow
{
    QString window;      // object name of the window ("TForm1", "TFormIP"...)
    QString control;     // object name of the control; the window's own name for the window itself
    QByteArray property; // Qt property that receives the text: "text", "title", "windowTitle"
    QString text;        // exactly as the program shows it, with "&&" for a literal "&"
};

// Texts shown in message boxes and labels that are not captions of a control.
enum class MessageId {
    DtmfCodeExists,              // same code already in the table, asks to replace it
    DtmfExistingCodeStartsAlike, // an existing code begins with the new code
    DtmfNewCodeStartsAlike,      // the new code begins with an existing code
    DtmfCodeMustEndIn01,         // memory actions need a code ending in 0 or 1
    DtmfCodeMustEndIn45,         // the frequency action needs a code ending in 4 or 5
    ServerFormatError,           // a non-numeric address part or port in the server dialog
    LptNotChosen,                // OK in the generic transmitter setup without a port
    ChannelRowFormatError,       // bad frequency or comment in the channel grid
    LptNumberError,              // the chosen parallel port has address 0
    HelpNotOpened,               // no program opened the help page; its file's path follows
    SettingsNotSaved,            // the configuration's folder is read-only (a status line)
    LptPortMissing,              // a port choice of the generic setup that the machine lacks
    LinesDeviceMissing,          // OK in the generic setup with USB or GPIO lines but no device
    LinesMapError,               // OK in the generic setup with a pin map that does not fit
};

// Every caption the language switch sets, one row per (window, control, property).
const QList<CaptionRow> &captionTable(Language language);

// The status and error texts, indices 1 to 15; index 0 is unused and empty.
std::array<QString, 16> statusMessages(Language language);

QString messageText(Language language, MessageId id);

// The text a caption shows once mnemonic markup is resolved: "&&" becomes "&" and a single "&"
// before a character disappears. Used for plain labels, which show "&" literally.
QString withoutMnemonics(const QString &caption);
