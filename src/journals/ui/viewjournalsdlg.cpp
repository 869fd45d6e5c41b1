#include "viewjournalsdlg.h"

#include "blocks.h"
#include "language.h"
#include "stringgrid.h"
#include "tmk.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>

namespace {

constexpr int kClientWidth = 1016;
constexpr int kClientHeight = 523;
constexpr int kPagesHeight = 489;

const QList<int> kJournalWidths{50, 140, 96, 84, 131, 156, 145, 113, 78};
const QList<int> kSumWidths{147, 116};
const QList<int> kErrorWidths{50, 140, 231};
const QList<int> kFrameWidths{380, 144};
constexpr int kRowHeight = 18;
constexpr int kSumRowHeight = 20;
constexpr int kFrameRows = 41;

QString askFileName(QWidget *parent, const QString &folder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void makeBold(QWidget *page)
{
    QFont f = page->font();
    f.setBold(true);
    page->setFont(f);
}

} // namespace

TMK_ViewJournalsDlg::TMK_ViewJournalsDlg(TMK &model, QWidget *parent)
    : QDialog(parent), m_model(model), m_point(QLocale().decimalPoint()),
      m_saveFolder(QCoreApplication::applicationDirPath()), m_fileName(askFileName)
{
    setObjectName(QStringLiteral("TMK_ViewJournalsDlg"));
    setWindowTitle(LangText("Viewing logs", "Просмотр журналов"));
    setFixedSize(kClientWidth, kClientHeight);
    m_faultStyle = JournalFaultFormat(m_model);

    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    pcMain->setGeometry(0, 0, kClientWidth, kPagesHeight);

    tsTrip = makeJournalPage(Journal::Trip, sgTrip, bTrip, bTripReset);
    tsTrip->setObjectName(QStringLiteral("tsTrip"));
    sgTrip->setObjectName(QStringLiteral("sgTrip"));
    bTrip->setObjectName(QStringLiteral("bTrip"));
    bTripReset->setObjectName(QStringLiteral("bTripReset"));
    pcMain->addTab(tsTrip, LangText("Trip log", "Журнал поездок"));

    tsTank = makeJournalPage(Journal::Refuel, sgTank, bTank, bTankReset);
    tsTank->setObjectName(QStringLiteral("tsTank"));
    sgTank->setObjectName(QStringLiteral("sgTank"));
    bTank->setObjectName(QStringLiteral("bTank"));
    bTankReset->setObjectName(QStringLiteral("bTankReset"));
    pcMain->addTab(tsTank, LangText("Petrol log", "Журнал заправок"));

    tsAver = makeSumsPage();
    tsAver->setObjectName(QStringLiteral("tsAver"));
    pcMain->addTab(tsAver, LangText("Average", "Средние"));

    tsErr = makeErrorsPage();
    tsErr->setObjectName(QStringLiteral("tsErr"));
    pcMain->addTab(tsErr, LangText("Faults log", "Журнал ошибок"));

    const int buttonTop = kPagesHeight + 5;
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(kClientWidth - 2 * 96, buttonTop, 88, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    CancelBtn = new QPushButton(LangText("Cancel", "Отмена"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(kClientWidth - 96, buttonTop, 88, 25);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // Escape closes as Cancel whichever control has the focus.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QDialog::reject);

    pcMain->setCurrentIndex(0);
    fillJournal(Journal::Trip);
    fillJournal(Journal::Refuel);
    fillErrors();
    for (const SumGroupInfo &g : SumGroups())
        fillSum(g.id);
}

QWidget *TMK_ViewJournalsDlg::makeJournalPage(Journal which, TStringGrid *&grid, QPushButton *&save,
                                              QPushButton *&reset)
{
    auto *page = new QWidget;
    makeBold(page);
    grid = new TStringGrid(journal::kGridColumns, journal::kGridRows, 1, 1, page);
    grid->setDefaultRowHeight(kRowHeight);
    grid->setColumnWidths(kJournalWidths);
    grid->setRightAlignedData(true);
    grid->fitToCells();
    grid->move(4, 4);
    grid->fitFontTo({JournalHeader()});

    const int top = 4 + grid->height() + 8;
    save = new QPushButton(LangText("Save to file", "Сохранить в файл"), page);
    save->setGeometry(4, top, 140, 25);
    reset = new QPushButton(LangText("Clear", "Очистить"), page);
    reset->setGeometry(4 + 140 + 8, top, 110, 25);

    connect(save, &QPushButton::clicked, this, [this, which] { saveJournal(journalGrid(which)); });
    connect(reset, &QPushButton::clicked, this, [this, which] {
        if (which == Journal::Trip)
            ClearTripJournal(m_model);
        else
            ClearRefuelJournal(m_model);
        fillJournal(which);
    });
    return page;
}

QWidget *TMK_ViewJournalsDlg::makeSumsPage()
{
    auto *page = new QWidget;
    makeBold(page);
    // Three columns of tables, each title above its table.
    constexpr int columnLeft[3] = {8, 340, 672};
    constexpr int blockHeight = 148;
    for (const SumGroupInfo &info : SumGroups()) {
        const int k = static_cast<int>(info.id);
        const int column = k / 3;
        const int top = 6 + (k % 3) * blockHeight;
        auto *title = new QLabel(LangText(info.titleEn, info.titleRu), page);
        title->setGeometry(columnLeft[column], top, 320, 18);
        auto *grid = new TStringGrid(2, journal::kSumRows, 0, 0, page);
        grid->setObjectName(QString::fromLatin1(info.table));
        grid->setDefaultRowHeight(kSumRowHeight);
        grid->setColumnWidths(kSumWidths);
        grid->fitToCells();
        grid->move(columnLeft[column], top + 20);
        title->setBuddy(grid);
        sumGrids[static_cast<size_t>(k)] = grid;
        const SumGroupId id = info.id;
        connect(grid, &TStringGrid::doubleClicked, this, [this, id] {
            ClearSumGroup(m_model, id);
            fillSum(id);
        });
    }
    auto *hint = new QLabel(LangText("To reset the adders, double-click on the corresponding table",
                                     "Для сброса накопителей сделайте двойной щелчок мыши на соответствующей таблице"),
                            page);
    hint->setObjectName(QStringLiteral("lHint"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setGeometry(columnLeft[2], 6 + 2 * blockHeight + 20, 300, 80);
    return page;
}

QWidget *TMK_ViewJournalsDlg::makeErrorsPage()
{
    auto *page = new QWidget;
    makeBold(page);
    sgErrors = new TStringGrid(3, journal::kErrorRecords + 1, 1, 1, page);
    sgErrors->setObjectName(QStringLiteral("sgErrors"));
    sgErrors->setDefaultRowHeight(kRowHeight);
    sgErrors->setColumnWidths(kErrorWidths);
    sgErrors->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgErrors->fitToCells();
    sgErrors->move(4, 4);

    bErrrJReset = new QPushButton(LangText("Clear", "Очистить"), page);
    bErrrJReset->setObjectName(QStringLiteral("bErrrJReset"));
    bErrrJReset->setGeometry(4, 4 + sgErrors->height() + 8, 110, 25);

    sgStopCadr = new TStringGrid(2, kFrameRows, 0, 0, page);
    sgStopCadr->setObjectName(QStringLiteral("sgStopCadr"));
    sgStopCadr->setDefaultRowHeight(kRowHeight);
    sgStopCadr->setColumnWidths(kFrameWidths);
    sgStopCadr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgStopCadr->fitToCells(1);
    {
        // The longest label and the longest status text decide the font.
        FreezeFramePids all;
        all.bits.fill(0xFF);
        FreezeFrame frame;
        frame.bytes[0] = 1;
        QList<QStringList> samples;
        for (const auto &row : FreezeFrameRows(all, frame, m_point))
            samples << QStringList{row.first, row.second};
        for (int status : {1, 2, 4, 8, 16})
            samples << QStringList{QString(), FuelSystemText(status)};
        for (int status : {1, 2, 4})
            samples << QStringList{QString(), SecondaryAirText(status)};
        sgStopCadr->fitFontTo(samples);
    }
    // Full height on the right of the page.
    const int pageHeight = kPagesHeight - 32;
    sgStopCadr->setFixedHeight(pageHeight - 8);
    sgStopCadr->move(kClientWidth - 8 - sgStopCadr->width(), 4);

    connect(sgErrors, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { fillFreezeFrame(row); });
    connect(sgErrors, &QTableWidget::cellClicked, this, [this](int row, int) { fillFreezeFrame(row); });
    connect(bErrrJReset, &QPushButton::clicked, this, [this] {
        ClearErrorJournal(m_model);
        fillErrors();
    });
    return page;
}

void TMK_ViewJournalsDlg::fillJournal(Journal which)
{
    TStringGrid *grid = journalGrid(which);
    const QList<QStringList> rows = JournalGrid(m_model, which, m_point);
    for (int r = 0; r < rows.size(); ++r)
        grid->setRowTexts(r, rows[r]);
}

void TMK_ViewJournalsDlg::fillErrors()
{
    sgErrors->setRowTexts(0, {QStringLiteral("#"), LangText("Time", "Время"), LangText("Trouble code", "Код ошибки")});
    for (int i = 0; i < journal::kErrorRecords; ++i)
        sgErrors->setRowTexts(i + 1, ErrorListRow(m_model, i, m_faultStyle));
    int row = sgErrors->currentRow();
    if (row < 1) {
        const QSignalBlocker block(sgErrors);
        sgErrors->setCurrentCell(1, 1);
        row = 1;
    }
    fillFreezeFrame(row);
}

void TMK_ViewJournalsDlg::fillFreezeFrame(int errorRow)
{
    sgStopCadr->clearTexts();
    if (errorRow < 1 || errorRow > journal::kErrorRecords)
        return;
    const uint8_t *errorLog = m_model.block(mem::ErrorLogBlock);
    const auto rows = FreezeFrameRows(FreezeFramePids::read(errorLog), FreezeFrame::read(errorLog, errorRow - 1),
                                      m_point);
    if (rows.isEmpty())
        return;
    for (int r = 0; r < rows.size(); ++r)
        sgStopCadr->setRowTexts(r, {rows[r].first, rows[r].second});
    sgStopCadr->setRowTotal(static_cast<int>(rows.size()));
}

void TMK_ViewJournalsDlg::fillSum(SumGroupId id)
{
    TStringGrid *grid = sumGrids[static_cast<size_t>(id)];
    const auto rows = SumRows(m_model, id, m_point);
    for (int r = 0; r < rows.size(); ++r)
        grid->setRowTexts(r, {rows[r].first, rows[r].second});
    grid->setRowTotal(static_cast<int>(rows.size()));
}

void TMK_ViewJournalsDlg::saveJournal(const TStringGrid *grid)
{
    const QString path = m_fileName ? m_fileName(this, m_saveFolder) : QString();
    if (path.isEmpty())
        return;
    m_saveFolder = QFileInfo(path).absolutePath();
    saveGrid(grid, path);
}

bool TMK_ViewJournalsDlg::saveGrid(const TStringGrid *grid, const QString &path)
{
    QList<QStringList> rows;
    for (int r = 0; r < journal::kGridRows; ++r) {
        QStringList row;
        for (int c = 0; c < journal::kGridColumns; ++c)
            row << grid->cell(r, c);
        rows << row;
    }
    QSaveFile file(path);
    const QByteArray bytes = JournalExportBytes(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QMessageBox::critical(this, LangText("Error", "Ошибка"), QStringLiteral("%1\n%2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

void TMK_ViewJournalsDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    pcMain->setCurrentIndex(0);
    if (const QScreen *s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

std::function<bool(TMK &)> JournalsViewerDialog(QWidget *parent)
{
    return [parent](TMK &m) {
        TMK_ViewJournalsDlg dialog(m, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

bool ShowJournalsViewer(TMK &model, QWidget *parent) { return model.ViewJournals(JournalsViewerDialog(parent)); }
