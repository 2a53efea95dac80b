#pragma once

#include "dtmf/DtmfEditor.h"

class DtmfCodeList;
class QObject;
class TFormDTMF;

// The DTMF window over the code table and its editor: the window lists the table, its OK button
// hands the code and the action typed to the editor, and the editor shows its outcome there.
namespace DtmfWindowView {

DtmfEditorView forEditor(TFormDTMF &form);
// Lives as long as `context`.
void bind(TFormDTMF &form, DtmfCodeList &codes, DtmfEditor &editor, QObject *context);

} // namespace DtmfWindowView
