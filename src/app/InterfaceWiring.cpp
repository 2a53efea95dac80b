#include "app/InterfaceWiring.h"

#include "core/Notifier.h"
#include "core/StationState.h"
#include "core/VersionCheckSite.h"
#include "platform/DocumentOpener.h"
#include "platform/LinkSettings.h"
#include "platform/VersionCheck.h"
#include "platform/VersionCheckFile.h"
#include "radio/Radio.h"
#include "radio/RadioSelector.h"
#include "ui/Captions.h"
#include "ui/StationWindows.h"
#include "ui/StatusLines.h"
#include "ui/UnitInfo.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"
#include "ui/UnitWarning.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString ProductKey = QStringLiteral("ivrelane");

// Shows a window over the middle of another one, kept whole on the screen: the main window may
// sit in a corner, and a dialog wider than it would otherwise hang off the edge.
void centreOn(QWidget *window, const QWidget *over)
{
    QRect place(QPoint(), window->frameGeometry().size());
    place.moveCenter(over->frameGeometry().center());
    if (const QScreen *screen = over->screen()) {
        const QRect free = screen->availableGeometry();
        place.moveRight(qMin(place.right(), free.right()));
        place.moveBottom(qMin(place.bottom(), free.bottom()));
        place.moveLeft(qMax(place.left(), free.left()));
        place.moveTop(qMax(place.top(), free.top()));
    }
    window->move(place.topLeft());
}

// The picture of the information window: a mast sending waves.
QPixmap programPicture()
{
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.drawLine(32, 24, 22, 60);
    p.drawLine(32, 24, 42, 60);
    p.drawLine(26, 46, 38, 46);
    p.setPen(QPen(QColor(0, 128, 0), 3));
    for (int r = 8; r <= 24; r += 8) {
        p.drawArc(QRect(32 - r, 22 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }
    return picture;
}

} // namespace

InterfaceWiring::InterfaceWiring(const Parts &parts)
    : m_parts(parts),
      m_versionCheck(std::make_unique<VersionCheck>(parts.directory, QUrl(makerSiteAddress())))
{
    openDocument = [this](const QUrl &url, const std::function<void()> &failed) {
        ::openDocument(url, this, failed);
    };

    Ui::TForm1 &m = parts.windows.Form1->ui;
    // triggered, not toggled: the configuration reader triggers the item, and choosing the
    // language already in force runs the switch again.
    connect(m.MenuFrancais, &QAction::triggered, this, &InterfaceWiring::MenuFrancaisClick);
    connect(m.menuEnglish, &QAction::triggered, this, &InterfaceWiring::menuEnglishClick);
    connect(m.menuaide, &QAction::triggered, this, &InterfaceWiring::menuaideClick);
    connect(m.menuinfo, &QAction::triggered, this, &InterfaceWiring::menuinfoClick);
    connect(m.MenuInfoVersion, &QAction::triggered, this, &InterfaceWiring::MenuInfoVersionClick);

    TFormInfo &info = *parts.windows.FormInfo;
    info.ui.LabelUrl3->setUrl(makerSiteAddress());
    info.ui.Image1->setPixmap(programPicture());
    connect(info.ui.BitBtnOK, &QPushButton::clicked, &info, &QWidget::hide);
    info.installEventFilter(this);
    parts.windows.FormWarning->installEventFilter(this);

    connect(m_versionCheck.get(), &VersionCheck::finished, this, &InterfaceWiring::versionLookedUp);
}

InterfaceWiring::~InterfaceWiring() = default;

void InterfaceWiring::MenuFrancaisClick()
{
    chooseLanguage(Language::French);
}

void InterfaceWiring::menuEnglishClick()
{
    chooseLanguage(Language::English);
}

void InterfaceWiring::chooseLanguage(Language language)
{
    Ui::TForm1 &m = m_parts.windows.Form1->ui;
    m_parts.state.setLanguage(language);
    (language == Language::English ? m.menuEnglish : m.MenuFrancais)->setChecked(true);
    switchLanguage(language);
}

void InterfaceWiring::switchLanguage(Language language)
{
    Parts &s = m_parts;
    Ui::TForm1 &m = s.windows.Form1->ui;
    applyCaptions(s.windows.Form1.get(), language);
    s.state.StatusMessages = statusMessages(language);
    // Under the "COM" item, wherever the new captions before it have put it.
    m.ListBoxPort->move(m.MainMenu->actionGeometry(m.MenuPort).left(), m.ListBoxPort->y());
    redrawStatusTexts();
    applyCaptions(s.windows.FormWarning.get(), language);
    applyCaptions(s.windows.FormInitTX16.get(), language);
    emit languageSwitched();
}

void InterfaceWiring::redrawStatusTexts()
{
    Parts &s = m_parts;
    Ui::TForm1 &m = s.windows.Form1->ui;
    // The server line keeps its colour: only its text changes with the language.
    const auto redraw = [](QLineEdit *line, const std::function<void()> &draw) {
        const QString colours = line->styleSheet();
        draw();
        line->setStyleSheet(colours);
    };
    // The generic transmitter shows its parallel port there, in no language, and never answers
    // anything: both lines stay as the model left them. The Hamlib radio uses no port of the
    // COM menu: its port line stays as it is too.
    const Radio *radio = s.radios.current();
    if (radio == nullptr || radio->capabilities().answers) {
        if (radio == nullptr || radio->capabilities().comMenuPort)
            StatusLines::showPort(m.LabelConnect, s.state, s.port.portName);
        // The transceiver line takes the colour of the text it now shows (a red "TX time-out"
        // gives way to a green "answers OK").
        StatusLines::showRig(m.labelTMD, s.state);
    }
    redraw(m.StaticTextIPConnect, [&] { StatusLines::showServer(m.StaticTextIPConnect, s.state); });
    emit statusTextsRedrawn();
}

QString InterfaceWiring::helpPagePath(Language language)
{
    const QString name = language == Language::English ? QStringLiteral("Ivrelane_en.htm")
                                                       : QStringLiteral("Ivrelane_fr.htm");
    // The browser needs files: both pages go to a private folder of this process (each links
    // to the other), once, and go with it.
    if (!m_helpFolder) {
        auto folder = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("ivrelane-help-XXXXXX")));
        if (!folder->isValid())
            return QString();
        for (const QString &page : QDir(QStringLiteral(":/help")).entryList(QDir::Files)) {
            if (!QFile::copy(QStringLiteral(":/help/") + page, folder->filePath(page)))
                return QString();
        }
        m_helpFolder = std::move(folder);
    }
    const QString path = m_helpFolder->filePath(name);
    return QFileInfo(path).isFile() ? path : QString();
}

void InterfaceWiring::menuaideClick()
{
    const Language language = m_parts.state.language;
    const QString path = helpPagePath(language);
    if (path.isEmpty() || !openDocument)
        return;
    // Without a browser nothing would show at all: the operator is told which file to open.
    QPointer<InterfaceWiring> alive(this);
    openDocument(QUrl::fromLocalFile(path), [alive, language, path] {
        if (alive)
            alive->m_parts.notifier.warning(messageText(language, MessageId::HelpNotOpened) +
                                            QDir::toNativeSeparators(path));
    });
}

void InterfaceWiring::menuinfoClick()
{
    m_parts.windows.FormInfo->show();
    m_parts.windows.FormInfo->raise();
}

void InterfaceWiring::MenuInfoVersionClick(bool checked)
{
    m_parts.state.CheckVersionAtStart = checked;
}

void InterfaceWiring::chooseVersionCheck(bool on)
{
    m_parts.state.CheckVersionAtStart = on;
    m_parts.windows.Form1->ui.MenuInfoVersion->setChecked(on);
}

void InterfaceWiring::ApplicationEvents1Idle()
{
    if (m_idleDone)
        return;
    m_idleDone = true;
    if (m_parts.state.CheckVersionAtStart)
        m_versionCheck->lookUp(ProductKey);
}

void InterfaceWiring::versionLookedUp(const QString &version)
{
    StationState &state = m_parts.state;
    if (m_newVersionShown || VersionCheckFile::versionValue(version) <=
                                 VersionCheckFile::versionValue(state.VersionText))
        return;
    m_newVersionShown = true;
    m_parts.notifier.beep();
    m_parts.notifier.information(state.NewVersionMessage);
}

bool InterfaceWiring::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        auto *window = static_cast<QWidget *>(watched);
        centreOn(window, m_parts.windows.Form1.get());
    }
    return QObject::eventFilter(watched, event);
}
