#include "ui/DtmfWindowView.h"

#include "dtmf/DtmfCodeList.h"
#include "ui/Captions.h"
#include "ui/UnitDTMF.h"

namespace DtmfWindowView {

DtmfEditorView forEditor(TFormDTMF &form)
{
    Ui::TFormDTMF &ui = form.ui;
    return DtmfEditorView{
        [&form](Language language) { applyCaptions(&form, language); },
        [&ui](const QStringList &actions) {
            ui.ComboBoxActionsDTMF->clear();
            ui.ComboBoxActionsDTMF->addItems(actions);
            ui.ComboBoxActionsDTMF->setCurrentIndex(-1);
            ui.ComboBoxActionsDTMF->clearEditText();
        },
        [&ui](int row) {
            ui.ListBoxCodesDTMF->setCurrentRow(row);
            ui.ListBoxCodesDTMF->scrollToItem(ui.ListBoxCodesDTMF->item(row));
        },
        [&ui] { ui.EditCodeDTMF->setFocus(); },
    };
}

void bind(TFormDTMF &form, DtmfCodeList &codes, DtmfEditor &editor, QObject *context)
{
    Ui::TFormDTMF &ui = form.ui;
    QObject::connect(&codes, &DtmfCodeList::changed, context, [&ui, &codes] {
        ui.ListBoxCodesDTMF->clear();
        ui.ListBoxCodesDTMF->addItems(codes.lines());
    });
    QObject::connect(ui.BitBtnOKCodeDTMF, &QPushButton::clicked, context, [&ui, &editor] {
        editor.addCode(ui.EditCodeDTMF->text(), ui.ComboBoxActionsDTMF->currentText());
    });
}

} // namespace DtmfWindowView
