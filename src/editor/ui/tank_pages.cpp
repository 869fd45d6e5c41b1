#include "tank_pages.h"

#include "blocks.h"
#include "errors.h"
#include "field_binder.h"
#include "language.h"
#include "messages.h"
#include "stringgrid.h"
#include "tank_service_files.h"
#include "tmk.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <functional>

namespace {

QString tankFilter() { return LangText("Tank settings files (*.kelmo)", "Файлы настроек бака (*.kelmo)"); }
QString serviceFilter() { return LangText("Maintenance settings files (*.kelmt)", "Файлы настроек ТО (*.kelmt)"); }

// Labels of bound controls that the page replaces with its own (table
// headings, name edits) live here, never shown.
QWidget *unshownHolder(QWidget *page)
{
    auto *w = new QWidget(page);
    w->hide();
    return w;
}

QLabel *wrappedLabel(const QString &text, const char *name)
{
    auto *l = new QLabel(text);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

// Runs `action`; the error it may raise is shown over `parent`. False after one.
bool shownOnError(QWidget *parent, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const TripError &e) {
        QMessageBox::critical(parent, LangText("Error", "Ошибка"), e.text());
        return false;
    }
}

// A file button of a page: its dialog starts where files of its kind were
// last used, and `chosen` gets the file once the dialog is confirmed.
void connectFileButton(QWidget *page, QPushButton *button, TFileDialogKind mode, TFileKind kind, const QString &filter,
                       const QString &suffix, std::function<void(const QString &)> chosen)
{
    QObject::connect(button, &QPushButton::clicked, page, [=] {
        const TFileDialogOptions dlg{
            .filter = filter, .defaultSuffix = suffix, .kind = kind, .title = button->text(), .confirmOverwrite = true};
        const QString path = mode == TFileDialogKind::Save ? SaveFileDialog(page, dlg) : OpenFileDialog(page, dlg);
        if (!path.isEmpty())
            chosen(path);
    });
}

// Cells of the tare grid are edited through masks: up to three digits of
// litres, up to four of the code (a mask of required digits would refuse a
// short number and drop it). Painting stays with the grid's own delegate.
class TareDelegate : public QStyledItemDelegate {
public:
    TareDelegate(QAbstractItemDelegate *base, std::function<void()> edited, QObject *parent)
        : QStyledItemDelegate(parent), m_base(base), m_edited(std::move(edited))
    {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_base->paint(painter, option, index);
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *edit = new QLineEdit(parent);
        edit->setInputMask(index.column() == 1 ? QStringLiteral("000") : QStringLiteral("0000"));
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QLineEdit *>(editor)->setText(index.data(Qt::DisplayRole).toString());
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const QString text = static_cast<QLineEdit *>(editor)->text();
        if (text != index.data(Qt::DisplayRole).toString()) {
            model->setData(index, text);
            m_edited();
        }
    }

private:
    QAbstractItemDelegate *m_base;
    std::function<void()> m_edited;
};

bool inside(const QWidget *container, const QWidget *w) { return w && (w == container || container->isAncestorOf(w)); }

} // namespace

void ShowUnplaced(QWidget *control, const char *menuItem)
{
    control->setEnabled(false);
    control->setToolTip(ed::UnplacedToolTip(menuItem));
}

// ---- tsOil ---------------------------------------------------------------------

TFuelTankPage::TFuelTankPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    TFieldBinder &b = context.binder;
    QWidget *unshown = unshownHolder(this);
    auto place = [&](QGridLayout *grid, const char *name, int row, int column) {
        TFieldControl *c = b.control(name, this);
        if (c->label())
            c->label()->setParent(unshown);
        grid->addWidget(c->widget(), row, column);
        return c;
    };
    auto headings = [](QGridLayout *grid) {
        grid->addWidget(new QLabel(QStringLiteral("#")), 0, 0);
        grid->addWidget(new QLabel(LangText("litres", "литры")), 0, 1);
        grid->addWidget(new QLabel(LangText("CU", "у.е.")), 0, 2);
    };

    auto *two = new QGroupBox(LangText("Linear 2 points", "Линейный по 2 точкам"));
    auto *g2 = new QGridLayout(two);
    headings(g2);
    const char *twoPoints[2][2] = {{"seLit6L", "seOil6L"}, {"seLit43L", "seOil43L"}};
    for (int k = 0; k < 2; ++k) {
        g2->addWidget(new QLabel(QString::number(k + 1)), k + 1, 0);
        place(g2, twoPoints[k][0], k + 1, 1);
        place(g2, twoPoints[k][1], k + 1, 2);
    }

    auto *seven = new QGroupBox(LangText("Linear 7 points", "Линейный по 7 точкам"));
    auto *g7 = new QGridLayout(seven);
    headings(g7);
    for (int k = 0; k < 7; ++k) {
        auto *number = new QLabel(QString::number(k + 1));
        number->setObjectName(QStringLiteral("lOilCalibrArr%1").arg(k));
        g7->addWidget(number, k + 1, 0);
        const QByteArray lit = "seOilCalibrLitArr" + QByteArray::number(k);
        const QByteArray res = "seOilCalibrResArr" + QByteArray::number(k);
        m_sevenRows.push_back(
            {number, place(g7, lit.constData(), k + 1, 1)->widget(), place(g7, res.constData(), k + 1, 2)->widget()});
    }
    TFieldControl *quant = b.control("seOilCalibrQuant", this);
    m_quant = static_cast<QDoubleSpinBox *>(quant->widget());
    g7->addWidget(quant->label(), 8, 0, 1, 2);
    g7->addWidget(m_quant, 8, 2);
    connect(m_quant, &QDoubleSpinBox::valueChanged, this, [this](double v) { showSevenPoints(static_cast<int>(v)); });

    auto *left = new QVBoxLayout;
    left->addWidget(two);
    left->addWidget(seven);
    left->addStretch();

    // The tare table.
    auto *tare = new QGroupBox(LangText("Tare", "Тарированный"));
    auto *gt = new QGridLayout(tare);
    gt->addWidget(wrappedLabel(LangText("Attention! Setting the values manually by the user is NOT RECOMMENDED!\n"
                                        "Incorrect setting can lead to incorrect operation of the device!",
                                        "Внимание! Установка значений пользователем вручную НЕ РЕКОМЕНДУЕТСЯ! \n"
                                        "Некорректная установка может привести к неправильной работе МК!"),
                               "lTarirNotice"),
                  0, 0, 1, 2);
    gt->addWidget(b.control("cbTarirFlagFinish", this)->widget(), 1, 0, 1, 2);
    TFieldControl *count = b.control("seTarirLeng", this);
    gt->addWidget(count->label(), 2, 0);
    gt->addWidget(count->widget(), 2, 1);
    connect(static_cast<QDoubleSpinBox *>(count->widget()), &QDoubleSpinBox::valueChanged, this,
            &TFuelTankPage::tareCountChanged);
    m_grid = new TStringGrid(3, 2, 1, 1);
    m_grid->setObjectName(QStringLiteral("sgTarir"));
    m_grid->setAccessibleName(tare->title());
    m_grid->setColumnWidths({32, 60, 60});
    m_grid->setRightAlignedData(true);
    m_grid->gridModel()->setEditable(true);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setItemDelegate(new TareDelegate(
        m_grid->itemDelegate(), [this] { m_context.tareEdited = true; }, m_grid));
    gt->addWidget(m_grid, 3, 0, 1, 2);
    gt->setRowStretch(3, 1);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (inside(m_grid, old) && !inside(m_grid, now))
            storeTareGrid();
    });

    // The slope as the device reports it; this version does not know its place.
    m_incline = new QGroupBox(LangText("FLS slope", "Наклон ДУТ (справочно)"));
    m_incline->setObjectName(QStringLiteral("rgTarirIncline"));
    auto *gi = new QHBoxLayout(m_incline);
    for (const auto &[en, ru] : {std::pair{"Rev", "Обратный"}, {"Dir", "Прямой"}, {"Auto", "Авто"}})
        gi->addWidget(new QRadioButton(LangText(en, ru)));
    ShowUnplaced(m_incline);
    gt->addWidget(m_incline, 4, 0, 1, 2);

    // Notices and the file.
    auto *right = new QVBoxLayout;
    right->addWidget(wrappedLabel(
        LangText("Attention! For the correct operation of the device program, it is NECESSARY to use the latest "
                 "versions of the MK software and the configuration program.",
                 "Внимание! Для правильной работы программы МК НЕОБХОДИМО использовать последние версии ПО МК и "
                 "программы настройки."),
        "lVersionNotice"));
    right->addWidget(wrappedLabel(
        LangText("Before loading new device software, save the tank settings to a file with this configuration "
                 "program. After loading the new software and the matching new configuration program, read them "
                 "back with the button \"Load tank settings from a file\".",
                 "Перед загрузкой нового ПО МК сохраните настройки бака в файл этой программой настройки. После "
                 "загрузки нового ПО МК и соответствующей новой программы настройки считайте их кнопкой "
                 "\"Считать настройки бака из файла\"."),
        "Label14"));
    m_save = new QPushButton(LangText("Save tank settings to a file", "Сохранить настройки бака в файл"));
    m_save->setObjectName(QStringLiteral("bOilSave"));
    m_load = new QPushButton(LangText("Load tank settings from a file", "Считать настройки бака из файла"));
    m_load->setObjectName(QStringLiteral("bOilLoad"));
    right->addWidget(m_save);
    right->addWidget(m_load);
    right->addStretch();
    const QString suffix = QStringLiteral("kelmo");
    connectFileButton(this, m_save, TFileDialogKind::Save, TFileKind::Tank, tankFilter(), suffix,
                      [this](const QString &path) { saveTo(path); });
    connectFileButton(this, m_load, TFileDialogKind::Open, TFileKind::Tank, tankFilter(), suffix,
                      [this](const QString &path) { loadFrom(path); });

    auto *top = new QHBoxLayout(this);
    top->addLayout(left, 3);
    top->addWidget(tare, 3);
    top->addLayout(right, 3);

    // A store anywhere re-applies the binder's states; the page's own rows follow.
    connect(&b, &TFieldBinder::stored, this, [this] { showSevenPoints(static_cast<int>(m_quant->value())); });
}

void TFuelTankPage::showSevenPoints(int count)
{
    for (int k = 0; k < static_cast<int>(m_sevenRows.size()); ++k)
        for (QWidget *w : m_sevenRows[static_cast<size_t>(k)])
            w->setVisible(k < count);
}

void TFuelTankPage::load()
{
    m_context.tareEdited = false;
    refresh();
}

void TFuelTankPage::refresh()
{
    ed::ApplyTareCountRule(m_context.model);
    m_context.binder.refresh();
    fillTareGrid();
    showSevenPoints(static_cast<int>(m_quant->value()));
}

void TFuelTankPage::fillTareGrid()
{
    const TMK &model = m_context.model;
    const int count = std::min<int>(static_cast<int>(model.get(fld::TareCount)), ed::kMaxTarePoints);
    m_grid->setRowTotal(count > 0 ? count + 1 : 2);
    m_grid->setRowTexts(0, {QStringLiteral("#"), LangText("litres", "литры"), LangText("CU", "уе")});
    if (count == 0)
        m_grid->setRowTexts(1, {QString(), QString(), QString()});
    for (int i = 0; i < count; ++i)
        m_grid->setRowTexts(i + 1, {QString::number(i + 1), QString::number(model.get(fld::TareLitres(i))),
                                    QString::number(model.getSigned(fld::TareCode(i)))});
}

void TFuelTankPage::tareCountChanged(double count)
{
    if (!m_context.binder.storeNumber(QStringLiteral("seTarirLeng"), count))
        return;
    refresh();
}

void TFuelTankPage::storeTareGrid()
{
    if (!m_context.tareEdited)
        return;
    QStringList litres, codes;
    for (int row = 1; row < m_grid->rowCount(); ++row) {
        litres << m_grid->cell(row, 1);
        codes << m_grid->cell(row, 2);
    }
    try {
        ed::StoreTarePoints(m_context.model, litres, codes);
    } catch (const TripError &e) {
        m_context.binder.report(e.text()); // a range error, as every control of the editor reports it
    }
    m_context.tareEdited = false;
    refresh();
}

bool TFuelTankPage::saveTo(const QString &path)
{
    return shownOnError(this, [&] { ed::SaveTankFile(m_context.model, path); });
}

bool TFuelTankPage::loadFrom(const QString &path)
{
    const bool ok = shownOnError(this, [&] { ed::LoadTankFile(m_context.model, path); });
    m_context.tareEdited = false;
    refresh();
    return ok;
}

// ---- tsTO ------------------------------------------------------------------------

TMaintenancePage::TMaintenancePage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    TFieldBinder &b = context.binder;
    QWidget *unshown = unshownHolder(this);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(LangText("Stay until...", "Осталось до...")), 0, 0);
    grid->addWidget(new QLabel(LangText("th.km", "тыс.км")), 0, 1);
    grid->addWidget(new QLabel(LangText("use", "использ.")), 0, 2);

    struct Row {
        const char *value; // spin edit or date edit
        const char *name;  // the item's name edit, in place of a caption
        const char *use;   // its reminder bit
    };
    const Row rows[] = {
        {"seAirFiltCntK", nullptr, "cbAirFiltCntK"},
        {"seKPPOilCntK", nullptr, "cbKPPOilCntK"},
        {"seForsTOCntK", "eForsTOCntK", "cbForsTOCntK"},
        {"seGRMStrapCntK", "eGRMStrapCntK", "cbGRMStrapCntK"},
        {"seCoolLiqCntK", nullptr, "cbCoolLiqCntK"},
        {"seEngOilCntK", nullptr, "cbEngOilCntK"},
        {"seCandleCntK", "eCandleCntK", "cbCandleCntK"},
        {"deTO", nullptr, "cbTO"},
        {"deOSAGO", nullptr, "cbOSAGO"},
        {"seMotoHourLim", nullptr, "cbMotoHour"},
    };
    int r = 1;
    for (const Row &row : rows) {
        TFieldControl *value = b.control(row.value, this);
        if (row.name) {
            value->label()->setParent(unshown);
            TFieldControl *name = b.control(row.name, this);
            name->label()->setParent(unshown);
            grid->addWidget(name->widget(), r, 0);
            // The user's own item name is the row's caption; the hidden
            // labels still name the two controls for a screen reader.
            name->widget()->setAccessibleName(name->label()->text());
            value->widget()->setAccessibleName(value->label()->text());
        } else {
            grid->addWidget(value->label(), r, 0);
        }
        grid->addWidget(value->widget(), r, 1);
        TFieldControl *use = b.control(row.use, this);
        use->setTableCell(true);
        grid->addWidget(use->widget(), r, 2, Qt::AlignHCenter);
        ++r;
    }
    grid->setColumnStretch(3, 1);

    auto *save = new QPushButton(LangText("Save maintenance settings to a file", "Сохранить настройки ТО в файл"));
    save->setObjectName(QStringLiteral("bTOSave"));
    auto *load = new QPushButton(LangText("Load maintenance settings from a file", "Считать настройки ТО из файла"));
    load->setObjectName(QStringLiteral("bTOLoad"));
    const QString suffix = QStringLiteral("kelmt");
    connectFileButton(this, save, TFileDialogKind::Save, TFileKind::Maintenance, serviceFilter(), suffix,
                      [this](const QString &path) { saveTo(path); });
    connectFileButton(this, load, TFileDialogKind::Open, TFileKind::Maintenance, serviceFilter(), suffix,
                      [this](const QString &path) { loadFrom(path); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(load);
    buttons->addStretch();

    auto *top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(buttons);
    top->addStretch();
}

void TMaintenancePage::load() { m_context.binder.refresh(); }

bool TMaintenancePage::saveTo(const QString &path)
{
    return shownOnError(this, [&] { ed::SaveServiceFile(m_context.model, path); });
}

bool TMaintenancePage::loadFrom(const QString &path)
{
    const bool ok = shownOnError(this, [&] { ed::LoadServiceFile(m_context.model, path); });
    m_context.binder.refresh();
    return ok;
}
