#include "ui/KenwoodDialogs.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "dtmf/DtmfCodeList.h"
#include "kenwood/MemoryExport.h"
#include "platform/LinkSettings.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"
#include "ui/Captions.h"
#include "ui/UnitMEM.h"
#include "ui/UnitTMD700.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>

KenwoodDialogs::KenwoodDialogs(const Parts &parts) : m_parts(parts)
{
    Ui::TForm1 &ui = parts.mainWindow.ui;
    chooseSaveFile = [this](const QString &defaultName) {
        return QFileDialog::getSaveFileName(&m_parts.mainWindow, QString(),
                                            QDir(m_parts.directory).filePath(defaultName));
    };
    connect(ui.MenuMEM, &QAction::triggered, this, &KenwoodDialogs::MenuMEMClick);
    connect(ui.MenuSaveDTMF, &QAction::triggered, this, &KenwoodDialogs::MenuSaveDTMFClick);
    connect(ui.MenuTIMEROUTS, &QAction::triggered, this, &KenwoodDialogs::MenuTIMEROUTSClick);
    connect(ui.EditRI, &QLineEdit::textEdited, this, &KenwoodDialogs::EditRIChange);
    connect(ui.EditRM, &QLineEdit::textEdited, this, &KenwoodDialogs::EditRMChange);
    connect(ui.EditRC, &QLineEdit::textEdited, this, &KenwoodDialogs::EditRCChange);
    TFormMEM &mem = parts.memoryWindow;
    mem.FormShow = [this] { FormMEMShow(); };
    connect(mem.ui.SpinEditMEM, &QSpinBox::valueChanged, this, &KenwoodDialogs::SpinEditMEMChange);
    connect(&parts.radios, &RadioSelector::currentChanged, this, [this] {
        const Radio *radio = m_parts.radios.current();
        if (radio->capabilities().memories)
            m_listedMemories = radio;
    });
}

void KenwoodDialogs::MenuMEMClick()
{
    m_parts.memoryWindow.show();
}

void KenwoodDialogs::FormMEMShow()
{
    TFormMEM &mem = m_parts.memoryWindow;
    mem.move(m_parts.mainWindow.pos() + QPoint(100, 40));
    applyCaptions(&mem, m_parts.state.language);
    // Showing the dialog must not change the count: a configured count outside the box's range
    // stays as it is until the operator changes the box.
    const QSignalBlocker blocker(mem.ui.SpinEditMEM);
    mem.ui.SpinEditMEM->setValue(m_parts.state.NumberOfMemories);
}

void KenwoodDialogs::SpinEditMEMChange(int value)
{
    m_parts.state.NumberOfMemories = value;
}

void KenwoodDialogs::MenuSaveDTMFClick()
{
    const QString path = chooseSaveFile(QString::fromLatin1(MemoryExport::DefaultFileName));
    if (path.isEmpty())
        return;
    const QStringList memories =
        m_listedMemories ? m_listedMemories->state().memories() : QStringList();
    const StationState &state = m_parts.state;
    const QStringList lines = MemoryExport::lines(
        QDateTime::currentDateTime(), state.statusMessage(StatusMessage::DtmfCodesHeading),
        m_parts.dtmfCodes.lines(), state.statusMessage(StatusMessage::MemoriesHeading), memories);
    QString error;
    if (!MemoryExport::write(path, MemoryExport::fileBytes(lines), &error))
        m_parts.notifier.error(path + QStringLiteral(": ") + error);
}

void KenwoodDialogs::MenuTIMEROUTSClick()
{
    Ui::TForm1 &ui = m_parts.mainWindow.ui;
    const SerialPortSettings &port = m_parts.port;
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
    setFromText(m_parts.port.readIntervalTimeout, text);
}

void KenwoodDialogs::EditRMChange(const QString &text)
{
    setFromText(m_parts.port.readTotalMultiplier, text);
}

void KenwoodDialogs::EditRCChange(const QString &text)
{
    setFromText(m_parts.port.readTotalConstant, text);
}
