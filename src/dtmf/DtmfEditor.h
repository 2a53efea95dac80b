#pragma once

#include "core/LanguageTexts.h"

#include <functional>

class DtmfCodeList;
class Notifier;
class QComboBox;
class QLineEdit;
class QListWidget;

// The controls of the DTMF window the editor works on.
struct DtmfEditorControls
{
    // Sets the window's captions in a language (the language button relabels it whole).
    std::function<void(Language)> relabel;
    DtmfCodeList *codes = nullptr;
    QListWidget *ListBoxCodesDTMF = nullptr; // shows the codes; the entry changed is selected
    QLineEdit *EditCodeDTMF = nullptr;
    QComboBox *ComboBoxActionsDTMF = nullptr;
};

// Adding, replacing and removing codes in the DTMF table, and the window's language.
class DtmfEditor
{
public:
    DtmfEditor(Notifier &notifier, std::function<Language()> currentLanguage,
               const DtmfEditorControls &controls);

    // Adds, replaces or removes the code typed in the edit for the action chosen in the list.
    void BitBtnOKCodeDTMFClick();
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
    DtmfEditorControls m_c;
    Language m_messageLanguage = Language::French;
};
