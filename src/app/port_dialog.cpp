#include "port_dialog.h"

#include "kv_rs_base.h"
#include "language.h"
#include "messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
TPortChoiceHook g_portHook;
TPasswordHook g_passwordHook;

// Shows every typed character of the password as "$".
class DollarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *ret) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '$';
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

QString portEntry(const TSerialPortInfo &info)
{
    QString text = QStringLiteral("COM%1").arg(info.Number);
    text += QStringLiteral("  %1").arg(info.Path);
    if (!info.Description.isEmpty())
        text += QStringLiteral(" (%1)").arg(info.Description);
    return text;
}

// What tells one adapter from another: maker and model, USB id, serial
// number, and the name that stays when it is plugged in elsewhere.
QString portDetails(const TSerialPortInfo &info)
{
    QStringList lines{info.Path};
    QString adapter = QStringList{info.Maker, info.Product}.join(QLatin1Char(' ')).trimmed();
    if (!info.UsbId.isEmpty())
        adapter += (adapter.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("USB ") + info.UsbId;
    if (!info.Serial.isEmpty())
        adapter += (adapter.isEmpty() ? QString() : QStringLiteral(", ")) +
                   LangText("serial number %1", "серийный номер %1").arg(info.Serial);
    if (adapter.isEmpty())
        adapter = info.Description;
    if (!adapter.isEmpty())
        lines << adapter;
    if (info.StableName != info.Path)
        lines << info.StableName;
    return lines.join(QLatin1Char('\n'));
}
} // namespace

void SetPortChoiceHook(TPortChoiceHook hook) { g_portHook = std::move(hook); }
void SetPasswordHook(TPasswordHook hook) { g_passwordHook = std::move(hook); }

TPortDialog::TPortDialog(const TKV_RS_Base &port, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPortDialog"));
    setWindowTitle(QStringLiteral("Port number selection"));
    auto *label = new QLabel(QStringLiteral("Select serial port"), this);
    cbPort = new QComboBox(this);
    cbPort->setObjectName(QStringLiteral("cbPort"));
    label->setBuddy(cbPort);
    lPortInfo = new QLabel(this);
    lPortInfo->setObjectName(QStringLiteral("lPortInfo"));
    lPortInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QStringList closed;
    std::vector<TSerialPortInfo> unavailable;
    for (const TSerialPortInfo &info : port.Ports()) {
        if (!info.Available) {
            closed << portEntry(info) + QStringLiteral(": ") + PortStateText(info);
            unavailable.push_back(info);
            continue;
        }
        cbPort->addItem(portEntry(info), info.Number);
        cbPort->setItemData(cbPort->count() - 1, portDetails(info), Qt::ToolTipRole);
        if (info.Number == port.PortNumber)
            cbPort->setCurrentIndex(cbPort->count() - 1);
    }
    auto showDetails = [this] { lPortInfo->setText(cbPort->currentData(Qt::ToolTipRole).toString()); };
    connect(cbPort, &QComboBox::currentIndexChanged, this, showDetails);
    showDetails();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cbPort);
    layout->addWidget(lPortInfo);
    if (!closed.isEmpty()) {
        // Ports that exist but cannot be had now, and what to do about it.
        lUnavailable =
            new QLabel(LangText("Ports that cannot be opened:", "Порты, которые нельзя открыть:") + QLatin1Char('\n') +
                           closed.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + PortProblemsText(unavailable),
                       this);
        lUnavailable->setObjectName(QStringLiteral("lUnavailable"));
        lUnavailable->setWordWrap(true);
        lUnavailable->setTextInteractionFlags(Qt::TextSelectableByMouse);
        lUnavailable->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
        layout->addWidget(lUnavailable);
    }
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TPortDialog::SelectedPort() const { return cbPort->currentIndex() < 0 ? 0 : cbPort->currentData().toInt(); }

TPasswordDlg::TPasswordDlg(const QString &message, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPasswordDlg"));
    setWindowTitle(QStringLiteral("Контроль доступа"));
    auto *label = new QLabel(message, this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    ePassword = new QLineEdit(this);
    ePassword->setObjectName(QStringLiteral("ePassword"));
    ePassword->setMaxLength(10);
    ePassword->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\p{L}\\p{N}]{0,10}")), ePassword));
    auto *style = new DollarStyle;
    style->setParent(ePassword);
    ePassword->setStyle(style);
    ePassword->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ePassword);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
}

QString TPasswordDlg::Entry() const { return result() == QDialog::Accepted ? ePassword->text() : QString(); }

bool CheckAccess(QWidget *parent)
{
    return TKV_RS_Base::CheckAccess([parent](const QString &message) {
        if (g_passwordHook)
            return g_passwordHook(message);
        TPasswordDlg dialog(message, parent);
        dialog.exec();
        return dialog.Entry();
    });
}

void SelectPort(TKV_RS_Base &port, QWidget *parent)
{
    if (!CheckAccess(parent))
        return;
    if (port.EnumeratePorts() == 0) {
        ErrorBox(parent, port.NoFreePortMessage());
        return;
    }
    int chosen = 0;
    if (g_portHook) {
        chosen = g_portHook(port);
    } else {
        TPortDialog dialog(port, parent);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.SelectedPort();
    }
    if (chosen > 0)
        port.PortNumber = chosen;
    // Cancel reopens the port that was open before: the probe closed it.
    port.ClosePort();
    port.OpenPort(port.PortNumber);
}
