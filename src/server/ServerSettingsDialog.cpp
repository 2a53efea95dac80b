#include "server/ServerSettingsDialog.h"

#include "core/Notifier.h"
#include "platform/LinkSettings.h"
#include "server/ServerAddress.h"

ServerSettingsDialog::ServerSettingsDialog(TcpClientSettings &settings, int &txTimeoutSeconds,
                                           Notifier &notifier, std::function<Language()> language,
                                           ServerDialogFields &fields)
    : m_settings(settings), m_txTimeoutSeconds(txTimeoutSeconds), m_notifier(notifier),
      m_language(std::move(language)), m_fields(fields)
{
}

void ServerSettingsDialog::FormShow()
{
    ButtonlangueClick();
    m_fields.showError(QString());
    m_fields.setPortText(QString::number(m_settings.port));
    m_fields.setHostParts(ServerAddress::splitHost(m_settings.host));
    m_fields.setTxTimeoutSeconds(m_txTimeoutSeconds);
}

bool ServerSettingsDialog::FormClose()
{
    const auto endpoint = ServerAddress::parse(m_fields.hostParts(), m_fields.portText());
    if (!endpoint) {
        m_notifier.beep();
        m_fields.showError(messageText(m_language(), MessageId::ServerFormatError));
        return false;
    }
    m_settings.port = endpoint->port;
    m_settings.host = endpoint->host;
    m_txTimeoutSeconds = m_fields.txTimeoutSeconds();
    return true;
}

void ServerSettingsDialog::ButtonlangueClick()
{
    m_fields.relabel(m_language());
}
