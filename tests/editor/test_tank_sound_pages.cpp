#include "blocks.h"
#include "editor_page.h"
#include "editor_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "stringgrid.h"
#include "tank_pages.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A page of `name` hosted as the dialog hosts it, on a model of `type`.
struct Hosted {
    explicit Hosted(const char *name, uint16_t type = 0xC000)
        : model(type), binder(model, Catalog(), &window), context{model, Catalog(), binder}
    {
        model.DeviceType = type;
        model.FormatImage(9);
        ed::OpenForEditing(model);
        page = MakeEditorPage(ed::FindPage(QString::fromLatin1(name))->id, context, &window);
        page->load();
        window.show();
    }
    template <class W> W *find(const char *name) const { return window.findChild<W *>(QLatin1String(name)); }
    QDoubleSpinBox *spin(const char *name) const { return find<QDoubleSpinBox>(name); }
    void leave(const char *name, double value) const
    {
        spin(name)->setValue(value);
        emit spin(name)->editingFinished();
    }
    void click(const char *group, int item) const { binder.find(QLatin1String(group))->radioButtons()[item]->click(); }
    uint8_t *block(int b) { return model.block(b); }

    QWidget window;
    TMK model;
    TFieldBinder binder;
    TEditorContext context;
    TEditorPage *page = nullptr;
};

// Types `text` into cell (row, column) of the grid through the grid's own editor.
void typeIntoCell(TStringGrid *grid, int row, int column, const QString &text, QString *mask = nullptr)
{
    QAbstractItemDelegate *delegate = grid->itemDelegate();
    const QModelIndex index = grid->model()->index(row, column);
    QWidget *editor = delegate->createEditor(grid->viewport(), QStyleOptionViewItem(), index);
    auto *edit = qobject_cast<QLineEdit *>(editor);
    ASSERT_NE(edit, nullptr);
    if (mask)
        *mask = edit->inputMask();
    edit->setText(text);
    delegate->setModelData(editor, grid->model(), index);
    delete editor;
}

// Types `keys` into cell (row, column) as a user does: the cell made current,
// the first key opens its editor and the rest go there.
void typeKeys(TStringGrid *grid, int row, int column, const QString &keys)
{
    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentIndex(grid->model()->index(row, column));
    QTest::keyClicks(grid, keys.left(1));
    QTest::keyClicks(QApplication::focusWidget(), keys.mid(1));
}

// Errors go to the binder's reporter; a box of its own would wait for a
// click: it is closed, and the test fails.
std::unique_ptr<QTimer> closeUnexpectedBoxes()
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a box of its own: " << box->metaObject()->className();
            box->close();
        }
    });
    timer->start(10);
    return timer;
}

} // namespace

TEST(EditorPages, MadeByName)
{
    SetEnglishVersion(true);
    for (const char *name : {"tsVoice", "tsAver", "tsPark", "tsOil", "tsTO"}) {
        Hosted h(name);
        ASSERT_NE(h.page, nullptr) << name;
        EXPECT_EQ(h.page->objectName(), QLatin1String(name));
    }
}

TEST(EditorPages, SevenPointCountShowsThatManyPoints)
{
    Hosted h("tsOil");
    const QByteArray before(reinterpret_cast<const char *>(h.block(mem::FuelBlock)), 36);
    h.spin("seOilCalibrQuant")->setValue(3); // shown while changing, before it is stored
    for (int k = 0; k < 7; ++k) {
        const QByteArray n = QByteArray::number(k);
        EXPECT_EQ(h.find<QLabel>(("lOilCalibrArr" + n).constData())->isVisibleTo(&h.window), k < 3) << k;
        EXPECT_EQ(h.spin(("seOilCalibrLitArr" + n).constData())->isVisibleTo(&h.window), k < 3) << k;
    }
    emit h.spin("seOilCalibrQuant")->editingFinished();
    EXPECT_EQ(GetU8(h.block(mem::FuelBlock), 36), 3);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(h.block(mem::FuelBlock)), 36), before); // points 4..7 kept
}

TEST(EditorPages, TareGridStoresDigitsOnlyAndSetsTheSlopeFlag)
{
    SetEnglishVersion(false);
    Hosted h("tsOil");
    auto *page = static_cast<TFuelTankPage *>(h.page);
    TStringGrid *grid = page->tareGrid();
    EXPECT_EQ(grid->rowCount(), 16); // the default 15 points and the header
    EXPECT_EQ(grid->rowTexts(0), (QStringList{"#", "литры", "уе"}));

    h.spin("seTarirLeng")->setValue(2);
    EXPECT_EQ(GetU8(h.block(mem::TankTableBlock), 2), 2);
    ASSERT_EQ(grid->rowCount(), 3);
    QString litresMask, codeMask;
    typeIntoCell(grid, 1, 1, QStringLiteral("1 2"), &litresMask);
    typeIntoCell(grid, 1, 2, QString(), &codeMask);
    EXPECT_EQ(litresMask, QStringLiteral("000"));
    EXPECT_EQ(codeMask, QStringLiteral("0000"));
    EXPECT_TRUE(h.context.tareEdited);
    page->storeTareGrid();
    uint8_t *tank = h.block(mem::TankTableBlock);
    EXPECT_EQ(GetU8(tank, 8), 12);
    EXPECT_EQ(GetI16(tank, 144), 0);
    EXPECT_FALSE(h.context.tareEdited);
    EXPECT_EQ(grid->rowTexts(1), (QStringList{"1", "12", "0"}));

    for (const auto &[code, flag] : {std::pair{241, 1}, {240, 0}}) {
        typeIntoCell(grid, 1, 2, QString::number(code));
        page->storeTareGrid();
        EXPECT_EQ(GetU8(tank, 6), flag) << code;
    }

    h.spin("seTarirLeng")->setValue(0);
    const uint8_t firstLitres = GetU8(tank, 8);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->cell(1, 1), QString());
    EXPECT_EQ(grid->cell(1, 2), QString());
    page->storeTareGrid();
    EXPECT_EQ(GetU8(tank, 8), firstLitres);
}

// Tare cells take up to three digits of litres and four of the code; Enter or
// leaving the cell keeps them, leaving the grid stores them, and a value the
// table cannot hold gets the range error, not silence.
TEST(EditorPages, TareCellsTakeShortNumbers)
{
    SetEnglishVersion(true);
    struct Case {
        int column;
        const char *keys;
        bool enter;       // Enter before leaving, else leaving alone
        int litres, code; // point 1 afterwards
        bool refused;
    };
    const Case cases[] = {
        {1, "7", true, 7, 1000, false},     {1, "42", false, 42, 1000, false}, {1, "255", true, 255, 1000, false},
        {1, "256", true, 16, 1000, true},   {2, "5", false, 16, 5, false},     {2, "241", true, 16, 241, false},
        {2, "9999", true, 16, 9999, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        Hosted h("tsOil");
        QApplication::setActiveWindow(&h.window);
        QStringList refusals;
        h.binder.setErrorReporter([&refusals](const QString &text) { refusals << text; });
        const auto guard = closeUnexpectedBoxes();
        uint8_t *tank = h.block(mem::TankTableBlock);
        SetU8(tank, 8, 16);
        SetU16(tank, 144, 1000);
        SetU8(tank, 6, 0); // the slope flag, set again by each store
        h.page->load();
        TStringGrid *grid = static_cast<TFuelTankPage *>(h.page)->tareGrid();
        typeKeys(grid, 1, c.column, QString::fromLatin1(c.keys));
        if (c.enter)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        h.spin("seTarirLeng")->setFocus(Qt::TabFocusReason); // leaves the cell and the grid
        EXPECT_EQ(GetU8(tank, 8), c.litres);
        EXPECT_EQ(GetI16(tank, 144), c.code);
        EXPECT_EQ(GetU8(tank, 6), !c.refused && c.code > 240 ? 1 : 0);
        EXPECT_EQ(refusals.size(), c.refused ? 1 : 0);
        EXPECT_EQ(grid->cell(1, 1), QString::number(GetU8(tank, 8)));
    }
}

TEST(EditorPages, TankFileLoadRefreshesThePage)
{
    SetEnglishVersion(true);
    Hosted h("tsOil");
    QTemporaryDir dir;
    QByteArray bytes(40, '\0');
    bytes[36] = 2;  // seven-point count
    bytes[39] = 90; // a tare count the refresh resets
    QFile f(dir.filePath("short.kelmo"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    EXPECT_TRUE(static_cast<TFuelTankPage *>(h.page)->loadFrom(f.fileName()));
    EXPECT_EQ(GetU8(h.block(mem::TankTableBlock), 2), 0);
    EXPECT_EQ(static_cast<TFuelTankPage *>(h.page)->tareGrid()->rowCount(), 2);
    EXPECT_FALSE(h.find<QLabel>("lOilCalibrArr2")->isVisibleTo(&h.window));
    EXPECT_DOUBLE_EQ(h.spin("seOil6L")->value(), 0);
}

TEST(EditorPages, AlertGroupsStoreTheirByte)
{
    SetEnglishVersion(true);
    Hosted mute("tsVoice", 0x5100); // no voice
    const QList<QAbstractButton *> items = mute.binder.find(QStringLiteral("rgapVel_F"))->radioButtons();
    ASSERT_EQ(items.size(), 5);
    EXPECT_TRUE(items[2]->isEnabled());
    EXPECT_FALSE(items[3]->isEnabled());
    EXPECT_FALSE(items[4]->isEnabled());

    Hosted h("tsVoice");
    h.click("rgapVel_F", 2);
    h.click("rgapVel_N", 1);
    EXPECT_EQ(GetU8(h.block(mem::SoundBlock), 2), 10);
    h.click("rgapTO_F", 3);
    EXPECT_EQ(GetU8(h.block(mem::SoundBlock), 6), 27);
    EXPECT_EQ(h.find<QLabel>("lapVel")->text(), QStringLiteral("High speed"));
}

TEST(EditorPages, AveragesAndParkingScales)
{
    SetEnglishVersion(false);
    Hosted h("tsAver");
    auto *period = h.find<QComboBox>("cbResetPeriod1");
    EXPECT_EQ(period->currentText(), QStringLiteral("Запр."));
    emit period->activated(7);
    EXPECT_EQ(static_cast<int8_t>(GetU8(h.block(mem::TotalsBlock), 153)), 6);
    h.leave("seTripMinStop", 35);
    EXPECT_EQ(GetU16(h.block(mem::TripLogBlock), 10), 7);
    EXPECT_FALSE(h.find<QWidget>("cbTripJournAuto")->isEnabled());

    Hosted p("tsPark");
    p.leave("seParkMinLeng0", 60);
    EXPECT_EQ(GetU8(p.block(mem::ParkingBlock), 6), 6);
    EXPECT_FALSE(p.find<QWidget>("seParkFarkopLen")->isEnabled());
}

TEST(EditorPages, MaintenanceNamesAndTheSingleInterval)
{
    SetEnglishVersion(true);
    Hosted h("tsTO");
    auto *name = h.find<QLineEdit>("eForsTOCntK");
    EXPECT_EQ(name->maxLength(), 15);
    name->setText(QStringLiteral("Fifteen chars!!"));
    emit name->editingFinished();
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(h.block(mem::ServiceBlock)) + 52, 16),
              QByteArray("Fifteen chars!!\0", 16));

    Hosted single("tsTO", 0x5100);
    EXPECT_EQ(single.spin("seAirFiltCntK")->decimals(), 1);
    SetU8(single.block(mem::ServiceBlock), 0, 15);
    single.binder.refresh();
    EXPECT_DOUBLE_EQ(single.spin("seAirFiltCntK")->value(), 1.5);
    single.leave("seAirFiltCntK", 2.5);
    EXPECT_EQ(GetU8(single.block(mem::ServiceBlock), 0), 25);
    EXPECT_FALSE(single.spin("seKPPOilCntK")->isVisibleTo(&single.window));
    EXPECT_FALSE(single.find<QLineEdit>("eCandleCntK")->isVisibleTo(&single.window));
}

// The file buttons of the tank and maintenance pages: each opens its dialog
// over the page, and what is chosen there is saved, or loaded back.
TEST(EditorPages, FileButtonsSaveAndLoadThroughTheirDialogs)
{
    SetEnglishVersion(true);
    struct Case {
        const char *page, *save, *load, *suffix, *filter;
        int block, offset; // a byte the file carries
    };
    const Case cases[] = {
        {"tsOil", "bOilSave", "bOilLoad", "kelmo", "(*.kelmo)", mem::FuelBlock, 36},
        {"tsTO", "bTOSave", "bTOLoad", "kelmt", "(*.kelmt)", mem::ServiceBlock, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        Hosted h(c.page);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("chosen.") + QLatin1String(c.suffix));
        // Works on the dialog the button opens: checks it, then picks `path`.
        auto choose = [&](QAbstractButton *button, bool saving) {
            bool seen = false;
            QTimer::singleShot(0, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                seen = true;
                // The load starts where the save went; no folder's name is offered as the file's.
                if (!saving) {
                    EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
                }
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
                    EXPECT_TRUE(name->text().isEmpty()) << name->text().toStdString();
                }
                EXPECT_EQ(dialog->parentWidget(), h.page);
                EXPECT_EQ(dialog->windowTitle(), button->text());
                EXPECT_EQ(dialog->acceptMode(), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
                if (!saving) {
                    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
                }
                EXPECT_EQ(dialog->defaultSuffix(), QLatin1String(c.suffix));
                EXPECT_TRUE(dialog->nameFilters().join(QString()).contains(QLatin1String(c.filter)));
                dialog->selectFile(saving ? dir.filePath(QStringLiteral("chosen")) : path); // the suffix is added
                static_cast<QDialog *>(dialog)->accept(); // as the dialog's own button does
            });
            button->click();
            EXPECT_TRUE(seen);
        };
        const auto before = h.model.blocks();
        choose(h.find<QAbstractButton>(c.save), true);
        ASSERT_TRUE(QFile::exists(path));
        SetU8(h.block(c.block), c.offset, uint8_t(GetU8(h.block(c.block), c.offset) + 1));
        choose(h.find<QAbstractButton>(c.load), false);
        EXPECT_EQ(h.model.blocks(), before);
    }
}

// The maintenance dates take a typed "dd.mm.yy" (2000 + yy); one before the
// earliest day gets the range error and the edit shows the stored date again.
TEST(EditorPages, TypedMaintenanceDates)
{
    SetEnglishVersion(true);
    struct Case {
        const char *edit;
        int stored; // before typing
        const char *keys;
        int expected; // stored afterwards
        bool refused;
    };
    const int jan9 = DayNumber(9, 1, 12);
    const Case cases[] = {
        {"deTO", jan9, "24.05.12", DayNumber(24, 5, 12), false},
        {"deOSAGO", jan9, "24.05.12", DayNumber(24, 5, 12), false},
        {"deTO", 0, "240512", DayNumber(24, 5, 12), false}, // shown as the earliest day
        {"deTO", jan9, "10.10.11", ed::kEarliestDayNumber, false},
        {"deTO", jan9, "31.12.99", DayNumber(31, 12, 99), false},
        {"deTO", jan9, "09.10.11", jan9, true},
        {"deOSAGO", DayNumber(1, 3, 24), "1.2.11", DayNumber(1, 3, 24), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.edit << " " << c.keys);
        Hosted h("tsTO");
        QApplication::setActiveWindow(&h.window);
        QStringList refusals;
        h.binder.setErrorReporter([&refusals](const QString &text) { refusals << text; });
        const auto guard = closeUnexpectedBoxes();
        const int offset = QLatin1String(c.edit) == QLatin1String("deTO") ? 8 : 12;
        SetU16(h.block(mem::ServiceBlock), offset, static_cast<uint16_t>(c.stored));
        h.binder.refresh();
        auto *date = h.find<QDateEdit>(c.edit);
        date->setFocus(Qt::TabFocusReason); // the day selected
        QTest::keyClicks(date, QString::fromLatin1(c.keys));
        h.find<QLineEdit>("eForsTOCntK")->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(GetU16(h.block(mem::ServiceBlock), offset), c.expected);
        EXPECT_EQ(refusals.size(), c.refused ? 1 : 0);
        EXPECT_EQ(date->text().toStdString(), ed::DateText(c.expected).toStdString());
    }

    // The calendar offers no day before the earliest one.
    Hosted h("tsTO");
    auto *date = h.find<QDateEdit>("deTO");
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 4, date->height() / 2));
    ASSERT_TRUE(date->calendarWidget()->isVisible());
    EXPECT_EQ(date->calendarWidget()->minimumDate(), QDate(2011, 10, 10));
    date->calendarWidget()->window()->close();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
