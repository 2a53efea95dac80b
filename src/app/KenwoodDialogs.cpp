#include "app/KenwoodDialogs.h"

#include "app/Station.h"
#include "core/Notifier.h"
#include "kenwood/MemoryExport.h"
#include "radio/Radio.h"
#include "ui/Captions.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>

KenwoodDialogs::KenwoodDialogs(Station &station) : m_station(station)
{
    Ui::TForm1 &ui = station.Form1->ui;
    chooseSaveFile = [this](const QString &defaultName) {
        return QFileDialog::getSaveFileName(m_station.Form1.get(), QString(),
                                            QDir(m_station.directory()).filePath(defaultName));
    };
    connect(ui.MenuMEM, &QAction::triggered, this, &KenwoodDialogs::MenuMEMClick);
    connect(ui.MenuSaveDTMF, &QAction::triggered, this, &KenwoodDialogs::MenuSaveDTMFClick);
    connect(ui.MenuTIMEROUTS, &QAction::triggered, this, &KenwoodDialogs::MenuTIMEROUTSClick);
    connect(ui.EditRI, &QLineEdit::textEdited, this, &KenwoodDialogs::EditRIChange);
    connect(ui.EditRM, &QLineEdit::textEdited, this, &KenwoodDialogs::EditRMChange);
    connect(ui.EditRC, &QLineEdit::textEdited, this, &KenwoodDialogs::EditRCChange);
    TFormMEM &mem = *station.FormMEM;
    mem.FormShow = [this] { FormMEMShow(); };
    connect(mem.ui.SpinEditMEM, &QSpinBox::valueChanged, this, &KenwoodDialogs::SpinEditMEMChange);
    connect(&station.radios, &RadioSelector::currentChanged, this, [this] {
        const Radio *radio = m_station.radios.current();
        if (radio->capabilities().memories)
            m_listedMemories = radio;
    });
}

void KenwoodDialogs::MenuMEMClick()
{
    m_station.FormMEM->show();
}

void KenwoodDialogs::FormMEMShow()
{
    TFormMEM &mem = *m_station.FormMEM;
    mem.move(m_station.Form1->pos() + QPoint(100, 40));
    applyCaptions(&mem, m_station.currentLanguage());
    // Showing the dialog must not change the count: a configured count outside the box's range
    // stays as it is until the operator changes the box.
    const QSignalBlocker blocker(mem.ui.SpinEditMEM);
    mem.ui.SpinEditMEM->setValue(m_station.state.NumberOfMemories);
}

void KenwoodDialogs::SpinEditMEMChange(int value)
{
    m_station.state.NumberOfMemories = value;
}

void KenwoodDialogs::MenuSaveDTMFClick()
{
    const QString path = chooseSaveFile(QString::fromLatin1(MemoryExport::DefaultFileName));
    if (path.isEmpty())
        return;
    const QStringList memories =
        m_listedMemories ? m_listedMemories->state().memories() : QStringList();
    const StationState &state = m_station.state;
    const QStringList lines = MemoryExport::lines(
        QDateTime::currentDateTime(), state.statusMessage(StatusMessage::DtmfCodesHeading),
        m_station.dtmfCodes.lines(), state.statusMessage(StatusMessage::MemoriesHeading), memories);
    QString error;
    if (!MemoryExport::write(path, MemoryExport::fileBytes(lines), &error))
        m_station.notifier().error(path + QStringLiteral(": ") + error);
}

void KenwoodDialogs::MenuTIMEROUTSClick()
{
    Ui::TForm1 &ui = m_station.Form1->ui;
    const SerialPortSettings &port = m_station.ComPortTX;
    for (QWidget *w : {static_cast<QWidget *>(ui.EditRI), static_cast<QWidget *>(ui.EditRM),
                       static_cast<QWidget *>(ui.EditRC), static_cast<QWidget *>(ui.LabelRI),
                       static_cast<QWidget *>(ui.LabelRM), static_cast<QWidget *>(ui.LabelRC)})
        w->show();
    ui.EditRI->setText(QString::number(port.readIntervalTimeout));
    ui.EditRM->setText(QString::number(port.readTotalMultiplier));
    ui.EditRC->setText(QString::number(port.readTotalConstant));
}

namespace {

void setFromText(int &setting, const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= 0)
        setting = value;
}

} // namespace

void KenwoodDialogs::EditRIChange(const QString &text)
{
    setFromText(m_station.ComPortTX.readIntervalTimeout, text);
}

void KenwoodDialogs::EditRMChange(const QString &text)
{
    setFromText(m_station.ComPortTX.readTotalMultiplier, text);
}

void KenwoodDialogs::EditRCChange(const QString &text)
{
    setFromText(m_station.ComPortTX.readTotalConstant, text);
}
