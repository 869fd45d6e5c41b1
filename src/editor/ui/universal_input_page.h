#pragma once
#include "editor_page.h"

class TFieldControl;

// tsUniMeas: the two calibration points of the universal input. Its four
// edits are bound controls; the binder refuses equal ADC readings.
class TUniversalInputPage : public TEditorPage {
    Q_OBJECT
public:
    TUniversalInputPage(TEditorContext &context, QWidget *parent = nullptr);
};

TEditorPage *MakeUniversalInputPage(TEditorContext &context, QWidget *parent);
