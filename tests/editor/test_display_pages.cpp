#include "blocks.h"
#include "display_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "language.h"
#include "preview_canvas.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <set>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

struct Editor {
    std::unique_ptr<TMK> model;
    QWidget parent;
    TFieldBinder *binder;
    std::unique_ptr<TEditorContext> context;

    Editor()
    {
        SetEnglishVersion(true);
        model = std::make_unique<TMK>(0xC000);
        model->FormatImage(9);
        ed::OpenForEditing(*model);
        binder = new TFieldBinder(*model, Catalog(), &parent);
        context = std::make_unique<TEditorContext>(TEditorContext{*model, Catalog(), *binder});
    }
};

} // namespace

TEST(DisplayPages, RightClickChoiceStoresItsCode)
{
    Editor e;
    TLayoutPage page(disp::Layout::X6, *e.context, &e.parent);
    page.load();
    EXPECT_EQ(page.menuForClick(1, QPoint(10, 10))->objectName(), QStringLiteral("pmDig6"));
    QMenu *menu = page.menuForClick(1, QPoint(300, 10)); // top-right ninth: position 1
    ASSERT_NE(menu, nullptr);
    const int before = disp::Code(*e.model, disp::Layout::X6, 1, 1);
    QAction *other = nullptr;
    for (QAction *a : menu->actions()) {
        EXPECT_EQ(a->isChecked(), a->data().toInt() == before) << qPrintable(a->text());
        if (!other && a->data().toInt() != before)
            other = a;
    }
    ASSERT_NE(other, nullptr);
    const QImage shown = page.previews()[1]->image();
    other->trigger();
    EXPECT_EQ(disp::Code(*e.model, disp::Layout::X6, 1, 1), other->data().toInt());
    EXPECT_NE(page.previews()[1]->image(), shown); // redrawn
    EXPECT_EQ(disp::Code(*e.model, disp::Layout::X6, 0, 1), GetU8(e.model->block(mem::DisplayBlock), 37));

    TLayoutPage x1(disp::Layout::X1, *e.context, &e.parent);
    EXPECT_EQ(x1.menuForClick(0, QPoint(300, 100)), nullptr); // upper four sevenths
    TLayoutPage graphs(disp::Layout::Graphs, *e.context, &e.parent);
    const auto second = graphs.choices(1);
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second.front().code, 0);
    EXPECT_EQ(second.front().caption, QStringLiteral("Absent"));
}

// Every layout page shows a picture in each preview of the sub-page in front,
// not a blank screen.
TEST(DisplayPages, EveryPreviewShowsAPicture)
{
    Editor e;
    // A new model paints graphs and dials all in palette colour 0.
    const uint8_t elements[] = {15, 4, 10, 11, 8, 0, 7, 15, 15, 14, 14, 9, 9, 8, 9};
    for (size_t i = 0; i < std::size(elements); ++i)
        SetU8(e.model->block(mem::DisplayBlock), mem::kScheme0Offset + 40 + int(i), elements[i]);
    using L = disp::Layout;
    for (const L layout : {L::X1, L::X4, L::X9, L::X6, L::Graphs, L::Dials, L::Panel}) {
        TLayoutPage page(layout, *e.context, &e.parent);
        page.load();
        for (TPreviewBox *box : page.previews()) {
            if (!box->isVisibleTo(&page))
                continue;
            const QImage image = box->image();
            ASSERT_FALSE(image.isNull()) << int(layout);
            std::set<QRgb> colours;
            for (int y = 0; y < image.height(); y += 3)
                for (int x = 0; x < image.width(); x += 3)
                    colours.insert(image.pixel(x, y));
            EXPECT_GT(colours.size(), 1u) << int(layout) << " display " << box->display();
        }
    }
}

TEST(DisplayPages, ShownDisplayBoxesSetTheirBits)
{
    Editor e;
    std::unique_ptr<TEditorPage> page(MakeDisplayOptionsPage(*e.context, &e.parent));
    page->load();
    auto *third = page->findChild<QCheckBox *>(QStringLiteral("cbShowDisp_1_2"));
    ASSERT_NE(third, nullptr);
    const uint32_t before = GetU32(e.model->block(mem::DisplayBlock), 288);
    ASSERT_TRUE(third->isChecked() == bool(before & 4u));
    third->click();
    EXPECT_EQ(GetU32(e.model->block(mem::DisplayBlock), 288), before ^ 4u);
    const size_t params = Catalog().currentProtocol()->DisplayParams.size();
    auto *last = page->findChild<QCheckBox *>(QStringLiteral("cbShowDisp_1_%1").arg(params - 1));
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(last->isHidden());
    if (params < 40) {
        EXPECT_TRUE(page->findChild<QCheckBox *>(QStringLiteral("cbShowDisp_1_%1").arg(params))->isHidden());
    }
}

TEST(DisplayPages, PaletteEditsAndInitializeAll)
{
    Editor e;
    std::unique_ptr<TEditorPage> page(MakeColourSchemesPage(*e.context, &e.parent));
    page->load();
    auto *palette = page->findChild<QTableView *>(QStringLiteral("sgPalette"));
    ASSERT_NE(palette, nullptr);
    palette->setCurrentIndex(palette->model()->index(3, 1));
    const uint8_t *scheme0 = e.model->block(mem::DisplayBlock) + mem::kScheme0Offset;
    const TColour loaded = UnpackColour(GetU16(scheme0, 6));
    EXPECT_EQ(page->findChild<QSpinBox *>(QStringLiteral("seR"))->value(), loaded.r);
    page->findChild<QSpinBox *>(QStringLiteral("seG"))->setValue(1);
    EXPECT_EQ(GetU16(scheme0, 6), PackColour(loaded.r, 1, loaded.b));
    EXPECT_EQ(palette->model()->index(3, 1).data(Qt::BackgroundRole).value<QColor>().rgb(),
              pv::ColourToRgb(GetU16(scheme0, 6)));

    // "Initialize all" answered No changes nothing; Yes brings the defaults back.
    const std::vector<uint8_t> before(e.model->blocks().begin(), e.model->blocks().end());
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        QTimer::singleShot(0, [button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(button)->click();
        });
        page->findChild<QPushButton *>(QStringLiteral("bPaletteInit"))->click();
        if (button == QMessageBox::No) {
            EXPECT_TRUE(std::equal(before.begin(), before.end(), e.model->blocks().begin()));
        }
    }
    EXPECT_TRUE(std::equal(e.model->DefaultSchemes[0].begin(), e.model->DefaultSchemes[0].end(), scheme0));
}

namespace {

void clickRow(QTableView *view, int row)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

QLabel *buddyOf(QWidget *page, QWidget *control)
{
    for (QLabel *label : page->findChildren<QLabel *>())
        if (label->buddy() == control)
            return label;
    return nullptr;
}

} // namespace

// The colour edits and the index edits show and change the grid's current row,
// however the user moves it, and the current swatch stays painted in its colour.
TEST(DisplayPages, ColourEditsFollowTheCurrentRow)
{
    Editor e;
    uint8_t *scheme0 = e.model->block(mem::DisplayBlock) + mem::kScheme0Offset;
    for (int k = 0; k < 6; ++k) // distinct palette indices for the digital display elements
        scheme0[32 + k] = uint8_t(k + 2);
    std::unique_ptr<TEditorPage> page(MakeColourSchemesPage(*e.context, nullptr));
    page->load();
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    auto *palette = page->findChild<QTableView *>(QStringLiteral("sgPalette"));
    auto *caption = page->findChild<QLabel *>(QStringLiteral("lColorTab"));
    QSpinBox *rgb[3] = {page->findChild<QSpinBox *>(QStringLiteral("seR")),
                        page->findChild<QSpinBox *>(QStringLiteral("seG")),
                        page->findChild<QSpinBox *>(QStringLiteral("seB"))};
    ASSERT_TRUE(palette && caption && rgb[0] && rgb[1] && rgb[2]);

    clickRow(palette, 3);
    EXPECT_EQ(caption->text(), QStringLiteral("Color #3"));
    // In a table Home and End alone stay in the row; with Ctrl they go to the ends.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row;
    } moves[] = {{Qt::Key_Down, {}, 4},  {Qt::Key_End, Qt::ControlModifier, 15}, {Qt::Key_Up, {}, 14},
                 {Qt::Key_End, {}, 14},  {Qt::Key_Home, Qt::ControlModifier, 0}, {Qt::Key_PageDown, {}, 15},
                 {Qt::Key_PageUp, {}, 0}};
    for (const auto &m : moves) {
        QTest::keyClick(palette, m.key, m.modifiers);
        ASSERT_EQ(palette->currentIndex().row(), m.row) << m.key;
        EXPECT_EQ(caption->text(), QStringLiteral("Color #%1").arg(m.row)) << m.key;
        const TColour c = UnpackColour(GetU16(scheme0, 2 * m.row));
        EXPECT_EQ(rgb[0]->value(), c.r) << m.key;
        EXPECT_EQ(rgb[1]->value(), c.g) << m.key;
        EXPECT_EQ(rgb[2]->value(), c.b) << m.key;
    }

    // Typing after an arrow key changes the row moved to, not the one clicked.
    clickRow(palette, 3);
    QTest::keyClick(palette, Qt::Key_Down);
    const uint16_t word3 = GetU16(scheme0, 6);
    const TColour was = UnpackColour(GetU16(scheme0, 8));
    const int red = (was.r + 7) % 32;
    rgb[0]->selectAll();
    QTest::keyClicks(rgb[0], QString::number(red));
    EXPECT_EQ(GetU16(scheme0, 8), PackColour(red, was.g, was.b));
    EXPECT_EQ(GetU16(scheme0, 6), word3);
    // The redraw after the store keeps the row.
    EXPECT_EQ(palette->currentIndex().row(), 4);
    EXPECT_EQ(caption->text(), QStringLiteral("Color #4"));

    // The current swatch is framed, not covered by the selection.
    const QRect swatch = palette->visualRect(palette->model()->index(4, 1));
    const QImage shot = palette->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(swatch.center()).rgb(),
              palette->model()->index(4, 1).data(Qt::BackgroundRole).value<QColor>().rgb());
    EXPECT_EQ(shot.pixelColor(swatch.left() + 1, swatch.center().y()).rgb(),
              palette->palette().color(QPalette::Active, QPalette::Highlight).rgb());

    // An element grid: the index edit and its name follow the arrow keys.
    auto *digits = page->findChild<QTableView *>(QStringLiteral("sgDigit"));
    auto *index = page->findChild<QSpinBox *>(QStringLiteral("seDigit"));
    ASSERT_TRUE(digits && index);
    QLabel *name = buddyOf(page.get(), index);
    ASSERT_NE(name, nullptr);
    clickRow(digits, 1);
    EXPECT_EQ(index->value(), 3);
    QTest::keyClick(digits, Qt::Key_Down);
    EXPECT_EQ(name->text(), QStringLiteral("Color 2"));
    EXPECT_EQ(index->value(), 4);
    index->setValue(9);
    EXPECT_EQ(scheme0[34], 9);
    EXPECT_EQ(scheme0[33], 3);
    // Another scheme reloads the edit from the same row.
    page->findChild<QAbstractButton *>(QStringLiteral("rgCurrColorSchemeNum1"))->click();
    EXPECT_EQ(digits->currentIndex().row(), 2);
    EXPECT_EQ(index->value(), e.model->block(mem::DisplayBlock)[mem::kScheme1Offset + 34]);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
