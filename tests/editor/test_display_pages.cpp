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
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
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
    page.Load();
    EXPECT_EQ(page.MenuForClick(1, QPoint(10, 10))->objectName(), QStringLiteral("pmDig6"));
    QMenu *menu = page.MenuForClick(1, QPoint(300, 10)); // top-right ninth: position 1
    ASSERT_NE(menu, nullptr);
    const int before = disp::Code(*e.model, disp::Layout::X6, 1, 1);
    QAction *other = nullptr;
    for (QAction *a : menu->actions()) {
        EXPECT_EQ(a->isChecked(), a->data().toInt() == before) << qPrintable(a->text());
        if (!other && a->data().toInt() != before)
            other = a;
    }
    ASSERT_NE(other, nullptr);
    const QImage shown = page.Previews()[1]->image();
    other->trigger();
    EXPECT_EQ(disp::Code(*e.model, disp::Layout::X6, 1, 1), other->data().toInt());
    EXPECT_NE(page.Previews()[1]->image(), shown); // redrawn
    EXPECT_EQ(disp::Code(*e.model, disp::Layout::X6, 0, 1), GetU8(e.model->block(mem::DisplayBlock), 37));

    TLayoutPage x1(disp::Layout::X1, *e.context, &e.parent);
    EXPECT_EQ(x1.MenuForClick(0, QPoint(300, 100)), nullptr); // upper four sevenths
    TLayoutPage graphs(disp::Layout::Graphs, *e.context, &e.parent);
    const auto second = graphs.Choices(1);
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
        page.Load();
        for (TPreviewBox *box : page.Previews()) {
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
    std::unique_ptr<TEditorPage> page(MakeDiversPage(*e.context, &e.parent));
    page->Load();
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
    std::unique_ptr<TEditorPage> page(MakeColorPage(*e.context, &e.parent));
    page->Load();
    auto *palette = page->findChild<QTableView *>(QStringLiteral("sgPalette"));
    ASSERT_NE(palette, nullptr);
    palette->setCurrentIndex(palette->model()->index(3, 1));
    emit palette->pressed(palette->model()->index(3, 1));
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

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
