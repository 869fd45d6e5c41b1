#include "blocks.h"
#include "display_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>

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

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
