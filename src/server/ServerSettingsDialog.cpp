#include "server/ServerSettingsDialog.h"

#include "core/Notifier.h"
#include "platform/LinkSettings.h"
#include "server/ServerAddress.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>

ServerSettingsDialog::ServerSettingsDialog(TcpClientSettings &settings, int &txTimeoutSeconds,
                                           Notifier &notifier, std::function<Language()> language,
                                           const ServerDialogControls &controls)
    : m_settings(settings), m_txTimeoutSeconds(txTimeoutSeconds), m_notifier(notifier),
      m_language(std::move(language)), m_controls(controls)
{
    // Typing is limited to three characters per part, but a host name read from the
    // configuration must still show whole, which a length limit on the edit would cut.
    const QRegularExpression threeCharacters(QStringLiteral(".{0,3}"));
    for (QLineEdit *edit :
         {m_controls.EditIP1, m_controls.EditIP2, m_controls.EditIP3, m_controls.EditIP4}) {
        edit->setMaxLength(32767);
        edit->setValidator(new QRegularExpressionValidator(threeCharacters, edit));
    }
}

void ServerSettingsDialog::FormShow()
{
    ButtonlangueClick();
    m_controls.LabelErreur->clear();
    m_controls.EditPort->setText(QString::number(m_settings.port));
    const QStringList parts = ServerAddress::splitHost(m_settings.host);
    m_controls.EditIP1->setText(parts.at(0));
    m_controls.EditIP2->setText(parts.at(1));
    m_controls.EditIP3->setText(parts.at(2));
    m_controls.EditIP4->setText(parts.at(3));
    m_controls.SpinEditTxTimeout->setValue(m_txTimeoutSeconds);
}

bool ServerSettingsDialog::FormClose()
{
    const QStringList parts{m_controls.EditIP1->text(), m_controls.EditIP2->text(),
                            m_controls.EditIP3->text(), m_controls.EditIP4->text()};
    const auto endpoint = ServerAddress::parse(parts, m_controls.EditPort->text());
    if (!endpoint) {
        m_notifier.beep();
        m_controls.LabelErreur->setText(messageText(m_language(), MessageId::ServerFormatError));
        return false;
    }
    m_settings.port = endpoint->port;
    m_settings.host = endpoint->host;
    m_txTimeoutSeconds = m_controls.SpinEditTxTimeout->value();
    return true;
}

void ServerSettingsDialog::ButtonlangueClick()
{
    if (m_controls.relabel)
        m_controls.relabel(m_language());
}
