#include "accessible_names.h"
#include "blocks.h"
#include "cp1251.h"
#include "journals.h"
#include "language.h"
#include "messages.h"
#include "settings_file.h"
#include "stringgrid.h"
#include "tmk.h"
#include "tripctl_run.h"
#include "viewjournalsdlg.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

// Windows-1251 of ASCII and the Cyrillic letters А..я, written out here so the
// export is checked against something other than its own encoder.
QByteArray cp1251(const QString &text)
{
    QByteArray out;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80)
            out.append(static_cast<char>(u));
        else if (u >= 0x0410 && u <= 0x044F)
            out.append(static_cast<char>(0xC0 + (u - 0x0410)));
        else
            out.append('?');
    }
    return out;
}

void setRecord(uint8_t *block, int offset, uint16_t minutes, uint8_t day, uint8_t month, uint32_t code)
{
    SetU16(block, offset, minutes);
    SetU8(block, offset + 2, day);
    SetU8(block, offset + 3, month);
    SetU32(block, offset + 4, code);
}

// A new model with an image, sums in every group, and an error journal with
// two records (one of them empty but with a frame of its own).
std::unique_ptr<TMK> makeModel()
{
    auto model = std::make_unique<TMK>();
    uint8_t *totals = model->block(mem::TotalsBlock);
    for (int w = 0; w < 30; ++w)
        SetU32(totals, 4 * w, 3600u * static_cast<uint32_t>(w + 1));
    SetU32(totals, 144, 1000);
    uint8_t *log = model->block(mem::ErrorLogBlock);
    SetU8(log, 4, 0x20); // fuel system status only
    const int rec0 = journal::kErrorRecordOffset;
    setRecord(log, rec0, 125, 3, 2, 0x0420);
    SetU32(log, rec0 + 8, 0x0420);
    SetU16(log, rec0 + 12, 0x0201);
    const int rec2 = journal::kErrorRecordOffset + 2 * journal::kErrorRecordSize;
    SetU32(log, rec2 + 8, 0xC100);
    SetU16(log, rec2 + 12, 0x0408);
    model->FormatImage(0);
    return model;
}

QString labelAbove(QWidget *grid)
{
    for (QLabel *l : grid->parentWidget()->findChildren<QLabel *>())
        if (l->buddy() == grid)
            return l->text();
    return {};
}

void doubleClick(TStringGrid *grid)
{
    // A real double-click: the first press selects, the second arrives as a double-click.
    const QPoint at = grid->visualRect(grid->model()->index(1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

QString gridLine(const TStringGrid *g, int row) { return g->rowTexts(row).join(QLatin1Char('|')); }

// The message boxes the viewer showed, and the answer its questions get.
struct Boxes {
    QList<QPair<TMessageKind, QString>> shown;
    TAnswer answer = TAnswer::Yes;
    QStringList texts(TMessageKind kind) const
    {
        QStringList out;
        for (const auto &box : shown)
            if (box.first == kind)
                out << box.second;
        return out;
    }
} g_boxes;

// The sample journals with some records emptied: 21 trips, 3 refuellings,
// 5 faults, so that each Russian noun form comes up.
std::unique_ptr<TMK> makeSampleModel()
{
    auto model = std::make_unique<TMK>();
    FillSampleJournals(*model);
    uint8_t *tripLog = model->block(mem::TripLogBlock);
    for (int r = 3; r < journal::kRecords; ++r)
        SetU8(tripLog, journal::kRefuelOffset + journal::kRecordSize * r + 2, 0);
    uint8_t *errorLog = model->block(mem::ErrorLogBlock);
    for (int i : {2, 6})
        SetU32(errorLog, journal::kErrorRecordOffset + journal::kErrorRecordSize * i + 4, 0);
    model->FormatImage(0);
    return model;
}

// Clear actions of the viewer: 0 trip journal, 1 refuelling journal, 2 fault
// journal, 3 + k sum table k.
void runClearAction(TMK_ViewJournalsDlg &dlg, int action)
{
    if (action == 0)
        dlg.bTripReset->click();
    else if (action == 1)
        dlg.bTankReset->click();
    else if (action == 2)
        dlg.bErrrJReset->click();
    else
        doubleClick(dlg.sumGrids[static_cast<size_t>(action - 3)]);
}

// What the action erases, through the model's own clearing operations.
void clearLikeAction(TMK &model, int action)
{
    if (action == 0)
        ClearTripJournal(model);
    else if (action == 1)
        ClearRefuelJournal(model);
    else if (action == 2)
        ClearErrorJournal(model);
    else
        ClearSumGroup(model, static_cast<SumGroupId>(action - 3));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ViewerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        SetEnglishVersion(true);
        g_boxes = Boxes();
        SetMessageHook([](TMessageKind kind, const QString &text) {
            g_boxes.shown.append({kind, text});
            return g_boxes.answer;
        });
    }

    void cleanup() { SetMessageHook({}); }

    void englishCaptions()
    {
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Viewing logs"));
        QCOMPARE(dlg.size(), QSize(1016, 523));
        const QStringList tabs{"Trip log", "Petrol log", "Average", "Faults log"};
        QCOMPARE(dlg.pcMain->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(dlg.pcMain->tabText(i), tabs[i]);
        QCOMPARE(dlg.pcMain->currentIndex(), 0);
        const QString header =
            "#|Date and time of rec.|Travel time|Mileage, km|Fuel expense, l|Av. speed, km/h|"
            "Av. expense per 100 km|Av. expense per hour|Cost";
        QCOMPARE(gridLine(dlg.sgTrip, 0), header);
        QCOMPARE(gridLine(dlg.sgTank, 0), header);
        QCOMPARE(dlg.sgTrip->cell(1, 0), QStringLiteral("Last"));
        QCOMPARE(dlg.sgTrip->cell(21, 0), QStringLiteral("20"));
        QCOMPARE(dlg.bTrip->text(), QStringLiteral("Save to file"));
        QCOMPARE(dlg.bTankReset->text(), QStringLiteral("Clear"));
        QCOMPARE(dlg.bErrrJReset->text(), QStringLiteral("Clear"));
        const QStringList titles{"Cumulative / General",           "Trip",        "Reset 1", "Jams", "Traffic",
                                 "Reset 2 (between gas stations)", "Petrol only", "Gas only"};
        for (int k = 0; k < kSumGroupCount; ++k) {
            QCOMPARE(labelAbove(dlg.sumGrids[static_cast<size_t>(k)]), titles[k]);
            QCOMPARE(dlg.sumGrids[static_cast<size_t>(k)]->rowCount(), 6);
        }
        QCOMPARE(dlg.sumGrids[0]->cell(0, 0), QStringLiteral("Time"));
        QCOMPARE(dlg.sumGrids[0]->cell(5, 0), QStringLiteral("Av.exp., l/h"));
        QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("lHint"))->text(),
                 QStringLiteral("To reset the adders, double-click on the corresponding table"));
        QCOMPARE(gridLine(dlg.sgErrors, 0), QStringLiteral("#|Time|Trouble code"));
        // The grid geometry of the journals.
        const QList<int> widths{50, 140, 96, 84, 131, 156, 145, 113, 78};
        for (int c = 0; c < 9; ++c)
            QCOMPARE(dlg.sgTrip->columnWidth(c), widths[c]);
        QCOMPARE(dlg.sgTrip->rowHeight(5), 18);
        QCOMPARE(dlg.sgTrip->rowCount(), 22);
        QCOMPARE(dlg.sgStopCadr->columnWidth(0), 380);
        QCOMPARE(dlg.sgErrors->columnWidth(2), 231);
        QVERIFY(dlg.sgTrip->rightAlignedData());
        // Data cells are right-aligned; the header row and label column are
        // neither right-aligned nor selectable.
        const QAbstractItemModel *m = dlg.sgTrip->model();
        auto alignment = [m](int r, int c) {
            return m->index(r, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        };
        QVERIFY(alignment(1, 1) & Qt::AlignRight);
        QVERIFY(!(alignment(0, 1) & Qt::AlignRight) && !(alignment(1, 0) & Qt::AlignRight));
        QVERIFY(m->flags(m->index(1, 1)) & Qt::ItemIsSelectable);
        QVERIFY(!(m->flags(m->index(0, 1)) & Qt::ItemIsSelectable) &&
                !(m->flags(m->index(1, 0)) & Qt::ItemIsSelectable));
    }

    void everyControlHasAnAccessibleName()
    {
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        for (int i = 0; i < dlg.pcMain->count(); ++i) {
            dlg.pcMain->setCurrentIndex(i);
            const QStringList unnamed = UnnamedControls(&dlg);
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
        }
    }

    void russianCaptions()
    {
        SetEnglishVersion(false);
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Просмотр журналов"));
        QCOMPARE(dlg.pcMain->tabText(1), QStringLiteral("Журнал заправок"));
        QCOMPARE(dlg.sgTrip->cell(1, 0), QStringLiteral("Посл."));
        QCOMPARE(dlg.sgTrip->cell(1, 1), QStringLiteral("Пусто"));
        QCOMPARE(dlg.bTrip->text(), QStringLiteral("Сохранить в файл"));
        QCOMPARE(labelAbove(dlg.sumGrids[5]), QStringLiteral("Сброс 2 ( Между заправками )"));
        QCOMPARE(dlg.sgStopCadr->cell(1, 0), QStringLiteral("Сост. топливной системы 1"));
    }

    void errorListAndFreezeFrameFollowTheSelection()
    {
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        // The "#" column counts from 0 while the journals start with "Last".
        for (int i = 0; i < 7; ++i)
            QCOMPARE(dlg.sgErrors->cell(i + 1, 0), QString::number(i));
        QCOMPARE(dlg.sgErrors->cell(1, 1), QStringLiteral("2:05 3.02"));
        QVERIFY(!dlg.sgErrors->cell(1, 2).isEmpty());
        QCOMPARE(dlg.sgErrors->cell(3, 1), QString());
        // Row 1 is selected first: its frame has the code and two fuel-system rows.
        QCOMPARE(dlg.sgStopCadr->rowCount(), 3);
        QCOMPARE(gridLine(dlg.sgStopCadr, 0), QStringLiteral("Trouble code|P0420"));
        QCOMPARE(gridLine(dlg.sgStopCadr, 1), QStringLiteral("Fuel system 1 status|Closed loop(O2 sens)"));
        // An empty record still shows the frame that has a code of its own.
        dlg.sgErrors->setCurrentCell(3, 1);
        QCOMPARE(gridLine(dlg.sgStopCadr, 0), QStringLiteral("Trouble code|U0100"));
        QCOMPARE(gridLine(dlg.sgStopCadr, 2), QStringLiteral("Fuel system 2 status|Open loop(SysFault)"));
        // A record without a frame empties the grid.
        dlg.sgErrors->setCurrentCell(2, 1);
        for (int r = 0; r < dlg.sgStopCadr->rowCount(); ++r)
            QCOMPARE(gridLine(dlg.sgStopCadr, r), QStringLiteral("|"));
        // Clearing the error journal empties the list and the frame.
        dlg.sgErrors->setCurrentCell(1, 1);
        dlg.bErrrJReset->click();
        QCOMPARE(dlg.sgErrors->cell(1, 1), QString());
        QCOMPARE(dlg.sgErrors->cell(1, 0), QStringLiteral("0"));
        QCOMPARE(gridLine(dlg.sgStopCadr, 0), QStringLiteral("|"));
    }

    void doubleClickResetsOneSumTable()
    {
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        const uint8_t *totals = model->block(mem::TotalsBlock);
        const QByteArray before(reinterpret_cast<const char *>(totals), 164);
        QList<QList<QStringList>> shown;
        for (TStringGrid *g : dlg.sumGrids)
            shown << g->allTexts();

        TStringGrid *petrolOnly = dlg.findChild<TStringGrid *>(QStringLiteral("sgOilOnlySum"));
        QVERIFY(petrolOnly);
        doubleClick(petrolOnly);
        for (int i = 0; i < 164; ++i)
            QCOMPARE(totals[i], i >= 96 && i < 108 ? uint8_t(0) : uint8_t(before[i]));
        QCOMPARE(petrolOnly->cell(0, 1), QStringLiteral("0:00"));
        QCOMPARE(petrolOnly->cell(1, 1), QStringLiteral("0.000"));
        QCOMPARE(petrolOnly->cell(3, 1), QStringLiteral("-----"));
        for (int k = 0; k < kSumGroupCount; ++k)
            if (k != static_cast<int>(SumGroupId::OilOnly))
                QCOMPARE(dlg.sumGrids[static_cast<size_t>(k)]->allTexts(), shown[k]);

        // The cumulative table comes back with the initial mileage only.
        doubleClick(dlg.sumGrids[0]);
        QCOMPARE(dlg.sumGrids[0]->cell(1, 1), QStringLiteral("1000.000"));
        QCOMPARE(dlg.sumGrids[0]->cell(3, 1), QStringLiteral("-----"));
        QCOMPARE(GetU32(totals, 0), 0u);
        QCOMPARE(GetU32(totals, 16), 3600u * 5); // the trip group is untouched
    }

    void clearingAJournalLeavesTheOther()
    {
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        const QList<QStringList> refuel = dlg.sgTank->allTexts();
        QCOMPARE(dlg.sgTrip->cell(2, 3), QStringLiteral("10.123"));
        dlg.bTripReset->click();
        for (int r = 1; r <= 21; ++r) {
            QCOMPARE(dlg.sgTrip->cell(r, 1), QStringLiteral("Empty"));
            for (int c = 2; c < 9; ++c)
                QCOMPARE(dlg.sgTrip->cell(r, c), QString());
        }
        QCOMPARE(dlg.sgTank->allTexts(), refuel);
    }

    void cancelLeavesTheImageAndOkKeepsTheClearings()
    {
        auto model = makeModel();
        const QByteArray image = model->SettingsImage;
        const auto blocks = model->blocks();
        auto clearEverything = [](TMK_ViewJournalsDlg &dlg) {
            dlg.bTripReset->click();
            dlg.bTankReset->click();
            dlg.bErrrJReset->click();
            doubleClick(dlg.sumGrids[1]);
        };

        // Cancel, then Escape: neither the image nor the model keeps anything.
        for (bool escape : {false, true}) {
            const bool confirmed = model->ViewJournals([&](TMK &m) {
                TMK_ViewJournalsDlg dlg(m);
                clearEverything(dlg);
                QTimer::singleShot(0, &dlg, [&dlg, escape] {
                    if (escape)
                        QTest::keyClick(dlg.sgTrip, Qt::Key_Escape);
                    else
                        dlg.CancelBtn->click();
                });
                return dlg.exec() == QDialog::Accepted;
            });
            QVERIFY(!confirmed);
            QCOMPARE(model->SettingsImage, image);
            QVERIFY(model->blocks() == blocks);
        }

        const bool confirmed = model->ViewJournals([&](TMK &m) {
            TMK_ViewJournalsDlg dlg(m);
            clearEverything(dlg);
            QTimer::singleShot(0, &dlg, [&dlg] { dlg.OKBtn->click(); });
            return dlg.exec() == QDialog::Accepted;
        });
        QVERIFY(confirmed);
        QVERIFY(model->SettingsImage != image);
        // Read the image back through a fresh unpack.
        TMK reread;
        reread.SettingsImage = model->SettingsImage;
        reread.UnpackAll();
        for (int r = 0; r < 21; ++r) {
            QVERIFY(JournalRecord::read(reread.block(mem::TripLogBlock), Journal::Trip, r).empty());
            QVERIFY(JournalRecord::read(reread.block(mem::TripLogBlock), Journal::Refuel, r).empty());
        }
        QCOMPARE(ErrorRecord::read(reread.block(mem::ErrorLogBlock), 0).faultCode, 0u);
        QCOMPARE(FreezeFrame::read(reread.block(mem::ErrorLogBlock), 2).faultCode(), 0u);
        QCOMPARE(GetU32(reread.block(mem::TotalsBlock), 16), 0u);
        QCOMPARE(GetU32(reread.block(mem::TotalsBlock), 32), 3600u * 9);
    }

    void entryPointOpensTheViewerOnTheModel()
    {
        auto model = makeModel();
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto *dlg = qobject_cast<TMK_ViewJournalsDlg *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            seen = dlg->isVisible() && dlg->pcMain->currentIndex() == 0;
            dlg->bTankReset->click();
            dlg->OKBtn->click();
        });
        QVERIFY(ShowJournalsViewer(*model, nullptr));
        QVERIFY(seen);
        TMK reread;
        reread.SettingsImage = model->SettingsImage;
        reread.UnpackBlock(mem::TripLogBlock);
        QVERIFY(JournalRecord::read(reread.block(mem::TripLogBlock), Journal::Refuel, 0).empty());
        QVERIFY(!JournalRecord::read(reread.block(mem::TripLogBlock), Journal::Trip, 1).empty());
    }

    // A user's larger font: every text stays whole in its cell and on each page
    // no control covers another or leaves the page.
    void largerFontsLayOutWithoutClipping_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<qreal>("scale");
        for (bool english : {true, false})
            for (qreal scale : {1.0, 1.6})
                QTest::addRow("%s at %d%%", english ? "en" : "ru", qRound(scale * 100)) << english << scale;
    }

    void largerFontsLayOutWithoutClipping()
    {
        QFETCH(bool, english);
        QFETCH(qreal, scale);
        SetEnglishVersion(english);
        const QFont normal = QApplication::font();
        QFont larger = normal;
        larger.setPointSizeF(normal.pointSizeF() * scale);
        QApplication::setFont(larger);
        auto restore = qScopeGuard([&] { QApplication::setFont(normal); });

        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        for (TStringGrid *g : dlg.findChildren<TStringGrid *>()) {
            const QFontMetrics fm(g->font());
            QVERIFY2(g->font().pointSizeF() >= 6.5, qPrintable(g->objectName()));
            QVERIFY2(g->rowHeight(0) >= fm.height(), qPrintable(g->objectName()));
            for (int r = 0; r < g->rowCount(); ++r)
                for (int c = 0; c < g->columnCount(); ++c)
                    QVERIFY2(fm.horizontalAdvance(g->cell(r, c)) + 4 < g->columnWidth(c),
                             qPrintable(QStringLiteral("%1 %2,%3").arg(g->objectName()).arg(r).arg(c)));
        }
        for (int i = 0; i < dlg.pcMain->count(); ++i) {
            dlg.pcMain->setCurrentIndex(i);
            QWidget *page = dlg.pcMain->widget(i);
            QCoreApplication::processEvents();
            QList<QRect> placed;
            for (QWidget *w : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (!w->isVisible())
                    continue;
                const QRect r = w->geometry();
                QVERIFY2(page->rect().contains(r), qPrintable(w->objectName()));
                for (const QRect &other : placed)
                    QVERIFY2(!other.intersects(r), qPrintable(w->objectName()));
                placed << r;
            }
        }
        for (QPushButton *b : dlg.findChildren<QPushButton *>())
            QVERIFY2(b->width() >= b->sizeHint().width() && b->height() >= b->sizeHint().height(),
                     qPrintable(b->text()));
    }

    void exportedFileByteForByte()
    {
        SetEnglishVersion(false);
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("trip.txt"));
        QString askedIn;
        dlg.setFileNameProvider([&](QWidget *, const QString &folder) {
            askedIn = folder;
            return path;
        });
        dlg.bTrip->click();
        QVERIFY(askedIn != QCoreApplication::applicationDirPath());
        dlg.bTrip->click();
        QCOMPARE(askedIn, dir.path()); // where the last export went

        QByteArray expected = cp1251(
            QStringLiteral("#\tДата и время записи\tВремя в пути\tПробег, км\tРасход топлива, л\tСр. скорость, км/час\t"
                           "Ср. расход на 100 км\tСр. расход в час\tСтоимость\t\r\n"
                           "Посл.\tПусто\t\t\t\t\t\t\t\t\r\n"
                           "1\t08:17   15.11\t34:17\t10.123\t1.246\t0\t12.3\t0.04\t61.2\t\r\n"));
        for (int r = 2; r <= 20; ++r)
            expected += cp1251(QStringLiteral("%1\tПусто\t\t\t\t\t\t\t\t\r\n").arg(r));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
    }

    void exportUsesTheLocaleSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("refuel"));
        QVERIFY(dlg.saveGrid(dlg.sgTank, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 23);
        QCOMPARE(lines[1], QByteArray("Last\t10:22   5.01\t34:17\t100,456\t5,734\t3\t5,7\t0,17\t443,3\t\r"));
    }

    void failedSaveIsReported()
    {
        auto model = makeModel();
        TMK_ViewJournalsDlg dlg(*model);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no/such/folder/trip.txt"));
        QVERIFY(!dlg.saveGrid(dlg.sgTrip, missing));
        QVERIFY(!dlg.saveErrorJournal(missing));
        const QStringList errors = g_boxes.texts(TMessageKind::Error);
        QCOMPARE(errors.size(), 2);
        for (const QString &text : errors)
            QVERIFY2(text.startsWith(missing + QLatin1Char('\n')), qPrintable(text));
        QVERIFY(!QFile::exists(missing));
    }

    // Every action that erases asks first, naming the journal with its records
    // in use or the table by its title; No changes nothing, Yes clears, and an
    // action with nothing left to erase asks nothing.
    void clearingAsksFirst_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("russian");
        QTest::newRow("trip") << 0 << "Clear the trip journal (21 records)?"
                              << "Очистить журнал поездок (21 запись)?";
        QTest::newRow("refuel") << 1 << "Clear the refuelling journal (3 records)?"
                                << "Очистить журнал заправок (3 записи)?";
        QTest::newRow("faults") << 2 << "Clear the fault journal (5 records) with its freeze frames?"
                                << "Очистить журнал ошибок (5 записей) вместе со стоп-кадрами?";
        const char *titles[][2] = {{"Cumulative / General", "Накопительные / Общие"},
                                   {"Trip", "Поездка"},
                                   {"Reset 1", "Сброс 1"},
                                   {"Jams", "Пробки"},
                                   {"Traffic", "Без пробок"},
                                   {"Reset 2 (between gas stations)", "Сброс 2 ( Между заправками )"},
                                   {"Petrol only", "Только бензин"},
                                   {"Gas only", "Только газ"}};
        for (int k = 0; k < kSumGroupCount; ++k)
            QTest::addRow("sums %d", k)
                << 3 + k << QStringLiteral("Reset the totals \"%1\"?").arg(titles[k][0])
                << QStringLiteral("Сбросить накопители «%1»?").arg(QString::fromUtf8(titles[k][1]));
    }

    void clearingAsksFirst()
    {
        QFETCH(int, action);
        QFETCH(QString, english);
        QFETCH(QString, russian);
        for (bool inEnglish : {true, false}) {
            SetEnglishVersion(inEnglish);
            auto model = makeSampleModel();
            TMK_ViewJournalsDlg dlg(*model);
            const auto blocks = model->blocks();

            g_boxes = Boxes();
            g_boxes.answer = TAnswer::No;
            runClearAction(dlg, action);
            QCOMPARE(g_boxes.texts(TMessageKind::Question), QStringList{inEnglish ? english : russian});
            QVERIFY(model->blocks() == blocks);

            g_boxes = Boxes();
            runClearAction(dlg, action);
            QCOMPARE(g_boxes.texts(TMessageKind::Question).size(), 1);
            TMK expected;
            std::copy(blocks.begin(), blocks.end(), expected.block(mem::TotalsBlock)); // the first block
            clearLikeAction(expected, action);
            QVERIFY(model->blocks() == expected.blocks());
            QVERIFY(model->blocks() != blocks);

            g_boxes = Boxes();
            runClearAction(dlg, action);
            QVERIFY(g_boxes.shown.isEmpty());
        }
    }

    // The fault journal's export: the core's rows in the trip export's form,
    // one line per freeze-frame row with the record repeated.
    void faultExportFromTheViewer()
    {
        auto model = makeSampleModel();
        TMK_ViewJournalsDlg dlg(*model);
        QCOMPARE(dlg.bErr->text(), QStringLiteral("Save to file"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("faults.txt"));
        dlg.setFileNameProvider([&](QWidget *, const QString &) { return path; });
        dlg.bErr->click();
        const QByteArray bytes = fileBytes(path);
        QCOMPARE(bytes,
                 JournalExportBytes(ErrorJournalExport(*model, JournalFaultFormat(*model), QStringLiteral("."))));

        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines[0], QByteArray("#\tTime\tTrouble code\tFreeze frame parameter\tValue\t\r"));
        QCOMPARE(lines[1], QByteArray("0\t7:45 12.11\t0171\tTrouble code\tP0171\t\r"));
        QCOMPARE(lines[2], QByteArray("0\t7:45 12.11\t0171\tFuel system 1 status\tClosed loop(O2 sens)\t\r"));
        QCOMPARE(lines[4], QByteArray("0\t7:45 12.11\t0171\tCalc.engine load, %\t22\t\r"));
        // Five records in use (2 and 6 are empty), each with a frame of 30 rows
        // as the grid shows it; every line has five tab-terminated cells.
        const int frameRows = 30;
        QCOMPARE(dlg.sgStopCadr->rowCount(), frameRows);
        QCOMPARE(lines.size(), 1 + 5 * frameRows + 1);
        QCOMPARE(lines.last(), QByteArray());
        QByteArray numbers;
        for (int l = 1; l < lines.size() - 1; ++l) {
            QVERIFY(lines[l].endsWith("\t\r") && lines[l].count('\t') == 5);
            if (!numbers.endsWith(lines[l][0]))
                numbers += lines[l][0];
        }
        QCOMPARE(numbers, QByteArray("01345"));
        QCOMPARE(lines[1 + 2 * frameRows], QByteArray("3\t12:36 31.10\t0130\tTrouble code\tP0130\t\r"));
    }

    // tripctl prints the same export for the same settings file: byte for byte
    // with --encoding cp1251, the same text in UTF-8 without it.
    void tripctlPrintsTheViewersFaultExport()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("samples.kelmg"));
        const QString saved = dir.filePath(QStringLiteral("faults.txt"));
        auto model = makeSampleModel();
        SaveSettingsFile(*model, settings);
        for (bool inEnglish : {true, false}) {
            SetEnglishVersion(inEnglish);
            TMK_ViewJournalsDlg dlg(*model);
            QVERIFY(dlg.saveErrorJournal(saved));
            const QByteArray viewer = fileBytes(saved);
            const QString lang = inEnglish ? QStringLiteral("en") : QStringLiteral("ru");
            const ToolRun exact = RunTripctl({"journal", settings, "--errors", "--lang", lang, "--encoding", "cp1251"});
            QCOMPARE(exact.exitCode, 0);
            QCOMPARE(exact.out, viewer);
            const ToolRun text = RunTripctl({"journal", settings, "--errors", "--lang", lang});
            QCOMPARE(text.exitCode, 0);
            QCOMPARE(QString::fromUtf8(text.out), FromCp1251(viewer));
        }
    }
};

QTEST_MAIN(ViewerTest)
#include "test_viewer.moc"
