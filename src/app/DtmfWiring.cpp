#include "app/DtmfWiring.h"

#include "app/Station.h"
#include "dtmf/DtmfEditor.h"
#include "dtmf/DtmfInterpreter.h"
#include "ui/Captions.h"
#include "ui/UnitDTMF.h"
#include "ui/UnitInitTX16.h"
#include "ui/UnitTMD700.h"

DtmfWiring::DtmfWiring(Station &station) : m_station(station)
{
    TFormDTMF &form = *station.FormDTMF;
    Ui::TForm1 &m = station.Form1->ui;

    m_editor = std::make_unique<DtmfEditor>(
        station.notifier(), [&station] { return station.currentLanguage(); },
        DtmfEditorControls{[&form](Language language) { applyCaptions(&form, language); },
                           &station.dtmfCodes, form.ui.ListBoxCodesDTMF, form.ui.EditCodeDTMF,
                           form.ui.ComboBoxActionsDTMF});

    DtmfControls c;
    c.StaticTextDTMF = m.StaticTextDTMF;
    c.codes = &station.dtmfCodes;
    c.station = DtmfStationControls{[&station] { station.MenuSaveClick(); }};
    m_interpreter = std::make_unique<DtmfInterpreter>(station.state, station.log, station.radios,
                                                      station.requests, c);

    // The window lists the code table.
    connect(&station.dtmfCodes, &DtmfCodeList::changed, this, [&form, &station] {
        form.ui.ListBoxCodesDTMF->clear();
        form.ui.ListBoxCodesDTMF->addItems(station.dtmfCodes.lines());
    });

    connect(m.MenuDTMF, &QAction::triggered, this, &DtmfWiring::MenuDTMFClick);
    connect(m.MenuSimuDTMF, &QAction::triggered, this, &DtmfWiring::MenuSimuDTMFClick);
    connect(form.ui.BitBtnOKCodeDTMF, &QPushButton::clicked, this,
            [this] { m_editor->BitBtnOKCodeDTMFClick(); });
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
    TFormDTMF &form = *m_station.FormDTMF;
    form.show();
    form.raise();
    form.activateWindow();
}

void DtmfWiring::MenuSimuDTMFClick()
{
    m_station.FormDTMF->ui.ButtonSimuDTMF->setVisible(true);
}

void DtmfWiring::ButtonSimuDTMFClick()
{
    QLineEdit *edit = m_station.FormDTMF->ui.EditCodeDTMF;
    // Taken as it is, like a server report: the interpreter copes with any text.
    m_station.state.DtmfLastChars = edit->text();
    edit->setFocus();
    m_station.requests.submit(
        [this, chars = edit->text()] { return m_interpreter->ReceiveDtmf(chars); });
}
