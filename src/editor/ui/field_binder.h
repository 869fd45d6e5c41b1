#pragma once
#include "field_state.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class TMK;
class TProtocolCatalog;

// One editor control bound to one row of the field schema. It shows what
// ed::EvaluateField says and stores through ed::Store* the moment the user
// leaves it (spin, text and date edits, cbProtocol), clicks it (radio groups,
// check boxes) or changes it (other combo boxes).
class TFieldControl : public QObject {
    Q_OBJECT
public:
    // With `captionBeside` a radio group is a row of radio buttons without a
    // frame, with its caption in a label() beside it, as spin edits and combo
    // boxes have.
    TFieldControl(const ed::FieldRow &row, QWidget *parent, bool captionBeside = false);

    const ed::FieldRow &row() const { return m_row; }
    // The control itself: a spin box, a combo box, a check box, a line edit, a
    // date edit or the widget holding the radio buttons.
    QWidget *widget() const { return m_widget; }
    // The caption beside spin, text and date edits, combo boxes and radio
    // groups made with `captionBeside`; framed radio groups and check boxes
    // carry their own caption and have none.
    QLabel *label() const { return m_label; }

    void apply(const ed::FieldState &state);
    const ed::FieldState &state() const { return m_state; }

    // Stores what the control shows when it differs from the model, as leaving
    // it would (text typed into a spin, text or date edit, a protocol chosen
    // but not left).
    void commit();

    // For tests and the dialog: the radio buttons of a radio group.
    QList<QAbstractButton *> radioButtons() const;
    // A table cell: a radio group without its title or frame, its items in one
    // row, or a check box without its text (the caption becomes a tooltip):
    // for tables whose captions stand in a column or heading of their own.
    void setTableCell(bool cell);

signals:
    void enteredNumber(double shown);
    void chosenItem(int index);
    void checkedByUser(bool checked);
    void enteredText(const QString &text); // text edits; date edits as "dd.MM.yy"

private:
    void rebuildRadios(const QStringList &items);
    void nameForReaders();
    QString dateText() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    const ed::FieldRow &m_row;
    ed::FieldState m_state;
    QWidget *m_widget = nullptr;
    QLabel *m_label = nullptr;
    QDoubleSpinBox *m_spin = nullptr;
    QComboBox *m_combo = nullptr;
    QCheckBox *m_check = nullptr;
    QLineEdit *m_line = nullptr; // a time of day or an item name
    QDateEdit *m_date = nullptr;
    QGroupBox *m_group = nullptr;  // a framed radio group
    QWidget *m_radioBox = nullptr; // what holds the radio buttons
    QButtonGroup *m_buttons = nullptr;
    bool m_tableCell = false;
    QStringList m_radioItems;
    QString m_toolTip; // the one last set from the state
};

// The controls of the editor's single-field rows. Pages ask it for the
// controls they place; after every store all bound controls are re-evaluated,
// so a rule that ties two fields together is applied wherever it shows.
class TFieldBinder : public QObject {
    Q_OBJECT
public:
    TFieldBinder(TMK &model, TProtocolCatalog &catalog, QWidget *messageParent);

    // The control of schema row `name`, made on first use with `parent`.
    TFieldControl *control(const char *name, QWidget *parent);
    TFieldControl *find(const QString &name) const;
    // Places the control in a form: "caption | control", or the control across
    // both columns when it carries its own caption.
    TFieldControl *addTo(QFormLayout *form, const char *name, QWidget *parent);
    // The same with a radio group whose caption stands beside it: "caption |
    // buttons in a row".
    TFieldControl *addCompactTo(QFormLayout *form, const char *name, QWidget *parent);

    // Where refusals go (a range error); an error message box by default.
    void setErrorReporter(std::function<void(const QString &text)> report) { m_report = std::move(report); }
    // A refusal of a page's own control (the tare grid) goes the same way.
    void report(const QString &text) const
    {
        if (m_report)
            m_report(text);
    }

    // Commits the control that holds `focused` (see TFieldControl::commit);
    // false when its store was refused.
    bool commitEditing(QWidget *focused);

    // Re-evaluates and shows every bound control.
    void refresh();

    // What leaving or clicking a control does, also for tests.
    bool storeNumber(const QString &name, double shown);
    bool storeItem(const QString &name, int index);
    bool storeChecked(const QString &name, bool checked);
    bool storeText(const QString &name, const QString &text);

signals:
    void stored(const QString &name);
    // A store was refused with a message; the field kept its value.
    void refused(const QString &name);
    // Every bound control was re-evaluated (after each store, and on request).
    void refreshed();
    // The protocol index changed: everything that depends on it is rebuilt.
    void protocolChanged();

private:
    bool run(const QString &name, const std::function<void(const ed::FieldRow &)> &store);
    TFieldControl *make(const char *name, QWidget *parent, bool compact);

    TMK &m_model;
    TProtocolCatalog &m_catalog;
    QPointer<QWidget> m_messageParent;
    std::vector<TFieldControl *> m_controls;
    std::map<QString, TFieldControl *> m_byName;
    std::function<void(const QString &)> m_report;
};
