// The settings editor driven as a user drives it, on the offscreen platform.
#include "accessible_names.h"
#include "blocks.h"
#include "display_pages.h"
#include "editor_pages.h"
#include "capabilities.h"
#include "field_binder.h"
#include "field_schema.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "setparamsdlg.h"
#include "test_models.h"
#include "tmk.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

constexpr uint16_t kUnlisted = 0x1234;

// Opens the editor through the model's edit operation, as the program does;
// `drive` works on the shown dialog and ends it with OK or Cancel.
bool edit(TMK &m, const std::function<void(TMK_SetParamsDlg &)> &drive)
{
    return m.EditSettings([&](TMK &model) {
        TMK_SetParamsDlg dialog(model, Catalog());
        dialog.show();
        drive(dialog);
        return dialog.result() == QDialog::Accepted;
    });
}

TFieldControl *control(TMK_SetParamsDlg &d, const char *name) { return d.binder().find(QLatin1String(name)); }

// Shown on its page (the page itself may be another than the current one).
bool shown(TMK_SetParamsDlg &d, const char *name)
{
    QWidget *w = control(d, name)->widget();
    for (const char *page : {"tsCorr", "tsMeth", "tsLim"})
        if (d.page(QLatin1String(page))->isAncestorOf(w))
            return w->isVisibleTo(d.page(QLatin1String(page)));
    return false;
}

QString tabText(TMK_SetParamsDlg &d, const char *name)
{
    QWidget *page = d.findChild<QWidget *>(QLatin1String(name));
    for (QTabWidget *tabs : d.findChildren<QTabWidget *>())
        if (const int i = tabs->indexOf(page); i >= 0)
            return tabs->tabText(i);
    return {};
}

constexpr QSize kDesigned(1021, 599);

// Each page and sub-page shown (and each tab of a page's own page control)
// needs no more than the room the dialog's designed size leaves it.
void expectEveryPageFits(TMK_SetParamsDlg &d)
{
    std::function<void(QTabWidget *)> visit = [&](QTabWidget *tabs) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i))
                continue;
            tabs->setCurrentIndex(i);
            QWidget *page = tabs->widget(i);
            QCoreApplication::processEvents();
            const QSize room = kDesigned - (d.size() - page->size());
            const QSize least = page->minimumSizeHint();
            const QByteArray what = page->objectName().toLatin1() + (EnglishVersion() ? " (en)" : " (ru)") + " needs " +
                                    QByteArray::number(least.width()) + "x" + QByteArray::number(least.height());
            QVERIFY2(least.width() <= room.width() && least.height() <= room.height(), what.constData());
            // Each preview shows the whole device screen, at a whole factor.
            for (TPreviewBox *box : page->findChildren<TPreviewBox *>())
                if (box->isVisible())
                    QVERIFY2(
                        QRect(QPoint(), box->size()).contains(QRect(QPoint(), box->minimumSizeHint() * box->factor())),
                        qPrintable(box->objectName()));
            for (QTabWidget *own : page->findChildren<QTabWidget *>(Qt::FindDirectChildrenOnly))
                visit(own);
        }
        tabs->setCurrentIndex(0);
    };
    visit(d.pcMain);
}

void leave(QWidget *w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(w, &out);
}

} // namespace

class TestEditorDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { SetEnglishVersion(false); }

    // Without it a page of the table would open blank, or the dialog not at all.
    void everyContentPageHasOneFactory()
    {
        const QStringList faults = PageFactoryFaults();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    void pagesAndControlsFollowTheDevice_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("index"); // the stored protocol index
        QTest::addColumn<bool>("park");
        QTest::addColumn<bool>("blocks");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<bool>("v24");
        QTest::addColumn<bool>("gas");
        QTest::addColumn<bool>("selected"); // cbProtocol selects the stored index
        QTest::newRow("0xC000") << 0xC000 << 1 << true << true << false << false << true << true;
        QTest::newRow("0x5800 trim, no radar, no gas")
            << 0x5800 << 0 << false << false << true << false << false << true;
        QTest::newRow("0x8082") << 0x8082 << 0 << true << true << false << false << true << true;
        QTest::newRow("0xC010 24 V") << 0xC010 << 0 << true << true << false << true << true << true;
        QTest::newRow("unlisted type") << int(kUnlisted) << 0 << true << false << false << false << true << false;
        QTest::newRow("index past the list") << 0xC000 << 200 << true << true << false << false << true << false;
        QTest::newRow("index past 255") << 0xC000 << 300 << true << true << false << false << true << false;
    }
    void pagesAndControlsFollowTheDevice()
    {
        QFETCH(int, type);
        QFETCH(int, index);
        QFETCH(bool, park);
        QFETCH(bool, blocks);
        QFETCH(bool, trim);
        QFETCH(bool, v24);
        QFETCH(bool, gas);
        QFETCH(bool, selected);
        for (const bool english : {false, true}) {
            SetEnglishVersion(english);
            auto m = MakeModel(static_cast<uint16_t>(type), index);
            edit(*m, [&](TMK_SetParamsDlg &d) {
                QCOMPARE(d.pcMain->count(), 12);
                QCOMPARE(d.pageShown(QStringLiteral("tsPark")), park);
                QCOMPARE(d.pageShown(QStringLiteral("tsBlocks")), blocks);
                QCOMPARE(d.pageShown(QStringLiteral("tsUniMeas")), trim);
                QVERIFY(!d.pageShown(QStringLiteral("tsServiceInfo")));
                QCOMPARE(d.pcDisp->count(), 10);
                QCOMPARE(d.pcDisp->widget(9)->objectName(), QStringLiteral("tsDivers"));
                QCOMPARE(d.pcVoice->count(), 2);
                QCOMPARE(d.pcMain->currentWidget(), d.page(QStringLiteral("tsCorr")));

                QCOMPARE(d.findChild<QGroupBox *>(QStringLiteral("gbTrim"))->isVisibleTo(d.page("tsLim")), trim);
                QCOMPARE(shown(d, "rg24VMode"), v24);
                QVERIFY(!control(d, "rg24VMode")->widget()->isEnabled());
                QCOMPARE(shown(d, "seGazContFull"), gas);
                auto *protocol = qobject_cast<QComboBox *>(control(d, "cbProtocol")->widget());
                QCOMPARE(protocol->currentIndex(), selected ? index : -1);
                QCOMPARE(protocol->count(), int(Catalog().protocolList().size()));
                // Without a protocol the user can pick one; what needs one is hidden.
                QCOMPARE(shown(d, "cbProtocol"),
                         !selected || d.binder().find("cbProtocolSelectMeth")->state().index == protocol->count() - 1);
                QCOMPARE(shown(d, "seLiqTemperLimit"), selected);
                QCOMPARE(d.findChild<QLabel *>(QStringLiteral("lProtocolOptions"))->isVisibleTo(d.page("tsMeth")),
                         selected);

                // Every page fits: the dialog keeps its designed size.
                QCOMPARE(d.size(), kDesigned);
                expectEveryPageFits(d);
                d.reject();
            });
        }
    }

    // On every model the dialog shows the tabs the page table gives it, and
    // each row it shows has its control, made by the binder under the row's
    // name, and no other control of that name on the page the row names: a
    // page that leaves a row out, binds it on another page or renames it
    // shows it nowhere, or where nobody looks.
    void everyShownRowIsBoundOnItsPage()
    {
        std::vector<CapabilitySet> seen;
        for (const ModelInfo &info : ModelTable()) {
            if (std::find(seen.begin(), seen.end(), info.caps) != seen.end())
                continue;
            seen.push_back(info.caps);
            auto m = MakeModel(info.deviceType);
            edit(*m, [&](TMK_SetParamsDlg &d) {
                for (const ed::PageInfo &p : ed::PageTable())
                    QVERIFY2(d.pageShown(p.id) == ed::PageShown(p.id, info.caps),
                             qPrintable(QString::number(info.deviceType, 16) + QLatin1Char(' ') + p.objectName));
                for (const ed::FieldRow &row : ed::FieldSchema()) {
                    const QString name = QLatin1String(row.name);
                    const QString where = QString::number(info.deviceType, 16) + QLatin1Char(' ') + name;
                    TFieldControl *c = d.binder().find(name);
                    if (!c) {
                        QVERIFY2(!ed::EvaluateField(*m, Catalog(), row).visible, qPrintable(where + " has no control"));
                        continue;
                    }
                    QWidget *page = d.page(row.page);
                    QVERIFY2(page, qPrintable(where + " is on no page of the dialog"));
                    const QList<QWidget *> named = page->findChildren<QWidget *>(name);
                    QVERIFY2(named == QList<QWidget *>{c->widget()},
                             qPrintable(where + QStringLiteral(": %1 widgets of that name on %2; the bound one is %3")
                                                    .arg(named.size())
                                                    .arg(page->objectName(),
                                                         page->isAncestorOf(c->widget()) ? "on it" : "elsewhere")));
                }
                d.reject();
            });
        }
    }

    // Every shown control of every page, in both languages, on the model
    // with the most pages.
    void everyControlHasAnAccessibleName()
    {
        for (const bool english : {false, true}) {
            SetEnglishVersion(english);
            auto m = MakeModel(0xC000);
            edit(*m, [&](TMK_SetParamsDlg &d) {
                QStringList unnamed;
                auto *pages = d.findChild<QTabWidget *>(QStringLiteral("pcMain"));
                QVERIFY(pages);
                const std::function<void(QTabWidget *)> visit = [&](QTabWidget *tabs) {
                    for (int i = 0; i < tabs->count(); ++i) {
                        if (!tabs->isTabVisible(i))
                            continue;
                        tabs->setCurrentIndex(i);
                        QWidget *page = tabs->widget(i);
                        for (const QString &u : UnnamedControls(page))
                            if (!unnamed.contains(u))
                                unnamed << page->objectName() + QLatin1Char(' ') + u;
                        for (QTabWidget *inner : page->findChildren<QTabWidget *>(Qt::FindDirectChildrenOnly))
                            visit(inner);
                    }
                };
                visit(pages);
                unnamed << UnnamedControls(&d).filter(QStringLiteral("Btn"));
                QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
                d.reject();
            });
        }
    }

    // The shown displays of x1 are one check box per parameter of the
    // protocol: the longest list still fits.
    void theLongestParameterListFits()
    {
        for (const bool english : {false, true}) {
            SetEnglishVersion(english);
            auto m = MakeModel(0x8082); // its catalog has the longest list
            edit(*m, [&](TMK_SetParamsDlg &d) {
                const auto &list = Catalog().protocolList();
                const auto longest = std::max_element(list.begin(), list.end(), [](const auto &a, const auto &b) {
                    return a->DisplayParams.size() < b->DisplayParams.size();
                });
                QVERIFY((*longest)->DisplayParams.size() >= 35);
                QVERIFY(d.binder().storeItem(QStringLiteral("cbProtocol"), int(longest - list.begin())));
                const QString last = QStringLiteral("cbShowDisp_1_%1").arg((*longest)->DisplayParams.size() - 1);
                QVERIFY(!d.findChild<QCheckBox *>(last)->isHidden());
                QCOMPARE(d.size(), kDesigned);
                expectEveryPageFits(d);
                d.reject();
            });
        }
    }

    void captionsInBothLanguages()
    {
        struct Caption {
            const char *what, *ru, *en;
        };
        const Caption captions[] = {
            {"title", "Настройки МК", "Device settings"},
            {"tsCorr", "Поправки", "Correction"},
            {"tsLim", "Границы", "Limits"},
            {"tsPark", "Парковка", "Parktronic"},
            {"tsBlocks", "Допсистемы", "Add.systems"},
            {"tsParams1", "Дисплеи х1", "Displays x 1"},
            {"tsAlerts", "Предупреждения", "Warnings"},
            {"tsSounds", "Разное", "Divers"},
            {"tsInfoPanel", "Доп.панель", "Add. panel"},
            {"tsColorGraph", "Графики", "Graphs"},
            {"tsColorArrow", "Стрелочный дисплей", "Dial display"},
            {"bTOSave", "Сохранить настройки ТО в файл", "Save maintenance settings to a file"},
            {"bTOLoad", "Считать настройки ТО из файла", "Load maintenance settings from a file"},
            {"lAlertModes", "Режимы: О — откл., Н — нет звука, Б — бип, М — мелодия, Г — голос",
             "Modes: O — off, N — no sound, B — beep, M — melody, V — voice"},
            {"lVelocityCorr", "Скорость, %", "Speed, %"},
            {"lProtocolOptions", "Дополнительные настройки протокола", "Additional protocol settings"},
            {"rgLockType0", "Физич.", "Phys."},
            {"CancelBtn", "Отмена", "Cancel"},
        };
        for (const bool english : {false, true}) {
            SetEnglishVersion(english);
            auto m = MakeModel(0xC000, 11); // CAN: options to head
            edit(*m, [&](TMK_SetParamsDlg &d) {
                for (const Caption &c : captions) {
                    const QString name = QLatin1String(c.what);
                    QString text;
                    if (name == QLatin1String("title"))
                        text = d.windowTitle();
                    else if (name.startsWith(QLatin1String("ts")))
                        text = tabText(d, c.what);
                    else if (auto *label = d.findChild<QLabel *>(name))
                        text = label->text();
                    else if (auto *button = d.findChild<QAbstractButton *>(name))
                        text = button->text();
                    QCOMPARE(text, QString::fromUtf8(english ? c.en : c.ru));
                }
                d.reject();
            });
        }
    }

    void typedValueIsStoredWithItsScaleWhenLeft()
    {
        auto m = MakeModel(0xC000);
        edit(*m, [&](TMK_SetParamsDlg &d) {
            auto *spin = qobject_cast<QDoubleSpinBox *>(control(d, "seVelocityCorr")->widget());
            spin->findChild<QLineEdit *>()->selectAll();
            QTest::keyClicks(spin, QStringLiteral("5,0").replace(QLatin1Char(','), spin->locale().decimalPoint()));
            QCOMPARE(GetF32(m->block(mem::LimitsBlock), 60), 1.0f); // nothing until it is left
            leave(spin);
            QCOMPARE(GetF32(m->block(mem::LimitsBlock), 60), 1.05f);

            d.reject();
        });
    }

    void rangeErrorKeepsTheFieldAndTheDialog()
    {
        auto m = MakeModel(0xC000);
        edit(*m, [&](TMK_SetParamsDlg &d) {
            const int32_t before = GetI32(m->block(mem::TotalsBlock), 148);
            QString shownText;
            QTimer::singleShot(0, &d, [&shownText] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    shownText = box->text();
                    box->accept();
                }
            });
            QVERIFY(!d.binder().storeNumber(QStringLiteral("seAllTimeStart"), 3e9)); // past int32
            QVERIFY(shownText.startsWith(QStringLiteral("Ошибка диапазона")));
            QCOMPARE(GetI32(m->block(mem::TotalsBlock), 148), before);
            QCOMPARE(qobject_cast<QDoubleSpinBox *>(control(d, "seAllTimeStart")->widget())->value(), double(before));
            QVERIFY(d.isVisible());
            d.reject();
        });
    }

    // A number typed past the range is refused with the range, not dropped; the
    // arrows stop at its ends. Controls kept elsewhere say where.
    void typedPastTheRangeIsRefusedAndUnplacedSayWhere()
    {
        auto m = MakeModel(0xC000);
        edit(*m, [&](TMK_SetParamsDlg &d) {
            const auto before = m->blocks();
            auto *spin = qobject_cast<QDoubleSpinBox *>(control(d, "seSoundVolume")->widget());
            QString shownText;
            QTimer::singleShot(0, &d, [&shownText] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    shownText = box->text();
                    box->accept();
                }
            });
            spin->findChild<QLineEdit *>()->selectAll();
            QTest::keyClicks(spin, QStringLiteral("12"));
            leave(spin);
            QVERIFY2(shownText.contains(QStringLiteral("0..8")), qPrintable(shownText));
            QCOMPARE(m->blocks(), before);
            spin->setValue(8);
            spin->stepUp();
            QCOMPARE(spin->value(), 8.0);

            auto *use = d.findChild<QWidget *>(QStringLiteral("cbParkUse0"));
            QVERIFY(!use->isEnabled());
            QVERIFY2(use->toolTip().contains(QStringLiteral("\"Парктроник Вкл/Откл\"")), qPrintable(use->toolTip()));
            QVERIFY(d.findChild<QWidget *>(QStringLiteral("seParkFarkopLen"))
                        ->toolTip()
                        .contains(QStringLiteral("нет пункта")));
            d.reject();
        });
    }

    void anotherProtocolClearsTheOptionsAndRefillsTheirBoxes()
    {
        auto m = MakeModel(0xC000, 11, [](TMK &t) {
            for (int g = 0; g < 8; ++g)
                SetU8(t.block(mem::VehicleBlock), 12 + g, 1);
        });
        edit(*m, [&](TMK_SetParamsDlg &d) {
            auto *method = qobject_cast<QComboBox *>(control(d, "cbProtocolSelectMeth")->widget());
            method->setCurrentIndex(method->count() - 1);
            emit method->activated(method->count() - 1); // "Руч."
            QVERIFY(shown(d, "cbProtocol"));
            QVERIFY(shown(d, "cbProtTypeAdd2")); // CAN offers list 2

            auto *protocol = qobject_cast<QComboBox *>(control(d, "cbProtocol")->widget());
            protocol->setCurrentIndex(0);                         // M74CAN
            QCOMPARE(GetU16(m->block(mem::VehicleBlock), 4), 11); // stored when left
            leave(protocol);
            QCOMPARE(GetU16(m->block(mem::VehicleBlock), 4), 0);
            QCOMPARE(m->SecondProtocolIndex, 0);
            for (int g = 0; g < 8; ++g)
                QCOMPARE(GetU8(m->block(mem::VehicleBlock), 12 + g), 0);
            const TProtBase &m74 = *Catalog().protocolList()[0];
            auto *fan = qobject_cast<QComboBox *>(control(d, "cbProtTypeAdd1")->widget());
            QStringList items;
            for (int i = 0; i < fan->count(); ++i)
                items << fan->itemText(i);
            QCOMPARE(items, m74.offeredItems(1));
            QCOMPARE(fan->currentIndex(), 0);
            QCOMPARE(control(d, "cbProtTypeAdd1")->label()->text(), m74.OptionCaption[1]);
            QVERIFY(!shown(d, "cbProtTypeAdd2"));
            d.reject();
        });
    }

    void cancelLeavesEveryBlockAsItWasAndOkPacksThem()
    {
        enum End { Cancel, Escape, CloseBox, Ok };
        for (const End end : {Cancel, Escape, CloseBox, Ok}) {
            const bool ok = end == Ok;
            auto m = MakeModel(0xC000);
            const QByteArray image = m->SettingsImage;
            const auto blocks = m->blocks();
            const bool confirmed = edit(*m, [&](TMK_SetParamsDlg &d) {
                TFieldBinder &b = d.binder();
                QVERIFY(b.storeNumber(QStringLiteral("seVelocityCorr"), -5.0)); // tsCorr
                control(d, "rgLockType")->radioButtons()[1]->click();           // tsMeth
                QVERIFY(b.storeNumber(QStringLiteral("seTankContFull"), 70));
                QVERIFY(b.storeItem(QStringLiteral("cbProtocol"), 11));
                QVERIFY(b.storeNumber(QStringLiteral("seTankLimit"), 15)); // tsLim
                QVERIFY(m->blocks() != blocks);
                if (end == Cancel)
                    d.CancelBtn->click();
                else if (end == Escape)
                    QTest::keyClick(control(d, "seTankLimit")->widget(), Qt::Key_Escape);
                else if (end == CloseBox)
                    d.close();
                else
                    d.OKBtn->click();
                QVERIFY(!d.isVisible());
            });
            QCOMPARE(confirmed, ok);
            if (!ok) {
                QVERIFY(m->blocks() == blocks);
                QCOMPARE(m->SettingsImage, image);
                continue;
            }
            TMK check;
            check.SettingsImage = m->SettingsImage;
            check.UnpackAll();
            QCOMPARE(GetF32(check.block(mem::LimitsBlock), 60), 0.95f);
            QCOMPARE(GetU32(check.block(mem::LimitsBlock), 0) & 1u, 1u);
            QCOMPARE(GetI16(check.block(mem::FuelBlock), 44), int16_t(70));
            QCOMPARE(GetU16(check.block(mem::VehicleBlock), 4), uint16_t(11));
            QCOMPARE(GetU8(check.block(mem::LimitsBlock), 6), uint8_t(15));
        }
    }

    void enterOnTheProtocolBoxStoresItBeforeClosing()
    {
        auto m = MakeModel(0xC000, 0, [](TMK &t) { SetU8(t.block(mem::VehicleBlock), 8, 4); }); // "Руч."
        const bool confirmed = edit(*m, [&](TMK_SetParamsDlg &d) {
            d.pcMain->setCurrentWidget(d.page(QStringLiteral("tsMeth")));
            auto *protocol = qobject_cast<QComboBox *>(control(d, "cbProtocol")->widget());
            QVERIFY(protocol->isVisible());
            protocol->setFocus();
            protocol->setCurrentIndex(11);
            QTest::keyClick(protocol, Qt::Key_Return);
        });
        QVERIFY(confirmed);
        TMK check;
        check.SettingsImage = m->SettingsImage;
        check.UnpackAll();
        QCOMPARE(GetU16(check.block(mem::VehicleBlock), 4), uint16_t(11));
    }

    void aHalfTypedTimeRefusedByOkKeepsTheDialogOpen()
    {
        auto m = MakeModel(0xC000);
        edit(*m, [&](TMK_SetParamsDlg &d) {
            QStringList refusals;
            d.binder().setErrorReporter([&refusals](const QString &text) { refusals << text; });
            TFieldControl *time = control(d, "meIntenseDayTime");
            QVERIFY(time);
            time->widget()->setFocus();
            qobject_cast<QLineEdit *>(time->widget())->setText(QStringLiteral("12"));
            d.OKBtn->click();
            QCOMPARE(refusals.size(), 1);
            QVERIFY(d.isVisible());
            d.reject();
        });
    }

    // OK by Enter leaves no control: a name or date typed into the focused edit
    // is stored before the dialog closes.
    void okStoresWhatTheFocusedTextOrDateEditShows()
    {
        auto m = MakeModel(0xC000);
        QVERIFY(edit(*m, [&](TMK_SetParamsDlg &d) {
            d.pcMain->setCurrentWidget(d.page(QStringLiteral("tsTO")));
            auto *name = qobject_cast<QLineEdit *>(control(d, "eForsTOCntK")->widget());
            QVERIFY(name && name->isVisible());
            name->setFocus();
            name->setText(QStringLiteral("Свечи"));
            d.OKBtn->click();
        }));
        QVERIFY(edit(*m, [&](TMK_SetParamsDlg &d) {
            d.pcMain->setCurrentWidget(d.page(QStringLiteral("tsTO")));
            auto *date = qobject_cast<QDateEdit *>(control(d, "deTO")->widget());
            QVERIFY(date && date->isVisible());
            date->setFocus();
            date->setDate(QDate(2030, 1, 15));
            d.OKBtn->click();
        }));
        TMK check;
        check.SettingsImage = m->SettingsImage;
        check.UnpackAll();
        const char *slot = reinterpret_cast<const char *>(check.block(mem::ServiceBlock)) + 52;
        QCOMPARE(QByteArray(slot, 6), QByteArray("\xD1\xE2\xE5\xF7\xE8\0", 6));
        const TDate stored = DateOfDayNumber(GetU16(check.block(mem::ServiceBlock), 8));
        QCOMPARE(stored.day, 15);
        QCOMPARE(stored.month, 1);
        QCOMPARE(stored.year % 100, 30);
    }

    void theSystemsPageMarksItselfActive()
    {
        auto m = MakeModel(0xC000);
        edit(*m, [&](TMK_SetParamsDlg &d) {
            QVERIFY(!d.context().systemsPageActive);
            d.pcMain->setCurrentWidget(d.page(QStringLiteral("tsBlocks")));
            QVERIFY(d.context().systemsPageActive);
            d.pcMain->setCurrentWidget(d.page(QStringLiteral("tsLim")));
            QVERIFY(!d.context().systemsPageActive);
            d.reject();
        });
    }
};

QTEST_MAIN(TestEditorDialog)
#include "test_editor_dialog.moc"
