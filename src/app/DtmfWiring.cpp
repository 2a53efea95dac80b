#include "app/DtmfWiring.h"

#include "core/StationState.h"
#include "dtmf/DtmfCodeList.h"
#include "dtmf/DtmfEditor.h"
#include "dtmf/DtmfInterpreter.h"
#include "radio/RadioRequests.h"
#include "ui/DtmfWindowView.h"
#include "ui/StationWindows.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

DtmfWiring::DtmfWiring(const Parts &parts)
    : m_windows(parts.windows), m_state(parts.state), m_requests(parts.requests)
{
    TFormDTMF &form = *parts.windows.FormDTMF;
    Ui::TForm1 &m = parts.windows.Form1->ui;
    const StationState &state = parts.state;

    m_editor = std::make_unique<DtmfEditor>(
        parts.notifier, [&state] { return state.language; }, parts.codes,
        DtmfWindowView::forEditor(form));
    DtmfWindowView::bind(form, parts.codes, *m_editor, this);

    DtmfControls c;
    QLineEdit *line = m.StaticTextDTMF;
    c.showEntry = [line](const QString &entry) { line->setText(entry); };
    c.codes = &parts.codes;
    c.station = DtmfStationControls{parts.save};
    m_interpreter =
        std::make_unique<DtmfInterpreter>(parts.state, parts.log, parts.radios, parts.requests, c);

    connect(m.MenuDTMF, &QAction::triggered, this, &DtmfWiring::MenuDTMFClick);
    connect(m.MenuSimuDTMF, &QAction::triggered, this, &DtmfWiring::MenuSimuDTMFClick);
    connect(form.ui.Buttonlangue, &QPushButton::clicked, this,
            [this] { m_editor->ButtonlangueClick(); });
    connect(form.ui.ButtonSimuDTMF, &QPushButton::clicked, this, &DtmfWiring::ButtonSimuDTMFClick);
    form.FormShow = [this] { m_editor->ButtonlangueClick(); };
}

void DtmfWiring::refillActions()
{
    m_editor->refillActions();
}

QCoro::Task<> DtmfWiring::receiveDtmf(const QString &chars)
{
    return m_interpreter->ReceiveDtmf(chars);
}

DtmfWiring::~DtmfWiring() = default;

void DtmfWiring::MenuDTMFClick()
{
    TFormDTMF &form = *m_windows.FormDTMF;
    form.show();
    form.raise();
    form.activateWindow();
}

void DtmfWiring::MenuSimuDTMFClick()
{
    m_windows.FormDTMF->ui.ButtonSimuDTMF->setVisible(true);
}

void DtmfWiring::ButtonSimuDTMFClick()
{
    QLineEdit *edit = m_windows.FormDTMF->ui.EditCodeDTMF;
    // Taken as it is, like a server report: the interpreter copes with any text.
    m_state.DtmfLastChars = edit->text();
    edit->setFocus();
    m_requests.submit([this, chars = edit->text()] { return m_interpreter->ReceiveDtmf(chars); });
}
