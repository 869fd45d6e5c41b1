#include "sound_pages.h"

#include "field_binder.h"
#include "language.h"
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
constexpr int kAlertColumns = 2;

void addForm(QFormLayout *form, TFieldBinder &b, const char *name, QWidget *parent) { b.addTo(form, name, parent); }

// A disabled stand-in for a control whose place in the device's memory this
// version does not know.
QWidget *unplaced(QWidget *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    ShowUnplaced(w);
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

} // namespace

// ---- tsVoice -----------------------------------------------------------------------

TVoicePage::TVoicePage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    setObjectName(QStringLiteral("tsVoice"));
    TFieldBinder &b = context.binder;

    auto *alerts = new QWidget;
    alerts->setObjectName(QStringLiteral("tsAlerts"));
    auto *table = new QGridLayout(alerts);
    table->setVerticalSpacing(0);
    const int perColumn = (static_cast<int>(std::size(kAlerts)) + kAlertColumns - 1) / kAlertColumns;
    for (int col = 0; col < kAlertColumns; ++col) {
        table->addWidget(new QLabel(LangText("Warning", "Предупреждение")), 0, 3 * col);
        table->addWidget(new QLabel(LangText("First", "Первое")), 0, 3 * col + 1);
        table->addWidget(new QLabel(LangText("Next", "Последующие")), 0, 3 * col + 2);
    }
    for (int i = 0; i < static_cast<int>(std::size(kAlerts)); ++i) {
        const int row = 1 + i % perColumn;
        const int col = 3 * (i / perColumn);
        TFieldControl *first = b.control(kAlerts[i].first, alerts);
        first->setCompact(true);
        auto *label = new QLabel;
        label->setObjectName(QStringLiteral("l") + QLatin1String(kAlerts[i].first).chopped(2).mid(2));
        table->addWidget(label, row, col);
        table->addWidget(first->widget(), row, col + 1);
        if (kAlerts[i].next) {
            TFieldControl *next = b.control(kAlerts[i].next, alerts);
            next->setCompact(true);
            table->addWidget(next->widget(), row, col + 2);
        }
        m_lines.push_back({label, first});
    }
    table->setRowStretch(perColumn + 1, 1);
    table->setColumnStretch(2, 1);
    auto *scroll = new QScrollArea;
    scroll->setWidget(alerts);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    auto *sounds = new QWidget;
    sounds->setObjectName(QStringLiteral("tsSounds"));
    auto *form = new QFormLayout;
    for (const char *name : {"seSoundVolume", "rgFlagSound", "rgSayHelloMode", "seSayParamPeriod",
                             "seAlarmVelSecNoSayMax", "seSayEconomPeriod", "cbSoundKeys", "cbSoundLock"})
        addForm(form, b, name, sounds);
    auto *soundsBox = new QHBoxLayout(sounds);
    soundsBox->addLayout(form);
    soundsBox->addStretch();

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("pcVoice"));
    m_tabs->addTab(scroll, LangText("Warnings", "Предупреждения"));
    m_tabs->addTab(sounds, LangText("Divers", "Разное"));
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_tabs);

    connect(&b, &TFieldBinder::stored, this, &TVoicePage::followGroups);
    followGroups();
}

// The alert's caption and visibility come with its first group's state.
void TVoicePage::followGroups()
{
    for (const AlertLine &line : m_lines) {
        line.label->setText(line.first->state().caption);
        line.label->setVisible(line.first->state().visible);
    }
}

void TVoicePage::Load()
{
    m_context.binder.refresh();
    followGroups();
}

void TVoicePage::ProtocolChanged() { followGroups(); }

// ---- tsAver --------------------------------------------------------------------------

TAverPage::TAverPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    setObjectName(QStringLiteral("tsAver"));
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
    tf->addRow(unplaced(new QCheckBox(LangText("automatic recording in the trip log",
                                               "Автоматическая запись в журнал поездок")),
                        "cbTripJournAuto"));
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

TParkPage::TParkPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    setObjectName(QStringLiteral("tsPark"));
    TFieldBinder &b = context.binder;
    auto group = [&](int side) {
        auto *box = new QGroupBox(side == 0 ? LangText("Rear", "Задний") : LangText("Front", "Передний"));
        auto *form = new QFormLayout(box);
        const QByteArray n = QByteArray::number(side);
        form->addRow(unplaced(new QCheckBox(LangText("Use", "Использовать")), side ? "cbParkUse1" : "cbParkUse0"));
        form->addRow(LangText("Number of sensors", "Количество датчиков"),
                     unplacedSpin(side ? "seParkProbesQntReal1" : "seParkProbesQntReal0", 2, 4));
        for (const char *stem : {"seParkSense", "seParkSpeed", "seParkMinLeng", "seParkStopVel", "seParkStopLeng"})
            addForm(form, b, (QByteArray(stem) + n).constData(), box);
        if (side == 0) {
            addForm(form, b, "seParkStopLengBeep", box);
            form->addRow(LangText("Tow bar cm", "Фаркоп см"), unplacedSpin("seParkFarkopLen", 0, 50));
            addForm(form, b, "rgParkBeepType", box);
        } else {
            auto *mode = new QGroupBox(LangText("Opration mode", "Режим работы"));
            auto *ml = new QHBoxLayout(mode);
            for (const auto &[en, ru] : {std::pair{"On", "Вкл"}, {"On 3sec", "Вкл3с"}, {"Reverse", "ДвЗад"}})
                ml->addWidget(new QRadioButton(LangText(en, ru)));
            form->addRow(unplaced(mode, "rgParkForwConstOff"));
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
