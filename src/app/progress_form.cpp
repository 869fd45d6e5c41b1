#include "progress_form.h"

#include "language.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TProgressForm::TProgressForm(QWidget *owner)
    : QWidget(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      m_owner(owner)
{
    setObjectName(QStringLiteral("TProgressForm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("Progress..."));

    ProgressLabel = new QLabel(QStringLiteral("Прогресс"), this);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setAlignment(Qt::AlignCenter);
    ProgressLabel->setWordWrap(true);

    ProgressGauge = new QProgressBar(this);
    ProgressGauge->setObjectName(QStringLiteral("ProgressGauge"));
    ProgressGauge->setRange(0, 100);
    ProgressGauge->setValue(0);
    QPalette blue = ProgressGauge->palette();
    blue.setColor(QPalette::Highlight, QColor(0, 0, 200));
    ProgressGauge->setPalette(blue);

    BitBtn1 = new QPushButton(LangText("Cancel", "Отмена"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &TProgressForm::requestCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProgressLabel);
    layout->addWidget(ProgressGauge);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);

    // Fixed size that holds the longest text of either language on two lines.
    const int width = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48;
    ProgressLabel->setMinimumHeight(fontMetrics().lineSpacing() * 2);
    setFixedWidth(width);
    setFixedHeight(sizeHint().height());
}

void TProgressForm::SetText(const QString &text) { ProgressLabel->setText(text); }
void TProgressForm::SetGauge(int percent) { ProgressGauge->setValue(percent); }
void TProgressForm::SetGaugeVisible(bool visible) { ProgressGauge->setVisible(visible); }
void TProgressForm::SetCancelVisible(bool visible) { BitBtn1->setVisible(visible); }

// Escape and the close box cancel as the button does, while it is offered;
// the window itself goes when the transfer ends.
void TProgressForm::requestCancel()
{
    if (!BitBtn1->isHidden())
        m_cancel = true;
}

void TProgressForm::closeEvent(QCloseEvent *event)
{
    requestCancel();
    event->ignore();
}

void TProgressForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        requestCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TProgressForm::ShowCentred()
{
    if (m_owner) {
        const QRect frame = m_owner->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
}
