#include "app/HamlibWiring.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "hamlib/HamlibLink.h"
#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibOperations.h"
#include "hamlib/HamlibRadio.h"
#include "hamlib/HamlibTexts.h"
#include "radio/RadioSelector.h"
#include "ui/Captions.h"
#include "ui/HamlibSettingsWindow.h"
#include "ui/StationWindows.h"
#include "ui/StatusLines.h"
#include "ui/UnitHamlib.h"
#include "ui/UnitTMD700.h"

HamlibWiring::HamlibWiring(const RadioWiringParts &parts, const QStringList &serialPorts)
    : m_parts(parts), m_serialPorts(serialPorts), m_form(std::make_unique<TFormHamlib>()),
      m_radio(std::make_unique<HamlibRadio>(parts.state, parts.log))
{
    Ui::TForm1 &ui = parts.windows.Form1->ui;
    m_form->setObjectName(QStringLiteral("TFormHamlib"));
    parts.radios.add(HamlibRadio::ModelName.toString(), m_radio.get());
    connect(&parts.radios, &RadioSelector::currentChanged, this, &HamlibWiring::showModel);
    connect(&m_radio->state(), &RadioState::rigStatusChanged, this,
            [this] { StatusLines::showRig(m_parts.windows.Form1->ui.labelTMD, m_parts.state); });
    m_window = std::make_unique<HamlibSettingsWindow>(
        *m_form, [this](const QString &text) { m_parts.notifier.warning(text); },
        [this] { return m_parts.state.language; },
        [this](const HamlibSettings &chosen) { accept(chosen); });

    connect(ui.MenuHamlib, &QAction::triggered, this, &HamlibWiring::MenuHamlibClick);
    // Another model took over (the selector let the Hamlib radio go first).
    connect(ui.MenuHamlib, &QAction::toggled, this, [this](bool on) {
        if (!on)
            m_parts.windows.Form1->ui.MenuHamlib->setCheckable(false);
    });
    connect(ui.SpeedButtonInit, &QAbstractButton::clicked, m_radio.get(), &HamlibRadio::initialise);
    connect(m_radio.get(), &HamlibRadio::initialisationOver, this,
            &HamlibWiring::connectServerOnce);
    // The next radio's status is its own.
    connect(m_radio.get(), &HamlibRadio::panelLeft, this,
            [this] { m_parts.windows.Form1->ui.labelTMD->clear(); });
    connect(m_radio.get(), &HamlibRadio::settingsMissing, this, [this](const QString &text) {
        StatusLines::setColouredText(m_parts.windows.Form1->ui.labelTMD, text,
                                     StatusLines::Colour::Red);
    });
    connect(m_radio.get(), &HamlibRadio::linkStatusChanged, this, &HamlibWiring::showPort);
    // After the radio's own handling of a failure, so that a missing port is said in place of
    // the radio's silence.
    connect(&m_radio->link(), &HamlibLink::failed, this, [this] {
        const HamlibSettings &settings = m_radio->settings();
        if (HamlibModelList::portMissing(settings.model, settings.port))
            StatusLines::setColouredText(
                m_parts.windows.Form1->ui.labelTMD,
                HamlibTexts::missingPort(m_parts.state.language, settings.port),
                StatusLines::Colour::Red);
    });
}

void HamlibWiring::followBandChoice()
{
    if (m_radio->inUse())
        m_radio->operations().applyCapabilities();
}

HamlibWiring::~HamlibWiring()
{
    m_radio->close();
}

// The item is checkable only while Hamlib is the model: opening the window leaves the model in
// use (and its transmitter) alone until OK. The traffic line belongs to the Kenwood model's
// exchanges.
void HamlibWiring::showModel()
{
    if (!m_radio->inUse())
        return;
    Ui::TForm1 &ui = m_parts.windows.Form1->ui;
    ui.MenuHamlib->setCheckable(true);
    ui.MenuHamlib->setChecked(true);
    ui.LabelConnect->clear();
    ui.LabelConnect->setToolTip(QString());
    ui.EditTXdata->clear();
}

void HamlibWiring::MenuHamlibClick()
{
    m_form->move(m_parts.windows.Form1->pos() + QPoint(60, 40));
    applyCaptions(m_form.get(), m_parts.state.language);
    m_window->open(m_radio->settings(), m_serialPorts);
}

void HamlibWiring::accept(const HamlibSettings &chosen)
{
    m_radio->settings() = chosen;
    // A new radio or port: the one in use is unkeyed first, the panel with it.
    if (m_radio->inUse()) {
        m_radio->reopen();
        return;
    }
    // The radio in use is unkeyed, its scan stopped and its port closed before Hamlib may open
    // that port.
    m_parts.chooseModel(HamlibRadio::ModelName.toString());
}

// The radio's port, or the rigctld's address, in the port line at the top left; green while
// the link is open.
void HamlibWiring::showPort()
{
    QLineEdit *line = m_parts.windows.Form1->ui.LabelConnect;
    const HamlibRadio::LinkStatus status = m_radio->linkStatus();
    if (status == HamlibRadio::LinkStatus::None) {
        line->clear();
        line->setToolTip(QString());
        return;
    }
    const HamlibSettings &settings = m_radio->settings();
    const bool rigctld = settings.model == HamlibSettingsWindow::RigctldModelNumber;
    StatusLines::setPortText(line, rigctld ? QStringLiteral("rigctld ") : QString(), settings.port,
                             QString(),
                             status == HamlibRadio::LinkStatus::Open ? StatusLines::Colour::Green
                                                                     : StatusLines::Colour::Red);
}

// As with a Kenwood, the server connection at start waits for the radio's initialisation (or
// for the finding that there is no radio to initialise).
void HamlibWiring::connectServerOnce()
{
    if (m_serverConnectDone)
        return;
    m_serverConnectDone = true;
    emit serverMayConnect();
}
