#pragma once
#include "editor_page.h"
#include "systems.h"

#include <vector>

class QButtonGroup;
class QGroupBox;
class TStringGrid;

// tsBlocks: which additional systems the device polls. The left grid lists
// the systems the device supports, the right one those selected; a
// double-click changes a system's selection. The page is rebuilt whenever it
// is entered; its "Show" choice acts only while it is the active page.
class TSystemsPage : public TEditorPage {
    Q_OBJECT
public:
    TSystemsPage(TEditorContext &context, QWidget *parent = nullptr);

    void load() override { rebuild(); }
    void entered() override;
    void left() override;

    TStringGrid *allGrid() const { return m_all; }
    TStringGrid *usedGrid() const { return m_used; }
    QButtonGroup *showChoice() const { return m_show; }
    QButtonGroup *showListChoice() const { return m_showList; }

private:
    void rebuild();
    void fill();
    void showClicked(int choice);
    void allDoubleClicked(int row);
    void usedDoubleClicked(int row);

    TStringGrid *m_all = nullptr;
    TStringGrid *m_used = nullptr;
    QButtonGroup *m_show = nullptr;
    QButtonGroup *m_showList = nullptr;
    std::vector<ed::TBlockInfo> m_catalog;
    std::vector<ed::TBlockInfo> m_selected; // the right grid's rows
};

TEditorPage *MakeSystemsPage(TEditorContext &context, QWidget *parent);
