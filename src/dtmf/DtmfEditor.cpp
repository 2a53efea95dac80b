#include "dtmf/DtmfEditor.h"

#include "core/Notifier.h"
#include "dtmf/DtmfCatalogue.h"
#include "dtmf/DtmfCodeList.h"
#include "dtmf/DtmfCodeTable.h"

DtmfEditor::DtmfEditor(Notifier &notifier, std::function<Language()> currentLanguage,
                       DtmfCodeList &codes, const DtmfEditorView &view)
    : m_notifier(notifier), m_currentLanguage(std::move(currentLanguage)), m_codes(codes),
      m_view(view)
{
}

void DtmfEditor::showTable(const QStringList &lines, int current)
{
    m_codes.setLines(lines);
    if (current > 0 && current < lines.size() && m_view.showEntry)
        m_view.showEntry(current);
}

void DtmfEditor::addCode(const QString &code, const QString &action)
{
    const DtmfCodeTable::EditResult result =
        DtmfCodeTable::addCode(m_codes.lines(), code, action, m_actions);

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
        if (m_view.focusCode)
            m_view.focusCode();
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
    if (m_view.relabel)
        m_view.relabel(m_messageLanguage);
}

void DtmfEditor::refillActions()
{
    m_actions = m_currentLanguage() == Language::English ? DtmfCatalogue::DtmfActionsEn
                                                         : DtmfCatalogue::DtmfActionsFr;
    if (m_view.offerActions)
        m_view.offerActions(m_actions);
}
