#pragma once

class QWidget;
class TEditorPage;
struct TEditorContext;

// The corrections, sources and limits pages of the settings editor.
TEditorPage *MakeCorrPage(TEditorContext &context, QWidget *parent);
TEditorPage *MakeMethPage(TEditorContext &context, QWidget *parent);
TEditorPage *MakeLimPage(TEditorContext &context, QWidget *parent);
