#pragma once
#include "journals.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;
class TMK;
class TStringGrid;

// The modal journals viewer: trip and refuelling journals, the eight
// accumulator tables and the error journal with its freeze frames. It reads and
// changes the model's blocks directly; the model decides what a Cancel keeps.
class TMK_ViewJournalsDlg : public QDialog {
    Q_OBJECT
public:
    explicit TMK_ViewJournalsDlg(TMK &model, QWidget *parent = nullptr);

    // Asks for the export file name; replaceable so that tests need no file dialog.
    using FileNameProvider = std::function<QString(QWidget *parent, const QString &folder)>;
    void setFileNameProvider(FileNameProvider provider) { m_fileName = std::move(provider); }

    // Writes the grid's texts to `path` in Windows-1251, atomically. On a
    // failure shows the system's message and returns false.
    bool saveGrid(const TStringGrid *grid, const QString &path);
    // The same for the fault journal with its freeze frames.
    bool saveErrorJournal(const QString &path);

    void fillJournal(Journal which);
    void fillErrors();
    void fillFreezeFrame(int errorRow);
    void fillSum(SumGroupId id);

    TStringGrid *sgTrip = nullptr;
    TStringGrid *sgTank = nullptr;
    TStringGrid *sgErrors = nullptr;
    TStringGrid *sgStopCadr = nullptr;
    std::array<TStringGrid *, kSumGroupCount> sumGrids{};
    QTabWidget *pcMain = nullptr;
    QWidget *tsTrip = nullptr, *tsTank = nullptr, *tsAver = nullptr, *tsErr = nullptr;
    QPushButton *bTrip = nullptr, *bTripReset = nullptr, *bTank = nullptr, *bTankReset = nullptr;
    QPushButton *bErr = nullptr, *bErrrJReset = nullptr, *OKBtn = nullptr, *CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makeJournalPage(Journal which, TStringGrid *&grid, QPushButton *&save, QPushButton *&reset);
    QWidget *makeSumsPage();
    QWidget *makeErrorsPage();
    void saveJournal(const TStringGrid *grid);
    void saveErrors();
    QString askExportPath(); // empty when the user cancelled
    bool writeExport(const QByteArray &bytes, const QString &path);
    // Asks before erasing; true when the blocks were cleared.
    bool clear(const JournalClearing &what);
    TStringGrid *journalGrid(Journal which) const { return which == Journal::Trip ? sgTrip : sgTank; }

    TMK &m_model;
    int m_faultStyle = journal::kNoFaultFormat;
    QString m_point;
    FileNameProvider m_fileName;
    bool m_centred = false;
};

// The viewer as the callback of TMK::ViewJournals: shows the dialog modally
// and gives true when the user confirmed it.
std::function<bool(TMK &)> JournalsViewerDialog(QWidget *parent);

// Opens the viewer on the model through its journals operation: the blocks
// are unpacked first, OK packs them back, Cancel leaves the model as it was.
bool ShowJournalsViewer(TMK &model, QWidget *parent);
