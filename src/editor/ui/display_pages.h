#pragma once
#include "display_layout.h"
#include "editor_page.h"
#include "previews.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

class QMenu;
class QTabWidget;

// A device screen preview scaled up by the largest whole factor that fits, with
// square pixels. A right click reports the canvas point under the pointer.
class TPreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewBox(int display, QSize canvasPart = {pv::kScreenWidth, pv::kScreenHeight}, int hintFactor = 1,
                         QWidget *parent = nullptr);
    int display() const { return m_display; } // the tag: display number, 0-based
    void setImage(const QImage &canvas);
    const QImage &image() const { return m_image; }
    int factor() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void rightClicked(QPoint canvasPoint, QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPoint topLeft() const;
    int m_display;
    QSize m_part;
    int m_hintFactor;
    QImage m_image;
};

// One display layout page: previews of every display of the layout (on
// sub-pages when there are many) and the right-click choice of the parameter
// at the position clicked.
class TLayoutPage : public TEditorPage {
    Q_OBJECT
public:
    TLayoutPage(disp::Layout layout, TEditorContext &context, QWidget *parent = nullptr);

    void load() override { redraw(); }
    void protocolChanged() override { redraw(); }
    void entered() override { redraw(); }
    // Draws every preview of the page from the model.
    void redraw();

    // The items the popup menu offers for `position`: code and caption.
    struct Choice {
        int code;
        QString caption;
    };
    std::vector<Choice> choices(int position) const;
    // What a right click at canvas point `at` of display `display` opens; the
    // choice made in it is stored. Returns the menu (not yet shown) or null
    // when the click selects nothing; for tests.
    QMenu *menuForClick(int display, QPoint at);
    const std::vector<TPreviewBox *> &previews() const { return m_previews; }

private:
    void draw(TPreviewBox *box);

    disp::Layout m_layout;
    std::vector<TPreviewBox *> m_previews;
    QMenu *m_menu = nullptr;
};

TEditorPage *MakeLayoutPage(disp::Layout layout, TEditorContext &context, QWidget *parent);
TEditorPage *MakeDisplayOptionsPage(TEditorContext &context, QWidget *parent);
TEditorPage *MakeColourSchemesPage(TEditorContext &context, QWidget *parent);
