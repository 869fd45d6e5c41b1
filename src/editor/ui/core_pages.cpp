#include "core_pages.h"

#include "editor_page.h"
#include "field_binder.h"
#include "field_schema.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

// A page of captioned groups in columns. A group holds bound controls and is
// hidden while none of them is shown.
class TSectionedPage : public TEditorPage {
public:
    TSectionedPage(TEditorContext &context, QWidget *parent, int columns) : TEditorPage(context, parent)
    {
        m_row = new QHBoxLayout(this);
        for (int i = 0; i < columns; ++i) {
            auto *column = new QVBoxLayout;
            m_row->addLayout(column, 1);
            m_columns.push_back(column);
        }
        connect(&m_context.binder, &TFieldBinder::refreshed, this, [this] { updateSections(); });
    }

    void load() override { updateSections(); }
    void protocolChanged() override { updateSections(); }

protected:
    struct Section {
        QGroupBox *box = nullptr;
        QFormLayout *form = nullptr;
        int column = 0;
        std::vector<TFieldControl *> controls;
    };

    // Starts a group at the bottom of `column`; the controls added next go there.
    void section(int column, const char *name, const ed::Text &caption)
    {
        auto *box = new QGroupBox(caption.get(), this);
        box->setObjectName(QLatin1String(name));
        auto *form = new QFormLayout(box);
        form->setRowWrapPolicy(QFormLayout::WrapLongRows);
        form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
        form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        form->setVerticalSpacing(4);
        m_columns[size_t(column)]->addWidget(box);
        m_sections.push_back({box, form, column, {}});
    }

    TFieldControl *add(const char *name)
    {
        Section &s = m_sections.back();
        TFieldControl *c = m_context.binder.addCompactTo(s.form, name, s.box);
        s.controls.push_back(c);
        return c;
    }

    // A combo box whose items may be long: it takes the group's width and its
    // list shows the whole texts.
    TFieldControl *addWide(const char *name)
    {
        TFieldControl *c = add(name);
        if (auto *box = qobject_cast<QComboBox *>(c->widget())) {
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            box->setMinimumContentsLength(12);
            box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        }
        return c;
    }

    QFormLayout *currentForm() const { return m_sections.back().form; }

    void finish()
    {
        for (QVBoxLayout *column : m_columns)
            column->addStretch(1);
        // Spin edits of one width line up in their groups.
        const QList<QAbstractSpinBox *> spins = findChildren<QAbstractSpinBox *>();
        int width = 0;
        for (const QAbstractSpinBox *spin : spins)
            width = std::max(width, spin->sizeHint().width());
        for (QAbstractSpinBox *spin : spins)
            spin->setMinimumWidth(width);
        updateSections();
    }

    static bool anyShown(const std::vector<TFieldControl *> &controls)
    {
        return std::any_of(controls.begin(), controls.end(), [](const TFieldControl *c) { return c->state().visible; });
    }

    virtual void updateSections()
    {
        std::vector<bool> filled(m_columns.size(), false);
        for (const Section &s : m_sections) {
            const bool shown = anyShown(s.controls);
            s.box->setVisible(shown);
            filled[size_t(s.column)] = filled[size_t(s.column)] || shown;
        }
        // The columns with something to show share the page's width.
        for (size_t i = 0; i < filled.size(); ++i)
            m_row->setStretch(int(i), filled[i] ? 1 : 0);
    }

private:
    QHBoxLayout *m_row = nullptr;
    std::vector<QVBoxLayout *> m_columns;
    std::vector<Section> m_sections;
};

class TCorrectionsPage : public TSectionedPage {
public:
    TCorrectionsPage(TEditorContext &context, QWidget *parent) : TSectionedPage(context, parent, 3)
    {
        section(0, "gbCorrections", {"Corrections of readings", "Поправки показаний"});
        for (const char *name :
             {"seVelocityCorr", "seExpenseCorr", "seGazExpenseCorr", "seAirTemperCorr", "seAccCorr", "seTimeCorr"})
            add(name);
        section(1, "gbStartValues", {"Totals start from", "Начальные значения"});
        add("seAllPathStart");
        add("seAllTimeStart");
        section(1, "gbInjector", {"Injector and tachometer", "Форсунка и тахометр"});
        for (const char *name : {"rgForsPosFlag", "rgForsCoef", "seForsCoefCarb"})
            add(name);
        finish();
    }
};

class TSourcesPage : public TSectionedPage {
public:
    TSourcesPage(TEditorContext &context, QWidget *parent) : TSectionedPage(context, parent, 3)
    {
        section(0, "gbProtocol", {"Protocol", "Протокол"});
        addWide("cbProtocolSelectMeth");
        addWide("cbProtocol");
        m_heading =
            new QLabel(ed::Text{"Additional protocol settings", "Дополнительные настройки протокола"}.get(), this);
        m_heading->setObjectName(QStringLiteral("lProtocolOptions"));
        m_heading->setWordWrap(true);
        m_heading->setContentsMargins(0, 6, 0, 0);
        currentForm()->addRow(m_heading);
        for (const char *name : {"cbProtTypeMain", "cbProtTypeAdd1", "cbProtTypeAdd2", "cbProtTypeAdd3",
                                 "cbProtTypeAdd4", "cbProtTypeAdd5", "cbProtTypeAdd6", "cbProtTypeAdd7"})
            m_options.push_back(addWide(name));

        section(1, "gbLock", {"Ignition lock and parking lights", "Замок зажигания и габариты"});
        for (const char *name : {"rgLockType", "rgLockTypeLevel", "rgGabarType", "rgGabarInvPol", "cbLightsOn"})
            add(name);
        section(1, "gbTank", {"Fuel tank", "Топливный бак"});
        addWide("cbTankMode");
        addWide("cbTankMeth");
        for (const char *name : {"seTankContFull", "seGazContFull", "cbUseTank2", "cbCorrTankByAcc", "cbGasOil"})
            add(name);

        section(2, "gbSources", {"Where the values come from", "Откуда берутся значения"});
        for (const char *name :
             {"rgVelocityMeth", "rgRevolutionsMeth", "rgExpenseMeth", "rgGasMeth", "rgUaccMeth", "sgTrimMeth"})
            add(name);
        section(2, "gbCalculation", {"Calculation", "Расчет"});
        for (const char *name : {"rgPrognozMeth", "seK100Manual", "rgGasCalcExp"})
            add(name);
        section(2, "gbTemperature", {"Temperature", "Температура"});
        for (const char *name : {"rgAirTemperMeth", "rgAirTemperGetMeth", "rgAirWaterShow"})
            add(name);
        finish();
    }

protected:
    void updateSections() override
    {
        TSectionedPage::updateSections();
        m_heading->setVisible(anyShown(m_options));
    }

private:
    QLabel *m_heading = nullptr;
    std::vector<TFieldControl *> m_options;
};

class TLimitsPage : public TSectionedPage {
public:
    TLimitsPage(TEditorContext &context, QWidget *parent) : TSectionedPage(context, parent, 3)
    {
        section(0, "gbEngine", {"Engine", "Двигатель"});
        for (const char *name : {"seLiqTemperLimit", "seLiqTemperReady", "seRevolutionsLimit", "seInjTimeLimit",
                                 "seOilEngTemperLimit", "seVentTempLimit", "seVentVelLimit", "seVAGSFilterLimit"})
            add(name);
        section(0, "gbGearbox", {"Gearbox", "Коробка передач"});
        for (const char *name : {"seOilAKPPTemperLimit", "seCVTFDeteriorLim", "seRetarderOilTemperLimit"})
            add(name);

        section(1, "gbDriving", {"Driving", "Движение"});
        for (const char *name :
             {"seVelocityLimit", "seStopVelocityLimit", "seVel100", "seVel100Down", "seVelMinForExp"})
            add(name);
        section(1, "gbPower", {"Fuel and battery", "Топливо и АКБ"});
        for (const char *name : {"seTankLimit", "seUaccLowLimit", "seUaccHighLimit", "rg24VMode"})
            add(name);
        section(1, "gbTrim", {"Trim", "Трим"});
        add("seTrimLowLimit");
        add("seTrimHighLimit");

        section(2, "gbHybrid", {"Hybrid drive", "Гибридный привод"});
        for (const char *name : {"seInvTemperLimit", "seHVBTemperLimit", "seElEngTemperLimit", "seAddCoolingTemper",
                                 "seHVBChargeLevelLowLimit", "seHVBChargeLevelHighLimit", "seHybrVentSpeedStep",
                                 "cbHybridCoolHVB", "cbHybrUse6VentSpeed"})
            add(name);
        finish();
    }
};

} // namespace

TEditorPage *MakeCorrectionsPage(TEditorContext &context, QWidget *parent)
{
    return new TCorrectionsPage(context, parent);
}
TEditorPage *MakeSourcesPage(TEditorContext &context, QWidget *parent) { return new TSourcesPage(context, parent); }
TEditorPage *MakeLimitsPage(TEditorContext &context, QWidget *parent) { return new TLimitsPage(context, parent); }
