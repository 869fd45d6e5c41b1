#pragma once

class QWidget;
class TEditorPage;
struct TEditorContext;

// The corrections, sources and limits pages of the settings editor.
TEditorPage *MakeCorrectionsPage(TEditorContext &context, QWidget *parent);
TEditorPage *MakeSourcesPage(TEditorContext &context, QWidget *parent);
TEditorPage *MakeLimitsPage(TEditorContext &context, QWidget *parent);
