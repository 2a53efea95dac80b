#pragma once

#include "core/LanguageTexts.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <memory>

class Notifier;
class QTemporaryDir;
class RadioSelector;
class VersionCheck;
struct SerialPortSettings;
struct StationState;
struct StationWindows;

// Language switching, the information and warning windows, help and the new-version check:
// wires its handlers to the station's windows.
class InterfaceWiring : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        StationWindows &windows;
        StationState &state;
        const RadioSelector &radios;
        const SerialPortSettings &port; // the COM menu's, for the port line
        Notifier &notifier;
        QString directory; // where the versions file is kept
    };
    explicit InterfaceWiring(const Parts &parts);
    ~InterfaceWiring() override;

    void MenuFrancaisClick();
    void menuEnglishClick();
    // The windows in `language`, its menu item checked: what the Language menu does.
    void chooseLanguage(Language language);
    void menuaideClick();
    void menuinfoClick();
    // `checked`: the item's check mark after the click.
    void MenuInfoVersionClick(bool checked);
    // The check for a new version at start-up on or off, its menu item checked to match.
    void chooseVersionCheck(bool on);
    void ApplicationEvents1Idle();

    VersionCheck &versionCheck() { return *m_versionCheck; }

    // Opens a help page with the desktop's handler and runs `failed` (possibly later) when no
    // program could open it; replaceable so tests need no browser.
    std::function<void(const QUrl &, const std::function<void()> &failed)> openDocument;

    // The help page of `language`, taken from those built into the program and written where a
    // browser can open it; empty when it could not be written.
    QString helpPagePath(Language language);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // The main window took another language: the other parts' windows and lists follow.
    void languageSwitched();
    // The status lines were written again in the language in force.
    void statusTextsRedrawn();

private:
    void switchLanguage(Language language);
    void redrawStatusTexts();
    void versionLookedUp(const QString &version);

    Parts m_parts;
    std::unique_ptr<VersionCheck> m_versionCheck;
    bool m_idleDone = false;
    bool m_newVersionShown = false;
    std::unique_ptr<QTemporaryDir> m_helpFolder;
};
