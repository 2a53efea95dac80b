#pragma once

#include "core/LanguageTexts.h"

#include <QStringList>
#include <functional>

class DtmfCodeList;
class Notifier;

// What the editor shows on the DTMF window, which lists the code table itself.
struct DtmfEditorView
{
    // Sets the window's captions in a language (the language button relabels it whole).
    std::function<void(Language)> relabel;
    // The actions offered, none chosen.
    std::function<void(const QStringList &)> offerActions;
    // Selects and shows the table's entry `row`, the one just changed.
    std::function<void(int row)> showEntry;
    // Puts the keyboard back on the code (it held a character no code may hold).
    std::function<void()> focusCode;
};

// Adding, replacing and removing codes in the DTMF table, and the window's language.
class DtmfEditor
{
public:
    DtmfEditor(Notifier &notifier, std::function<Language()> currentLanguage, DtmfCodeList &codes,
               const DtmfEditorView &view);

    // Adds, replaces or removes `code` for `action`, an action's text as the list offers it.
    void addCode(const QString &code, const QString &action);
    // Captions and conflict messages in the language checked in the main window.
    void ButtonlangueClick();
    // The 30 actions of the current language, nothing chosen.
    void refillActions();

    // The language of the conflict messages: French until the window was first relabelled.
    Language messageLanguage() const { return m_messageLanguage; }

private:
    void showTable(const QStringList &lines, int current);

    Notifier &m_notifier;
    std::function<Language()> m_currentLanguage;
    DtmfCodeList &m_codes;
    DtmfEditorView m_view;
    QStringList m_actions; // as offered last
    Language m_messageLanguage = Language::French;
};
