#pragma once
#include "editor_page.h"

#include <QList>
#include <vector>

class QGridLayout;
class QLabel;
class QTabWidget;
class TFieldControl;

// "Sounds": the alert table ("Предупреждения") and the sound settings
// ("Разное") on an inner tab widget `pcVoice`.
class TSoundsPage : public TEditorPage {
    Q_OBJECT
public:
    TSoundsPage(TEditorContext &context, QWidget *parent = nullptr);
    void load() override;
    void protocolChanged() override;
    QTabWidget *tabs() const { return m_tabs; }

private:
    void followGroups();

    struct AlertLine {
        QLabel *label;
        TFieldControl *first;
        QWidget *next; // or nullptr
    };
    std::vector<AlertLine> m_lines;
    QGridLayout *m_table = nullptr;
    QList<QWidget *> m_secondHeadings;
    QTabWidget *m_tabs = nullptr;
};

// "Average": prices, auto-reset periods and trip settings.
class TAveragesPage : public TEditorPage {
    Q_OBJECT
public:
    TAveragesPage(TEditorContext &context, QWidget *parent = nullptr);
};

// "Parktronic": the rear and the front parking radar.
class TParkingRadarPage : public TEditorPage {
    Q_OBJECT
public:
    TParkingRadarPage(TEditorContext &context, QWidget *parent = nullptr);
};
