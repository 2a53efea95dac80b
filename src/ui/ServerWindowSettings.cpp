#include "ui/ServerWindowSettings.h"

#include "ui/Captions.h"
#include "ui/UnitIP.h"

bool ServerWindowSettings::connectAtStart() const
{
    return m_form.ui.CheckBoxConnect->isChecked();
}

void ServerWindowSettings::setConnectAtStart(bool on)
{
    m_form.ui.CheckBoxConnect->setChecked(on);
}

bool ServerWindowSettings::reconnect() const
{
    return m_form.ui.CheckBoxReconnect->isChecked();
}

void ServerWindowSettings::setReconnect(bool on)
{
    m_form.ui.CheckBoxReconnect->setChecked(on);
}

AudioChannel ServerWindowSettings::audioChannel() const
{
    if (m_form.ui.RadioButtonLeft->isChecked())
        return AudioChannel::Left;
    return m_form.ui.RadioButtonBoth->isChecked() ? AudioChannel::Both : AudioChannel::Right;
}

void ServerWindowSettings::setAudioChannel(AudioChannel channel)
{
    switch (channel) {
    case AudioChannel::Left:
        m_form.ui.RadioButtonLeft->setChecked(true);
        break;
    case AudioChannel::Right:
        m_form.ui.RadioButtonRight->setChecked(true);
        break;
    case AudioChannel::Both:
        m_form.ui.RadioButtonBoth->setChecked(true);
        break;
    }
}

QStringList ServerWindowSettings::hostParts() const
{
    const Ui::TFormIP &ui = m_form.ui;
    return {ui.EditIP1->text(), ui.EditIP2->text(), ui.EditIP3->text(), ui.EditIP4->text()};
}

void ServerWindowSettings::setHostParts(const QStringList &parts)
{
    const Ui::TFormIP &ui = m_form.ui;
    const std::array<QLineEdit *, 4> edits{ui.EditIP1, ui.EditIP2, ui.EditIP3, ui.EditIP4};
    for (std::size_t n = 0; n < edits.size(); ++n)
        edits[n]->setText(parts.value(qsizetype(n)));
}

QString ServerWindowSettings::portText() const
{
    return m_form.ui.EditPort->text();
}

void ServerWindowSettings::setPortText(const QString &port)
{
    m_form.ui.EditPort->setText(port);
}

int ServerWindowSettings::txTimeoutSeconds() const
{
    return m_form.ui.SpinEditTxTimeout->value();
}

void ServerWindowSettings::setTxTimeoutSeconds(int seconds)
{
    m_form.ui.SpinEditTxTimeout->setValue(seconds);
}

void ServerWindowSettings::showError(const QString &message)
{
    m_form.ui.LabelErreur->setText(message);
}

void ServerWindowSettings::relabel(Language language)
{
    applyCaptions(&m_form, language);
}
