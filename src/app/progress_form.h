#pragma once
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

// The window a transfer shows: a text, a gauge and a cancel button. Each
// transfer creates its own window, so the cancel request is never reset.
class TProgressForm : public QWidget {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget *owner);

    void SetText(const QString &text);
    void SetGauge(int percent);
    void SetGaugeVisible(bool visible);
    void SetCancelVisible(bool visible);
    bool CancelRequested() const { return m_cancel; }

    // Shows the window centred on its owner, above other windows, not modal.
    void ShowCentred();

    QLabel *ProgressLabel = nullptr;
    QProgressBar *ProgressGauge = nullptr;
    QPushButton *BitBtn1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void requestCancel();

    QWidget *m_owner;
    bool m_cancel = false;
};
