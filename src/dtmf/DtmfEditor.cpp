#include "dtmf/DtmfEditor.h"

#include "core/Notifier.h"
#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfCodeList.h"
#include "dtmf/DtmfCodeTable.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

DtmfEditor::DtmfEditor(Notifier &notifier, std::function<Language()> currentLanguage,
                       const DtmfEditorControls &controls)
    : m_notifier(notifier), m_currentLanguage(std::move(currentLanguage)), m_c(controls)
{
}

void DtmfEditor::showTable(const QStringList &lines, int current)
{
    m_c.codes->setLines(lines);
    QListWidget *list = m_c.ListBoxCodesDTMF;
    if (current > 0 && current < list->count()) {
        list->setCurrentRow(current);
        list->scrollToItem(list->item(current));
    }
}

void DtmfEditor::BitBtnOKCodeDTMFClick()
{
    QStringList catalogue;
    for (int i = 0; i < m_c.ComboBoxActionsDTMF->count(); ++i)
        catalogue << m_c.ComboBoxActionsDTMF->itemText(i);

    const DtmfCodeTable::EditResult result =
        DtmfCodeTable::addCode(m_c.codes->lines(), m_c.EditCodeDTMF->text(),
                               m_c.ComboBoxActionsDTMF->currentText(), catalogue);

    using DtmfCodeTable::Outcome;
    switch (result.outcome) {
    case Outcome::Nothing:
        break;
    case Outcome::MustEndIn01:
        m_notifier.warning(messageText(m_messageLanguage, MessageId::DtmfCodeMustEndIn01));
        break;
    case Outcome::MustEndIn45:
        m_notifier.warning(messageText(m_messageLanguage, MessageId::DtmfCodeMustEndIn45));
        break;
    case Outcome::BadCharacter:
        m_notifier.beep();
        m_c.EditCodeDTMF->setFocus();
        break;
    case Outcome::Deleted:
        showTable(result.lines, -1);
        break;
    case Outcome::ConfirmReplace:
        m_notifier.question(messageText(m_messageLanguage, MessageId::DtmfCodeExists),
                            [this, lines = result.lines, entry = result.entry](bool replace) {
                                if (replace)
                                    showTable(lines, int(lines.indexOf(entry)));
                            });
        break;
    case Outcome::ExistingStartsWithNew:
        m_notifier.warning(messageText(m_messageLanguage, MessageId::DtmfExistingCodeStartsAlike));
        break;
    case Outcome::NewStartsWithExisting:
        m_notifier.warning(messageText(m_messageLanguage, MessageId::DtmfNewCodeStartsAlike));
        break;
    case Outcome::Added:
        showTable(result.lines, result.entryIndex);
        break;
    }
}

void DtmfEditor::ButtonlangueClick()
{
    m_messageLanguage = m_currentLanguage();
    if (m_c.relabel)
        m_c.relabel(m_messageLanguage);
}

void DtmfEditor::refillActions()
{
    QComboBox *box = m_c.ComboBoxActionsDTMF;
    box->clear();
    box->addItems(m_currentLanguage() == Language::English ? DtmfCatalogue::DtmfActionsEn
                                                           : DtmfCatalogue::DtmfActionsFr);
    box->setCurrentIndex(-1);
    box->clearEditText();
}
