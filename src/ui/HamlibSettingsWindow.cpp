#include "ui/HamlibSettingsWindow.h"

#include "hamlib/HamlibConfigKeys.h"
#include "hamlib/HamlibModelList.h"
#include "hamlib/HamlibTexts.h"
#include "platform/LinkSettings.h"
#include "ui/UnitHamlib.h"

namespace {

constexpr int Speeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr char DefaultRigctld[] = "127.0.0.1:4532";

} // namespace

HamlibSettingsWindow::HamlibSettingsWindow(TFormHamlib &form,
                                           std::function<void(const QString &)> warn,
                                           std::function<Language()> language,
                                           std::function<void(const HamlibSettings &)> accepted)
    : m_form(form), m_warn(std::move(warn)), m_language(std::move(language)),
      m_accepted(std::move(accepted))
{
    Ui::TFormHamlib &ui = form.ui;
    for (const HamlibModel &model : HamlibModelList::all()) {
        auto *item = new QListWidgetItem(model.label(), ui.ListModels);
        item->setData(Qt::UserRole, model.number);
    }
    ui.ComboBoxSpeed->addItem(QString());
    for (int speed : Speeds)
        ui.ComboBoxSpeed->addItem(QString::number(speed));
    connect(ui.EditSearch, &QLineEdit::textChanged, this, &HamlibSettingsWindow::EditSearchChange);
    connect(ui.ButtonOK, &QPushButton::clicked, this, &HamlibSettingsWindow::ButtonOKClick);
    connect(ui.ButtonCancel, &QPushButton::clicked, &form, &QDialog::reject);
    connect(ui.RadioButtonSerial, &QRadioButton::toggled, this, &HamlibSettingsWindow::showChoice);
    // Typing in the list jumps to the search field, so the operator can just type a name.
    ui.EditSearch->setFocus();
}

void HamlibSettingsWindow::open(const HamlibSettings &settings, const QStringList &ports)
{
    Ui::TFormHamlib &ui = m_form.ui;
    ui.EditSearch->clear();
    ui.ComboBoxPort->clear();
    ui.ComboBoxPort->addItems(ports);
    const bool rigctld = settings.model == RigctldModelNumber;
    ui.RadioButtonRigctld->setChecked(rigctld);
    ui.RadioButtonSerial->setChecked(!rigctld);
    // rigctld's own default address, ready to take: the field holds a value, never a hint that
    // looks like one.
    ui.EditRigctld->setText(rigctld ? settings.port : QString::fromLatin1(DefaultRigctld));
    ui.ComboBoxPort->setCurrentText(rigctld ? QString() : settings.port);
    ui.ComboBoxSpeed->setCurrentText(settings.speed > 0 ? QString::number(settings.speed)
                                                        : QString());
    selectModel(rigctld ? 0 : settings.model);
    showChoice();
    m_form.show();
    m_form.raise();
}

void HamlibSettingsWindow::showChoice()
{
    Ui::TFormHamlib &ui = m_form.ui;
    const bool serial = ui.RadioButtonSerial->isChecked();
    for (QWidget *w :
         {static_cast<QWidget *>(ui.ListModels), static_cast<QWidget *>(ui.EditSearch),
          static_cast<QWidget *>(ui.ComboBoxPort), static_cast<QWidget *>(ui.ComboBoxSpeed)})
        w->setEnabled(serial);
    ui.EditRigctld->setEnabled(!serial);
}

void HamlibSettingsWindow::selectModel(int number)
{
    QListWidget *list = m_form.ui.ListModels;
    list->setCurrentItem(nullptr);
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toInt() == number) {
            list->setCurrentRow(i);
            list->scrollToItem(list->item(i));
            return;
        }
    }
}

int HamlibSettingsWindow::selectedModel() const
{
    const QListWidgetItem *item = m_form.ui.ListModels->currentItem();
    return item == nullptr || item->isHidden() ? 0 : item->data(Qt::UserRole).toInt();
}

void HamlibSettingsWindow::EditSearchChange(const QString &text)
{
    QListWidget *list = m_form.ui.ListModels;
    QListWidgetItem *first = nullptr;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        const bool shown = HamlibModelList::matches(item->text(), text);
        item->setHidden(!shown);
        if (shown && first == nullptr)
            first = item;
    }
    // The first match is the choice unless the current one still matches.
    QListWidgetItem *current = list->currentItem();
    if (current == nullptr || current->isHidden())
        list->setCurrentItem(first);
}

std::optional<HamlibSettings> HamlibSettingsWindow::chosen() const
{
    const Ui::TFormHamlib &ui = m_form.ui;
    HamlibSettings settings;
    if (ui.RadioButtonRigctld->isChecked()) {
        if (!HamlibTexts::rigctldAddress(ui.EditRigctld->text())) {
            refuse("Adresse de rigctld attendue sous la forme hôte ou hôte:port (127.0.0.1:4532).",
                   "The rigctld address must read host or host:port (127.0.0.1:4532).");
            return std::nullopt;
        }
        settings.model = RigctldModelNumber;
        settings.port = ui.EditRigctld->text().trimmed();
        return settings;
    }
    settings.model = selectedModel();
    const std::optional<QString> port =
        HamlibConfigKeys::portSetting(ui.ComboBoxPort->currentText());
    const QString speedText = ui.ComboBoxSpeed->currentText().trimmed();
    const std::optional<int> speed = HamlibConfigKeys::serialSpeed(speedText);
    if (settings.model <= 0) {
        refuse("Choisissez le modèle de la radio dans la liste.",
               "Choose the radio model in the list.");
        return std::nullopt;
    }
    // Hamlib's dummy radios have no port.
    if (!port && !HamlibModelList::settingsComplete(settings)) {
        refuse("Choisissez le port série de la radio.", "Choose the radio's serial port.");
        return std::nullopt;
    }
    if (port && HamlibModelList::portMissing(settings.model, *port)) {
        refuse(QStringLiteral("Le port %1 n'existe pas sur cette machine : branchez la radio ou "
                              "choisissez un autre port.")
                   .arg(*port),
               QStringLiteral("Port %1 does not exist on this machine: plug the radio in or "
                              "choose another port.")
                   .arg(*port));
        return std::nullopt;
    }
    if (!speedText.isEmpty() && !speed) {
        refuse("Vitesse inconnue : choisissez-en une dans la liste, ou laissez vide pour celle "
               "du modèle.",
               "Unknown speed: choose one in the list, or leave it empty for the model's own.");
        return std::nullopt;
    }
    settings.port = port.value_or(QString());
    settings.speed = speed.value_or(0);
    return settings;
}

void HamlibSettingsWindow::refuse(const char *french, const char *english) const
{
    refuse(QString::fromUtf8(french), QString::fromUtf8(english));
}

void HamlibSettingsWindow::refuse(const QString &french, const QString &english) const
{
    m_warn(m_language() == Language::English ? english : french);
}

void HamlibSettingsWindow::ButtonOKClick()
{
    const std::optional<HamlibSettings> settings = chosen();
    if (!settings)
        return;
    m_form.accept();
    m_accepted(*settings);
}
