#pragma once

class QWidget;
class TEditorPage;
struct TEditorContext;

// Makes the editor page (or sub-page) named `name` ("tsCorr", "tsColor", ...),
// or nullptr where that page has no contents of its own; the dialog then shows
// an empty page under the same name and caption.
TEditorPage *MakeEditorPage(const char *name, TEditorContext &context, QWidget *parent);
