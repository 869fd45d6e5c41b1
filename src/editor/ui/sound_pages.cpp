#include "sound_pages.h"

#include "field_binder.h"
#include "language.h"
#include "page_table.h"
#include "tank_pages.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The alert table in the order of the alert numbers: the first-occurrence
// group and, where the alert has one, the following-occurrence group.
struct AlertRow {
    const char *first;
    const char *next;
};

const AlertRow kAlerts[] = {
    {"rgapUAccHigh_F", "rgapUAccHigh_N"},
    {"rgapUAccLow_F", "rgapUAccLow_N"},
    {"rgapVel_F", "rgapVel_N"},
    {"rgapRev_F", "rgapRev_N"},
    {"rgapTank_F", "rgapTank_N"},
    {"rgapHolo_F", "rgapHolo_N"},
    {"rgapTO_F", nullptr},
    {"rgap100_F", "rgap100_N"},
    {"rgap100Down_F", "rgap100Down_N"},
    {"rgapError_F", nullptr},
    {"rgapLiqTempHigh_F", "rgapLiqTempHigh_N"},
    {"rgapEconom_F", "rgapEconom_N"},
    {"rgapGabar_F", nullptr},
    {"rgapTankFull_F", nullptr},
    {"rgapInjTime_F", nullptr},
    {"rgapLiqTempReady_F", nullptr},
    {"rgapLights_F", nullptr},
    {"rgapSFilter_F", nullptr},
    {"rgapWaterInFuel_F", "rgapWaterInFuel_N"},
    {"rgapTemperOilAKPPHigh_F", "rgapTemperOilAKPPHigh_N"},
    {"rgapTemperOilEngHigh_F", "rgapTemperOilEngHigh_N"},
    {"rgapCVTFDeterior_F", nullptr},
    {"rgapHVBTemperHigh_F", "rgapHVBTemperHigh_N"},
    {"rgapInvTemperHigh_F", "rgapInvTemperHigh_N"},
    {"rgapElEngTemperHigh_F", "rgapElEngTemperHigh_N"},
    {"rgapTrimLow_F", "rgapTrimLow_N"},
    {"rgapTrimHigh_F", "rgapTrimHigh_N"},
    {"rgapEngTemperHigh_F", "rgapEngTemperHigh_N"},
    {"rgapRetarderOilTemperHigh_F", "rgapRetarderOilTemperHigh_N"},
};
// The alerts stand in one column while they fit the page's height, else in two.
constexpr int kAlertColumns = 2;
constexpr int kAlertsInOneColumn = 20;

void addForm(QFormLayout *form, TFieldBinder &b, const char *name, QWidget *parent) { b.addTo(form, name, parent); }

// A disabled stand-in for a control whose place in the device's memory this
// version does not know.
// version does not know; `menuItem` is the device menu item that sets it.
QWidget *unplaced(QWidget *w, const char *name, const char *menuItem = nullptr)
{
    w->setObjectName(QLatin1String(name));
    ShowUnplaced(w, menuItem);
    return w;
}

QDoubleSpinBox *unplacedSpin(const char *name, int min, int max)
{
    auto *spin = new QDoubleSpinBox;
    spin->setDecimals(0);
    spin->setRange(min, max);
    spin->setAlignment(Qt::AlignRight);
    unplaced(spin, name);
    return spin;
}

// A label of a form row that tells what its control tells.
void sameToolTip(QFormLayout *form, QWidget *control)
{
    if (auto *label = form->labelForField(control))
        label->setToolTip(control->toolTip());
}

} // namespace

// ---- tsVoice -----------------------------------------------------------------------

TSoundsPage::TSoundsPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    TFieldBinder &b = context.binder;

    auto *alerts = new QWidget;
    alerts->setObjectName(QStringLiteral("alertTable"));
    auto *alertsBox = new QVBoxLayout(alerts);
    m_table = new QGridLayout;
    alertsBox->addLayout(m_table);
    auto *legend = new QLabel(ed::AlertModeLegend());
    legend->setObjectName(QStringLiteral("lAlertModes"));
    legend->setWordWrap(true);
    alertsBox->addWidget(legend);
    alertsBox->addStretch(1);
    m_table->setVerticalSpacing(2);
    m_table->setHorizontalSpacing(12);
    m_table->setColumnStretch(3 * kAlertColumns, 1);
    for (int col = 0; col < kAlertColumns; ++col) {
        const QList<QLabel *> headings{new QLabel(LangText("Warning", "Предупреждение")),
                                       new QLabel(LangText("First", "Первое")),
                                       new QLabel(LangText("Next", "Последующие"))};
        for (int k = 0; k < 3; ++k)
            m_table->addWidget(headings[k], 0, 3 * col + k);
        if (col > 0)
            m_secondHeadings << headings[0] << headings[1] << headings[2];
    }
    for (const AlertRow &alert : kAlerts) {
        TFieldControl *first = b.control(alert.first, alerts);
        first->setTableCell(true);
        auto *label = new QLabel(alerts);
        label->setObjectName(QStringLiteral("l") + QLatin1String(alert.first).chopped(2).mid(2));
        QWidget *next = nullptr;
        if (alert.next) {
            TFieldControl *n = b.control(alert.next, alerts);
            n->setTableCell(true);
            next = n->widget();
        }
        m_lines.push_back({label, first, next});
    }
    auto *scroll = new QScrollArea; // the sub-page itself, for the dialog and its pictures
    scroll->setWidget(alerts);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    auto *sounds = new QWidget;
    auto *form = new QFormLayout;
    for (const char *name : {"seSoundVolume", "rgFlagSound", "rgSayHelloMode", "seSayParamPeriod",
                             "seAlarmVelSecNoSayMax", "seSayEconomPeriod", "cbSoundKeys", "cbSoundLock"})
        addForm(form, b, name, sounds);
    auto *soundsBox = new QHBoxLayout(sounds);
    soundsBox->addLayout(form);
    soundsBox->addStretch();

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QLatin1String(ed::PageOf(ed::Page::Sounds).subTabs));
    const std::pair<ed::Page, QWidget *> parts[] = {{ed::Page::Alerts, scroll}, {ed::Page::SoundSettings, sounds}};
    for (const auto &[part, widget] : parts) {
        widget->setObjectName(QLatin1String(ed::PageName(part)));
        m_tabs->addTab(widget, ed::PageCaption(part));
    }
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_tabs);

    connect(&b, &TFieldBinder::stored, this, &TSoundsPage::followGroups);
    followGroups();
}

// The alert's caption and visibility come with its first group's state; the
// shown alerts fill the columns from the top, without gaps.
void TSoundsPage::followGroups()
{
    int shown = 0;
    for (const AlertLine &line : m_lines)
        shown += line.first->state().visible ? 1 : 0;
    const int columns = shown > kAlertsInOneColumn ? kAlertColumns : 1;
    const int perColumn = std::max(1, (shown + columns - 1) / columns);
    for (QWidget *heading : m_secondHeadings)
        heading->setVisible(columns > 1);
    int at = 0;
    for (const AlertLine &line : m_lines) {
        const bool visible = line.first->state().visible;
        line.label->setText(line.first->state().caption);
        line.label->setVisible(visible);
        for (QWidget *w : {static_cast<QWidget *>(line.label), line.first->widget(), line.next})
            if (w)
                m_table->removeWidget(w);
        if (!visible)
            continue;
        const int row = 1 + at % perColumn;
        const int col = 3 * (at / perColumn);
        m_table->addWidget(line.label, row, col);
        m_table->addWidget(line.first->widget(), row, col + 1);
        if (line.next)
            m_table->addWidget(line.next, row, col + 2);
        ++at;
    }
    for (int r = 0; r <= static_cast<int>(m_lines.size()) + 1; ++r)
        m_table->setRowStretch(r, r == perColumn + 1 ? 1 : 0);
}

void TSoundsPage::load()
{
    m_context.binder.refresh();
    followGroups();
}

void TSoundsPage::protocolChanged() { followGroups(); }

// ---- tsAver --------------------------------------------------------------------------

TAveragesPage::TAveragesPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    TFieldBinder &b = context.binder;

    auto *prices = new QGroupBox(LangText("Cost calculation", "Расчет стоимости"));
    auto *pf = new QFormLayout(prices);
    for (const char *name : {"sePriceTime", "sePricePath", "sePriceExpense", "sePriceGas"})
        addForm(pf, b, name, prices);

    auto *periods = new QGroupBox(LangText("Autoreset periods", "Периоды автосброса, дни"));
    auto *rf = new QFormLayout(periods);
    for (const char *name : {"cbResetPeriod0", "cbResetPeriod1", "cbResetPeriodOnly"})
        addForm(rf, b, name, periods);

    auto *trips = new QGroupBox(LangText("Trips", "Поездки"));
    auto *tf = new QFormLayout(trips);
    addForm(tf, b, "seTripMinStop", trips);
    tf->addRow(unplaced(
        new QCheckBox(LangText("automatic recording in the trip log", "Автоматическая запись в журнал поездок")),
        "cbTripJournAuto", "TripJournMenu"));
    tf->addRow(unplaced(new QCheckBox(LangText("showing the trip", "Показ поездки")), "cbTripShowFlag"));

    auto *column = new QVBoxLayout;
    column->addWidget(prices);
    column->addWidget(periods);
    column->addWidget(trips);
    column->addStretch();
    auto *top = new QHBoxLayout(this);
    top->addLayout(column);
    top->addStretch();
}

// ---- tsPark --------------------------------------------------------------------------

TParkingRadarPage::TParkingRadarPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    TFieldBinder &b = context.binder;
    auto group = [&](int side) {
        auto *box = new QGroupBox(side == 0 ? LangText("Rear", "Задний") : LangText("Front", "Передний"));
        auto *form = new QFormLayout(box);
        const QByteArray n = QByteArray::number(side);
        form->addRow(unplaced(new QCheckBox(LangText("Use", "Использовать")), side ? "cbParkUse1" : "cbParkUse0",
                              side ? "ParkUseMenu_1" : "ParkUseMenu_0"));
        QWidget *sensors = unplacedSpin(side ? "seParkProbesQntReal1" : "seParkProbesQntReal0", 2, 4);
        form->addRow(LangText("Number of sensors", "Количество датчиков"), sensors);
        sameToolTip(form, sensors);
        for (const char *stem : {"seParkSense", "seParkSpeed", "seParkMinLeng", "seParkStopVel", "seParkStopLeng"})
            addForm(form, b, (QByteArray(stem) + n).constData(), box);
        if (side == 0) {
            addForm(form, b, "seParkStopLengBeep", box);
            QWidget *towBar = unplacedSpin("seParkFarkopLen", 0, 50);
            form->addRow(LangText("Tow bar cm", "Фаркоп см"), towBar);
            sameToolTip(form, towBar);
            addForm(form, b, "rgParkBeepType", box);
        } else {
            auto *mode = new QGroupBox(LangText("Operation mode", "Режим работы"));
            auto *ml = new QHBoxLayout(mode);
            for (const auto &[en, ru] : {std::pair{"On", "Вкл"}, {"On 3sec", "Вкл3с"}, {"Reverse", "ДвЗад"}})
                ml->addWidget(new QRadioButton(LangText(en, ru)));
            form->addRow(unplaced(mode, "rgParkForwConstOff", "ParkForwConstOffMenu"));
        }
        return box;
    };
    auto *top = new QHBoxLayout(this);
    auto *rear = group(0);
    auto *front = group(1);
    top->addWidget(rear, 0, Qt::AlignTop);
    top->addWidget(front, 0, Qt::AlignTop);
    top->addStretch();
}
