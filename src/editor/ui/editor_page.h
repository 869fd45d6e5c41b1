#pragma once
#include <QWidget>

// Naming in the editor's UI classes: member functions are lowerCamelCase, as
// Qt's own are (load, saveTo, menuForClick); a handler named after its form or
// control and event keeps that name as designed (FormShow, pcMainChange).

class TFieldBinder;
class TMK;
class TProtocolCatalog;

// What every page of the settings editor works on: the one model, the
// catalog rebuilt for it, and the binder of the single-field controls.
struct TEditorContext {
    TMK &model;
    TProtocolCatalog &catalog;
    TFieldBinder &binder;
    int editedScheme = 0;    // colour scheme being edited: 0 day, 1 night
    bool tareEdited = false; // the tare grid's edited mark
    bool systemsPageActive = false;
};

// A page (or sub-page) of the settings editor. The dialog makes the pages,
// puts them into its page controls, and calls these at the moments named.
class TEditorPage : public QWidget {
    Q_OBJECT
public:
    TEditorPage(TEditorContext &context, QWidget *parent = nullptr) : QWidget(parent), m_context(context) {}

    // Load everything the page shows from the model (when the dialog is
    // shown). Bound single-field controls are refreshed by the binder.
    virtual void load() {}
    // The protocol index changed: rebuild what depends on it.
    virtual void protocolChanged() {}
    // The user made this page active / left it.
    virtual void entered() {}
    virtual void left() {}

protected:
    TEditorContext &m_context;
};
