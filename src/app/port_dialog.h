#pragma once
#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class TKV_RS_Base;

// The port-number dialog: "COM"n for every available port with the device
// file behind it, what the chosen one is (adapter, serial number), and the
// ports that cannot be opened with the reason.
class TPortDialog : public QDialog {
    Q_OBJECT
public:
    TPortDialog(const TKV_RS_Base &port, QWidget *parent);
    int SelectedPort() const; // 0 when nothing is chosen
    QComboBox *cbPort = nullptr;
    QLabel *lPortInfo = nullptr;    // the chosen port's device and adapter
    QLabel *lUnavailable = nullptr; // null when every port can be opened
};

// The password dialog of the access lock.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    TPasswordDlg(const QString &message, QWidget *parent);
    QString Entry() const;
    QLineEdit *ePassword = nullptr;
};

// Overridable for tests: the port dialog returns the chosen port number, 0 on
// Cancel; the password dialog returns the entry, empty on Cancel.
using TPortChoiceHook = std::function<int(const TKV_RS_Base &port)>;
void SetPortChoiceHook(TPortChoiceHook hook);
using TPasswordHook = std::function<QString(const QString &message)>;
void SetPasswordHook(TPasswordHook hook);

// The access lock: true when open or when the right password is typed; a
// wrong one is reported (through the link's error box) and refused.
bool CheckAccess(QWidget *parent);

// The command behind "Select a COM port": asks for the port and reopens it.
void SelectPort(TKV_RS_Base &port, QWidget *parent);
