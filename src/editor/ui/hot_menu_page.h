#pragma once
#include "editor_page.h"

#include <QPoint>
#include <array>
#include <functional>
#include <cstdint>

class QLabel;
class QMenu;
class TStringGrid;

// tsHotMenu: the parameter, average and parking hot menus, one grid each.
// Right-click a row for the popup (insert, delete, clear all); drag a row by
// its number to move it. Every change is stored at once and the page reloads.
class THotMenuPage : public TEditorPage {
    Q_OBJECT
public:
    THotMenuPage(TEditorContext &context, QWidget *parent = nullptr);

    void load() override { reload(); }
    void protocolChanged() override { reload(); }

    TStringGrid *grid(int line) const { return m_grids[static_cast<size_t>(line)]; }
    QLabel *heading(int line) const { return m_headings[static_cast<size_t>(line)]; }
    // pmHotMenu, and pmHotMenuAdd as the last insert built it.
    QMenu *popupMenu() const { return m_popup; }
    QMenu *itemMenu() const { return m_itemMenu; }

private:
    void reload();
    void openPopup(int line, int row, const QPoint &globalPos);
    void showItemMenu();
    void change(const std::function<void()> &edit);
    bool eventFilter(QObject *watched, QEvent *event) override;

    std::array<TStringGrid *, 3> m_grids{};
    std::array<QLabel *, 3> m_headings{};
    QMenu *m_popup = nullptr;
    QMenu *m_itemMenu = nullptr;
    int m_line = -1; // the line and row the popup was opened on
    int m_row = -1;
    QPoint m_popupAt;
    int m_dragLine = -1; // a drag by the left column in progress
    int m_dragRow = -1;
};

TEditorPage *MakeHotMenuPage(TEditorContext &context, QWidget *parent);
