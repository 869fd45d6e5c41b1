#pragma once
#include "editor_page.h"

class TFieldControl;

// tsUniMeas: the two calibration points of the universal input. Its four
// edits are bound controls; the binder refuses equal ADC readings.
class TUniMeasPage : public TEditorPage {
    Q_OBJECT
public:
    TUniMeasPage(TEditorContext &context, QWidget *parent = nullptr);
};

TEditorPage *MakeUniMeasPage(TEditorContext &context, QWidget *parent);
