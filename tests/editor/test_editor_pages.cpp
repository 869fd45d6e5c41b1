#include "blocks.h"
#include "editor_page.h"
#include "editor_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "hot_menu_page.h"
#include "hot_menus.h"
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "stringgrid.h"
#include "systems.h"
#include "systems_page.h"
#include "tmk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace {

// A model of `type` opened as the editor opens it, with the page `name` made
// as the dialog makes it.
struct Editor {
    explicit Editor(uint16_t type, const char *name)
    {
        SetEnglishVersion(true);
        model = std::make_unique<TMK>(type);
        model->DeviceType = type;
        model->FormatImage(9);
        ed::OpenForEditing(*model);
        binder = std::make_unique<TFieldBinder>(*model, Catalog(), &window);
        context = std::make_unique<TEditorContext>(TEditorContext{*model, Catalog(), *binder});
        page = MakeEditorPage(ed::FindPage(QString::fromLatin1(name))->id, *context, &window);
        (new QVBoxLayout(&window))->addWidget(page);
        window.resize(1000, 540);
        window.show();
    }
    QWidget window;
    std::unique_ptr<TMK> model;
    std::unique_ptr<TFieldBinder> binder;
    std::unique_ptr<TEditorContext> context;
    TEditorPage *page = nullptr;
};

QPoint cellAt(TStringGrid *grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// A double-click as the platform delivers it: the second press comes before
// the double-click event.
void doubleClick(TStringGrid *grid, int row, int column)
{
    const QPoint at = cellAt(grid, row, column);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

QAction *actionWithCode(QMenu *menu, int code)
{
    for (QAction *a : menu->actions()) {
        if (a->menu()) {
            if (QAction *found = actionWithCode(a->menu(), code))
                return found;
        } else if (a->data().toInt() == code) {
            return a;
        }
    }
    return nullptr;
}

uint16_t code(const char *identifier) { return FindMenuItem(QLatin1String(identifier))->Code; }

QList<int> line0(const TMK &m)
{
    QList<int> out;
    for (uint16_t c : ed::ReadHotMenu(m, 0))
        out << c;
    return out;
}

// Closes the next message box and keeps its text.
void answerMessageBox(QString *text)
{
    QTimer::singleShot(0, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->accept();
        }
    });
}

} // namespace

class EditorPagesTest : public QObject {
    Q_OBJECT
private slots:
    void hotMenuEdits_data();
    void hotMenuEdits();
    void menuKeyOpensThePopupOnTheCurrentRow();
    void parkingLineNeedsParkingRadar();
    void systemsWithoutAnyOnTheDevice();
    void systemsSelectionByDoubleClick();
    void systemsShowChoice();
    void equalAdcRefused();
};

void EditorPagesTest::hotMenuEdits_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QList<int>>("after");
    const QList<int> full{1, 2, 3, 4, 5, 6, 7, 8, 10, 11};
    const int x = 999; // stands for the inserted item's code
    QTest::newRow("delete row 3 of a full line")
        << full << "delete" << 3 << 0 << QList<int>{1, 2, 3, 5, 6, 7, 8, 10, 11, 0};
    QTest::newRow("insert at row 0 of a full line drops row 9")
        << full << "insert" << 0 << 0 << QList<int>{x, 1, 2, 3, 4, 5, 6, 7, 8, 10};
    QTest::newRow("insert at row 7 of three entries lands at row 3")
        << QList<int>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0} << "insert" << 7 << 0 << QList<int>{1, 2, 3, x, 0, 0, 0, 0, 0, 0};
    QTest::newRow("move row 0 to row 4") << full << "move" << 0 << 4 << QList<int>{2, 3, 4, 5, 1, 6, 7, 8, 10, 11};
    QTest::newRow("move row 5 to row 1") << full << "move" << 5 << 1 << QList<int>{1, 6, 2, 3, 4, 5, 7, 8, 10, 11};
    QTest::newRow("clear all") << full << "clear" << 6 << 0 << QList<int>(10, 0);
    QTest::newRow("reload keeps an unknown code, compacted") << QList<int>{0, 60000, 0, 5, 0, 0, 0, 0, 0, 0} << "reload"
                                                             << 0 << 0 << QList<int>{60000, 5, 0, 0, 0, 0, 0, 0, 0, 0};
}

void EditorPagesTest::hotMenuEdits()
{
    QFETCH(QList<int>, before);
    QFETCH(QString, action);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QList<int>, after);
    Editor e(0xC000, "tsHotMenu");
    auto *page = qobject_cast<THotMenuPage *>(e.page);
    QVERIFY(page);
    ed::HotMenuLine codes{};
    for (int i = 0; i < 10; ++i)
        codes[size_t(i)] = uint16_t(before[i]);
    ed::WriteHotMenu(*e.model, 0, codes);
    page->load();
    TStringGrid *grid = page->grid(0);
    QWidget *viewport = grid->viewport();
    const uint16_t inserted = code("ErrorsMenu");
    if (action == "move") {
        QTest::mousePress(viewport, Qt::LeftButton, {}, cellAt(grid, a, 0));
        QTest::mouseMove(viewport, cellAt(grid, b, 0));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellAt(grid, b, 0));
    } else if (action != "reload") {
        QTest::mousePress(viewport, Qt::RightButton, {}, cellAt(grid, a, 1));
        QVERIFY(page->popupMenu()->isVisible());
        QCOMPARE(grid->currentRow(), a);
        const char *item = action == "delete" ? "miDelHM" : action == "clear" ? "miClearHM" : "miInsertHM";
        page->popupMenu()->findChild<QAction *>(QLatin1String(item))->trigger();
        if (action == "insert") {
            QAction *choice = actionWithCode(page->itemMenu(), inserted);
            QVERIFY(choice);
            choice->trigger();
        }
    }
    for (int &c : after)
        if (c == 999)
            c = inserted;
    QCOMPARE(line0(*e.model), after);
    for (int row = 0; row < 10; ++row) {
        QCOMPARE(grid->cell(row, 0), QString::number(row));
        QCOMPARE(grid->cell(row, 1), ed::HotMenuItemName(uint16_t(after[row])));
    }
}

void EditorPagesTest::menuKeyOpensThePopupOnTheCurrentRow()
{
    Editor e(0xC000, "tsHotMenu");
    auto *page = qobject_cast<THotMenuPage *>(e.page);
    const ed::HotMenuLine before = ed::ReadHotMenu(*e.model, 1);
    TStringGrid *grid = page->grid(1);
    grid->setCurrentCell(2, 1);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(1, 1), grid->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(grid, &key);
    QVERIFY(page->popupMenu()->isVisible());
    page->popupMenu()->findChild<QAction *>(QStringLiteral("miDelHM"))->trigger();
    const ed::HotMenuLine after = ed::ReadHotMenu(*e.model, 1);
    QCOMPARE(after[1], before[1]);
    QCOMPARE(after[2], before[3]);
}

void EditorPagesTest::parkingLineNeedsParkingRadar()
{
    for (uint16_t type : {0xC000, 0x5100}) {
        Editor e(type, "tsHotMenu");
        auto *page = qobject_cast<THotMenuPage *>(e.page);
        const bool radar = !Catalog().has(Cap::NoParkingRadar);
        QCOMPARE(page->grid(2)->isVisible(), radar);
        QCOMPARE(page->heading(2)->isVisible(), radar);
        QCOMPARE(page->grid(1)->isVisible(), true);
    }
}

void EditorPagesTest::systemsWithoutAnyOnTheDevice()
{
    Editor e(0x1234, "tsBlocks"); // a type no model table lists
    auto *page = qobject_cast<TSystemsPage *>(e.page);
    page->entered();
    QCOMPARE(page->allGrid()->allTexts(), (QList<QStringList>{{"Name", "Sel."}}));
    QCOMPARE(page->usedGrid()->allTexts(), (QList<QStringList>{{"Name"}}));
}

void EditorPagesTest::systemsSelectionByDoubleClick()
{
    Editor e(0xC000, "tsBlocks");
    uint8_t *service = e.model->block(mem::ServiceBlock);
    service[ed::kSystemsOffset] = 0x81; // both show choices set
    auto *page = qobject_cast<TSystemsPage *>(e.page);
    page->entered();
    QVERIFY(e.context->systemsPageActive);
    QCOMPARE(page->showChoice()->checkedId(), 1);
    QCOMPARE(page->showListChoice()->checkedId(), 1);
    TStringGrid *all = page->allGrid();
    int row8 = 0;
    for (int r = 1; r < all->rowCount(); ++r)
        if (all->cell(r, 0) == QStringLiteral("Иммо АПС-4"))
            row8 = r;
    QVERIFY(row8 > 0);
    all->scrollTo(all->model()->index(row8, 0));
    doubleClick(all, row8, 0);
    QCOMPARE(service[ed::kSystemsOffset + 1], uint8_t(0x01)); // system 8: bit 0 of the second byte
    QCOMPARE(service[ed::kSystemsOffset], uint8_t(0x81));
    QCOMPARE(all->cell(row8, 1), QStringLiteral("V"));
    QCOMPARE(page->usedGrid()->allTexts(), (QList<QStringList>{{"Name"}, {"Иммо АПС-4"}}));
    // The heading rows take no double-click.
    doubleClick(all, 0, 0);
    doubleClick(page->usedGrid(), 0, 0);
    QCOMPARE(service[ed::kSystemsOffset + 1], uint8_t(0x01));
    doubleClick(page->usedGrid(), 1, 0);
    QCOMPARE(service[ed::kSystemsOffset + 1], uint8_t(0x00));
    QCOMPARE(page->usedGrid()->rowCount(), 1);
    page->left();
    QVERIFY(!e.context->systemsPageActive);
}

void EditorPagesTest::systemsShowChoice()
{
    Editor e(0xC000, "tsBlocks");
    auto *page = qobject_cast<TSystemsPage *>(e.page);
    const std::vector<ed::TBlockInfo> catalog = ed::SystemCatalog(Catalog());
    QVERIFY(!catalog.empty());
    auto selectedCount = [&] {
        int n = 0;
        for (const ed::TBlockInfo &s : catalog)
            n += ed::SystemSelected(*e.model, s.Number);
        return n;
    };
    // Not the active page: the choice changes nothing.
    page->showChoice()->button(0)->click();
    QCOMPARE(selectedCount(), 0);

    page->entered();
    page->showChoice()->button(0)->click();
    QCOMPARE(selectedCount(), int(catalog.size()));
    QCOMPARE(page->usedGrid()->rowCount(), 1 + int(catalog.size()));

    // "Protocol" with a protocol that polls no system deselects the whole
    // catalog; system 9, which the catalog does not list, keeps its bit.
    int none = -1;
    for (size_t i = 0; i < Catalog().protocolList().size() && none < 0; ++i)
        if (Catalog().protocolList()[i]->Blocks.empty())
            none = int(i);
    QVERIFY(none > 0);
    ed::ChangeProtocol(*e.model, Catalog(), none);
    ed::SetSystemSelected(*e.model, 9, true);
    page->showChoice()->button(1)->click();
    QCOMPARE(selectedCount(), 0);
    QVERIFY(ed::SystemSelected(*e.model, 9));
    QCOMPARE(ed::SystemsShow(*e.model), 1);
    QCOMPARE(page->usedGrid()->rowCount(), 1);

    page->showListChoice()->button(1)->click();
    QCOMPARE(ed::SystemsShowList(*e.model), 1);
}

void EditorPagesTest::equalAdcRefused()
{
    Editor e(0x5800, "tsUniMeas"); // a model with trim
    QVERIFY(e.page->isVisible());
    auto *adc1 = e.page->findChild<QDoubleSpinBox *>(QStringLiteral("seUniMeasADC1"));
    QVERIFY(adc1);
    QCOMPARE(adc1->value(), 1023.0);
    QVERIFY(adc1->isVisible());
    QString message;
    answerMessageBox(&message);
    adc1->setValue(0); // what seUniMeasADC0 shows
    emit adc1->editingFinished();
    QCOMPARE(message, QStringLiteral("Min and Max ADC Values should differ."));
    QCOMPARE(adc1->value(), 1023.0);
    QCOMPARE(GetI16(e.model->block(mem::ServiceBlock), 110), int16_t(1023));
    adc1->setValue(700);
    emit adc1->editingFinished();
    QCOMPARE(GetI16(e.model->block(mem::ServiceBlock), 110), int16_t(700));
}

QTEST_MAIN(EditorPagesTest)
#include "test_editor_pages.moc"
