#include "field_binder.h"

#include "errors.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStandardItemModel>

#include <algorithm>
#include <cmath>

using ed::ControlKind;

namespace {

// cbProtocol rebuilds much of the editor: it is stored when the user leaves
// the box, not on every arrow key.
bool storesOnLeaving(const ed::FieldRow &row) { return row.itemSource == ed::ItemSource::ProtocolNames; }

// Radio items in up to this many columns before a new row starts.
constexpr int kRadioColumns = 4;

QDate dateOf(int dayNumber)
{
    const TDate d = DateOfDayNumber(dayNumber);
    return {2000 + d.year, d.month, d.day};
}

// A date edit "dd.MM.yy" (2000 + yy) that takes a typed date. Its own range is
// every day a two-digit year names: the earliest day as its minimum would
// refuse each keystroke that passes through an earlier date on the way to the
// one typed (10.10.11, 24.10.11, 24.05.11, 24.05.12). A date before the
// earliest is refused when it is stored, with the range error; the calendar
// offers none.
class TDayEdit : public QDateEdit {
public:
    explicit TDayEdit(QWidget *parent) : QDateEdit(parent)
    {
        setDisplayFormat(QStringLiteral("dd.MM.yy"));
        setDateRange(QDate(2000, 1, 1), dateOf(ed::kLatestDayNumber));
        setCalendarPopup(true);
        calendarWidget()->installEventFilter(this);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        // A full section moves on by itself; the point typed after it is the
        // one between the sections, not a request to skip the next.
        if (m_movedOn && event->text() == QLatin1String(".")) {
            m_movedOn = false;
            event->accept();
            return;
        }
        const Section before = currentSection();
        QDateEdit::keyPressEvent(event);
        m_movedOn = event->text().size() == 1 && event->text()[0].isDigit() && currentSection() != before;
    }

    void focusInEvent(QFocusEvent *event) override
    {
        m_movedOn = false;
        QDateEdit::focusInEvent(event);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Opening the calendar gives it the edit's range again.
        if (watched == calendarWidget() && event->type() == QEvent::Show)
            calendarWidget()->setMinimumDate(dateOf(ed::kEarliestDayNumber));
        return QDateEdit::eventFilter(watched, event);
    }

private:
    bool m_movedOn = false;
};

// A spin edit whose arrows stay inside the range in force while a typed
// number outside it still reaches the store, which refuses it with the range
// error; Qt's own range would drop such keystrokes silently.
class TRangeSpin : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    void setSteppedRange(double min, double max)
    {
        m_min = min;
        m_max = max;
        // Sized for the range in force, not for what typing may reach.
        setRange(min, max);
        m_hint = QDoubleSpinBox::sizeHint();
        m_minimumHint = QDoubleSpinBox::minimumSizeHint();
        setRange(-kTypedLimit, kTypedLimit);
    }

    void stepBy(int steps) override { setValue(std::clamp(value() + steps * singleStep(), m_min, m_max)); }
    QSize sizeHint() const override { return m_hint.isValid() ? m_hint : QDoubleSpinBox::sizeHint(); }
    QSize minimumSizeHint() const override
    {
        return m_minimumHint.isValid() ? m_minimumHint : QDoubleSpinBox::minimumSizeHint();
    }

protected:
    StepEnabled stepEnabled() const override
    {
        if (isReadOnly())
            return StepNone;
        StepEnabled e = StepNone;
        if (value() < m_max)
            e |= StepUpEnabled;
        if (value() > m_min)
            e |= StepDownEnabled;
        return e;
    }

private:
    static constexpr double kTypedLimit = 1e12;
    double m_min = 0, m_max = 0;
    QSize m_hint, m_minimumHint;
};

} // namespace

TFieldControl::TFieldControl(const ed::FieldRow &row, QWidget *parent, bool captionBeside) : QObject(parent), m_row(row)
{
    setObjectName(QString::fromLatin1(row.name));
    switch (row.kind) {
    case ControlKind::SpinEdit: {
        m_spin = new TRangeSpin(parent);
        m_spin->setDecimals(row.decimals);
        m_spin->setSingleStep(row.step);
        m_spin->setKeyboardTracking(false);
        m_spin->setAlignment(Qt::AlignRight);
        // A spin edit that only steps: the arrows work, the text cannot be typed.
        if (row.noTyping)
            m_spin->findChild<QLineEdit *>()->setReadOnly(true);
        connect(m_spin, &QDoubleSpinBox::editingFinished, this, [this] {
            // Stored only when the user changed it: a value shown clipped stays
            // unstored until then.
            if (std::abs(m_spin->value() - m_state.number) > 1e-9)
                emit enteredNumber(m_spin->value());
        });
        m_widget = m_spin;
        m_label = new QLabel(parent);
        m_label->setBuddy(m_spin);
        break;
    }
    case ControlKind::ComboBox:
        m_combo = new QComboBox(parent);
        m_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        if (storesOnLeaving(row)) {
            m_combo->installEventFilter(this);
        } else {
            connect(m_combo, &QComboBox::activated, this, [this](int index) {
                if (!m_state.index || *m_state.index != index)
                    emit chosenItem(index);
            });
        }
        m_widget = m_combo;
        m_label = new QLabel(parent);
        m_label->setBuddy(m_combo);
        break;
    case ControlKind::CheckBox:
        m_check = new QCheckBox(parent);
        connect(m_check, &QCheckBox::clicked, this, &TFieldControl::checkedByUser);
        m_widget = m_check;
        break;
    case ControlKind::RadioGroup: {
        auto *grid = new QGridLayout;
        if (captionBeside) {
            m_radioBox = new QWidget(parent);
            grid->setContentsMargins(0, 0, 0, 0);
            m_label = new QLabel(parent);
        } else {
            m_radioBox = m_group = new QGroupBox(parent);
        }
        m_radioBox->setLayout(grid);
        m_buttons = new QButtonGroup(m_radioBox);
        connect(m_buttons, &QButtonGroup::idClicked, this, &TFieldControl::chosenItem);
        m_widget = m_radioBox;
        break;
    }
    case ControlKind::TextEdit:
        m_line = new QLineEdit(parent);
        if (row.type == ed::FieldType::TimeOfDay) {
            m_line->setInputMask(QStringLiteral("99:99;_"));
            m_line->setMaximumWidth(m_line->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
        } else {
            m_line->setMaxLength(ed::kItemNameLength);
        }
        connect(m_line, &QLineEdit::editingFinished, this, [this] {
            if (m_line->text() != m_state.text)
                emit enteredText(m_line->text());
        });
        m_widget = m_line;
        m_label = new QLabel(parent);
        m_label->setBuddy(m_line);
        break;
    case ControlKind::DateEdit: {
        m_date = new TDayEdit(parent);
        connect(m_date, &QDateEdit::editingFinished, this, [this] {
            if (const QString text = dateText(); text != m_state.text)
                emit enteredText(text);
        });
        m_widget = m_date;
        m_label = new QLabel(parent);
        m_label->setBuddy(m_date);
        break;
    }
    }
    m_widget->setObjectName(objectName());
    if (m_label) { // seVelocityCorr is captioned by lVelocityCorr, eForsTOCntK by lForsTOCntK
        qsizetype stem = 0;
        while (stem < objectName().size() && objectName()[stem].isLower())
            ++stem;
        m_label->setObjectName(QLatin1Char('l') + objectName().mid(stem));
    }
}

bool TFieldControl::eventFilter(QObject *watched, QEvent *event)
{
    // The box's own list takes the focus while it is open; that is no leaving.
    if (watched == m_combo && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        commit();
    return QObject::eventFilter(watched, event);
}

void TFieldControl::commit()
{
    if (m_spin) {
        m_spin->interpretText();
        if (std::abs(m_spin->value() - m_state.number) > 1e-9)
            emit enteredNumber(m_spin->value());
    } else if (m_combo && storesOnLeaving(m_row)) {
        const int index = m_combo->currentIndex();
        if (index >= 0 && (!m_state.index || *m_state.index != index))
            emit chosenItem(index);
    } else if (m_line && m_line->text() != m_state.text) {
        emit enteredText(m_line->text());
    } else if (m_date) {
        m_date->interpretText();
        if (const QString text = dateText(); text != m_state.text)
            emit enteredText(text);
    }
}

QString TFieldControl::dateText() const
{
    const QDate d = m_date->date();
    return QStringLiteral("%1.%2.%3")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year() % 100, 2, 10, QLatin1Char('0'));
}

QList<QAbstractButton *> TFieldControl::radioButtons() const
{
    return m_buttons ? m_buttons->buttons() : QList<QAbstractButton *>{};
}

void TFieldControl::setTableCell(bool cell)
{
    m_tableCell = cell;
    if (m_check) {
        m_check->setText(cell ? QString() : m_state.caption);
    }
    if (!m_buttons)
        return;
    if (m_group) {
        // Only the buttons: no frame, no margins.
        m_group->setFlat(cell);
        m_group->setStyleSheet(cell ? QStringLiteral("QGroupBox { border: 0; margin: 0; padding: 0; }") : QString());
        m_group->layout()->setContentsMargins(cell ? QMargins() : QMargins(9, 9, 9, 9));
        m_group->setTitle(cell ? QString() : m_state.caption);
    }
    static_cast<QGridLayout *>(m_radioBox->layout())->setHorizontalSpacing(cell ? 2 : -1);
    m_radioItems.clear(); // laid out again
    rebuildRadios(m_state.items);
    nameForReaders();
}

// A control that shows no caption of its own (a cell of the alert table, a
// radio group captioned by a label beside it) is still announced by it.
void TFieldControl::nameForReaders()
{
    if (m_tableCell) {
        QString name = m_state.caption;
        if (m_row.map == ed::ValueMap::AlertFirst)
            name += QStringLiteral(": ") + LangText("First", "Первое");
        else if (m_row.map == ed::ValueMap::AlertNext)
            name += QStringLiteral(": ") + LangText("Next", "Последующие");
        m_widget->setAccessibleName(name);
    } else if (m_radioBox && !m_group) {
        m_widget->setAccessibleName(m_state.caption);
    }
}

void TFieldControl::rebuildRadios(const QStringList &items)
{
    if (items == m_radioItems)
        return;
    m_radioItems = items;
    for (QAbstractButton *b : m_buttons->buttons()) {
        m_buttons->removeButton(b);
        delete b;
    }
    auto *grid = static_cast<QGridLayout *>(m_radioBox->layout());
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], m_radioBox);
        b->setObjectName(objectName() + QString::number(i));
        if (ed::IsAlertMap(m_row.map)) { // one letter each: what it stands for
            b->setToolTip(ed::AlertModeMeaning(i));
            b->setAccessibleDescription(ed::AlertModeMeaning(i));
        }
        m_buttons->addButton(b, i);
        if (m_tableCell)
            grid->addWidget(b, 0, i);
        else
            grid->addWidget(b, i / kRadioColumns, i % kRadioColumns);
    }
}

void TFieldControl::apply(const ed::FieldState &s)
{
    m_state = s;
    m_widget->setVisible(s.visible);
    m_widget->setEnabled(s.enabled);
    // A tooltip set by the page (a place the device keeps elsewhere) stays.
    if (m_widget->toolTip() == m_toolTip)
        m_widget->setToolTip(ed::ToolTip(s));
    m_toolTip = m_widget->toolTip();
    nameForReaders();
    if (m_label) {
        m_label->setToolTip(m_toolTip);
        m_label->setText(s.caption);
        m_label->setVisible(s.visible);
        m_label->setEnabled(s.enabled);
    }
    switch (m_row.kind) {
    case ControlKind::SpinEdit: {
        const QSignalBlocker block(m_spin);
        m_spin->setDecimals(s.decimals);
        m_spin->setSingleStep(s.step);
        static_cast<TRangeSpin *>(m_spin)->setSteppedRange(s.min, s.max);
        m_spin->setValue(s.number);
        break;
    }
    case ControlKind::ComboBox: {
        const QSignalBlocker block(m_combo);
        QStringList current;
        for (int i = 0; i < m_combo->count(); ++i)
            current << m_combo->itemText(i);
        if (current != s.items) {
            m_combo->clear();
            m_combo->addItems(s.items);
        }
        if (auto *model = qobject_cast<QStandardItemModel *>(m_combo->model()))
            for (int i = 0; i < m_combo->count(); ++i)
                model->item(i)->setEnabled(i >= int(s.itemEnabled.size()) || s.itemEnabled[size_t(i)]);
        m_combo->setCurrentIndex(s.index ? *s.index : -1);
        break;
    }
    case ControlKind::CheckBox:
        if (!m_tableCell)
            m_check->setText(s.caption);
        m_check->setChecked(s.checked);
        break;
    case ControlKind::RadioGroup: {
        if (m_group && !m_tableCell)
            m_group->setTitle(s.caption);
        rebuildRadios(s.items);
        const QList<QAbstractButton *> buttons = m_buttons->buttons();
        // Nothing selected is a state of its own: exclusivity would keep the last one.
        m_buttons->setExclusive(false);
        for (QAbstractButton *b : buttons) {
            const int id = m_buttons->id(b);
            b->setChecked(s.index && *s.index == id);
            b->setEnabled(id >= int(s.itemEnabled.size()) || s.itemEnabled[size_t(id)]);
        }
        m_buttons->setExclusive(true);
        break;
    }
    case ControlKind::TextEdit: {
        const QSignalBlocker block(m_line);
        m_line->setText(s.text);
        break;
    }
    case ControlKind::DateEdit: {
        const QSignalBlocker block(m_date);
        m_date->setDate(dateOf(s.dayNumber));
        break;
    }
    }
}

TFieldBinder::TFieldBinder(TMK &model, TProtocolCatalog &catalog, QWidget *messageParent)
    : QObject(messageParent), m_model(model), m_catalog(catalog), m_messageParent(messageParent)
{
    m_report = [this](const QString &text) {
        QMessageBox::critical(m_messageParent, LangText("Error", "Ошибка"), text);
    };
}

TFieldControl *TFieldBinder::find(const QString &name) const
{
    const auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : it->second;
}

TFieldControl *TFieldBinder::control(const char *name, QWidget *parent) { return make(name, parent, false); }

TFieldControl *TFieldBinder::make(const char *name, QWidget *parent, bool compact)
{
    const QString key = QString::fromLatin1(name);
    if (TFieldControl *c = find(key))
        return c;
    const ed::FieldRow *row = ed::FindField(key);
    if (!row)
        throw TripError(QStringLiteral("no schema row %1").arg(key));
    auto *c = new TFieldControl(*row, parent, compact);
    m_controls.push_back(c);
    m_byName[key] = c;
    connect(c, &TFieldControl::enteredNumber, this, [this, key](double v) { storeNumber(key, v); });
    connect(c, &TFieldControl::chosenItem, this, [this, key](int i) { storeItem(key, i); });
    connect(c, &TFieldControl::checkedByUser, this, [this, key](bool on) { storeChecked(key, on); });
    connect(c, &TFieldControl::enteredText, this, [this, key](const QString &t) { storeText(key, t); });
    c->apply(ed::EvaluateField(m_model, m_catalog, *row));
    return c;
}

namespace {

TFieldControl *placeInForm(QFormLayout *form, TFieldControl *c)
{
    if (c->label())
        form->addRow(c->label(), c->widget());
    else
        form->addRow(c->widget());
    return c;
}

} // namespace

TFieldControl *TFieldBinder::addTo(QFormLayout *form, const char *name, QWidget *parent)
{
    return placeInForm(form, control(name, parent));
}

TFieldControl *TFieldBinder::addCompactTo(QFormLayout *form, const char *name, QWidget *parent)
{
    return placeInForm(form, make(name, parent, true));
}

bool TFieldBinder::commitEditing(QWidget *focused)
{
    if (!focused)
        return true;
    for (TFieldControl *c : m_controls) {
        if (c->widget() != focused && !c->widget()->isAncestorOf(focused))
            continue;
        bool ok = true;
        const auto watch = connect(this, &TFieldBinder::refused, this, [&ok] { ok = false; });
        c->commit();
        disconnect(watch);
        return ok;
    }
    return true;
}

void TFieldBinder::refresh()
{
    for (TFieldControl *c : m_controls)
        c->apply(ed::EvaluateField(m_model, m_catalog, c->row()));
    emit refreshed();
}

bool TFieldBinder::run(const QString &name, const std::function<void(const ed::FieldRow &)> &store)
{
    TFieldControl *c = find(name);
    const ed::FieldRow *row = c ? &c->row() : ed::FindField(name);
    if (!row)
        return false;
    const uint64_t protocolBefore = m_model.get(fld::ProtocolIndex);
    bool ok = true;
    try {
        store(*row);
    } catch (const TripError &e) {
        // The field keeps its value and the control shows it again.
        ok = false;
        report(e.text());
    }
    refresh();
    if (!ok)
        emit refused(name);
    if (ok) {
        emit stored(name);
        if (m_model.get(fld::ProtocolIndex) != protocolBefore)
            emit protocolChanged();
    }
    return ok;
}

bool TFieldBinder::storeNumber(const QString &name, double shown)
{
    return run(name, [&](const ed::FieldRow &row) {
        if (const QString why = ed::RangeError(ed::EvaluateField(m_model, m_catalog, row), shown); !why.isEmpty())
            throw TripError(why);
        ed::StoreNumber(m_model, m_catalog, row, shown);
    });
}

bool TFieldBinder::storeItem(const QString &name, int index)
{
    return run(name, [&](const ed::FieldRow &row) { ed::StoreItem(m_model, m_catalog, row, index); });
}

bool TFieldBinder::storeChecked(const QString &name, bool checked)
{
    return run(name, [&](const ed::FieldRow &row) { ed::StoreChecked(m_model, m_catalog, row, checked); });
}

bool TFieldBinder::storeText(const QString &name, const QString &text)
{
    return run(name, [&](const ed::FieldRow &row) {
        if (row.kind == ControlKind::DateEdit)
            ed::StoreDate(m_model, row, text);
        else
            ed::StoreText(m_model, m_catalog, row, text);
    });
}
