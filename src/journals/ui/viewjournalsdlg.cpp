#include "viewjournalsdlg.h"

#include "blocks.h"
#include "language.h"
#include "messages.h"
#include "stringgrid.h"
#include "tmk.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The size the dialog opens with unless its contents need more.
constexpr QSize kInitialSize{1016, 523};

const QList<int> kJournalWidths{50, 140, 96, 84, 131, 156, 145, 113, 78};
const QList<int> kSumWidths{147, 116};
const QList<int> kErrorWidths{50, 140, 231};
const QList<int> kFrameWidths{380, 144};
constexpr int kRowHeight = 18;
constexpr int kSumRowHeight = 20;
constexpr int kFrameRows = 41;
constexpr int kPageMargin = 4;

QString askFileName(QWidget *parent, const QString &folder)
{
    return SaveFileDialog(parent, {.defaultSuffix = QStringLiteral("txt"), .folder = folder, .confirmOverwrite = true});
}

QWidget *makeBoldPage()
{
    auto *page = new QWidget;
    QFont f = page->font();
    f.setBold(true);
    page->setFont(f);
    return page;
}

// Grids keep to the size of their cells and shrink, with scroll bars, only
// when the dialog is made smaller than they need.
void keepToCells(TStringGrid *grid) { grid->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum); }

constexpr Qt::Alignment kTopLeft = Qt::AlignLeft | Qt::AlignTop;

} // namespace

TMK_ViewJournalsDlg::TMK_ViewJournalsDlg(TMK &model, QWidget *parent)
    : QDialog(parent), m_model(model), m_point(QLocale().decimalPoint()), m_fileName(askFileName)
{
    setObjectName(QStringLiteral("TMK_ViewJournalsDlg"));
    setWindowTitle(LangText("Viewing logs", "Просмотр журналов"));
    setSizeGripEnabled(true);
    m_faultStyle = JournalFaultFormat(m_model);

    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));

    tsTrip = makeJournalPage(Journal::Trip, sgTrip, bTrip, bTripReset);
    tsTrip->setObjectName(QStringLiteral("tsTrip"));
    sgTrip->setObjectName(QStringLiteral("sgTrip"));
    bTrip->setObjectName(QStringLiteral("bTrip"));
    bTripReset->setObjectName(QStringLiteral("bTripReset"));
    pcMain->addTab(tsTrip, LangText("Trip log", "Журнал поездок"));
    // A table takes no name from a label: each is named for screen readers.
    sgTrip->setAccessibleName(pcMain->tabText(0));

    tsTank = makeJournalPage(Journal::Refuel, sgTank, bTank, bTankReset);
    tsTank->setObjectName(QStringLiteral("tsTank"));
    sgTank->setObjectName(QStringLiteral("sgTank"));
    bTank->setObjectName(QStringLiteral("bTank"));
    bTankReset->setObjectName(QStringLiteral("bTankReset"));
    pcMain->addTab(tsTank, LangText("Petrol log", "Журнал заправок"));
    sgTank->setAccessibleName(pcMain->tabText(1));

    tsAver = makeSumsPage();
    tsAver->setObjectName(QStringLiteral("tsAver"));
    pcMain->addTab(tsAver, LangText("Average", "Средние"));

    tsErr = makeErrorsPage();
    tsErr->setObjectName(QStringLiteral("tsErr"));
    pcMain->addTab(tsErr, LangText("Faults log", "Журнал ошибок"));
    sgErrors->setAccessibleName(pcMain->tabText(3));
    sgStopCadr->setAccessibleName(LangText("Freeze frame", "Стоп-кадр"));

    auto *buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(LangText("Cancel", "Отмена"), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    for (QPushButton *b : {OKBtn, CancelBtn})
        b->setMinimumWidth(88);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    buttons->setContentsMargins(0, 0, 8, 0);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(pcMain, 1);
    layout->addWidget(buttons);

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
    resize(kInitialSize.expandedTo(sizeHint()));
}

QWidget *TMK_ViewJournalsDlg::makeJournalPage(Journal which, TStringGrid *&grid, QPushButton *&save,
                                              QPushButton *&reset)
{
    QWidget *page = makeBoldPage();
    grid = new TStringGrid(journal::kGridColumns, journal::kGridRows, 1, 1, page);
    grid->setDefaultRowHeight(kRowHeight);
    grid->setColumnWidths(kJournalWidths);
    grid->setRightAlignedData(true);
    grid->fitFontTo({JournalHeader()});
    keepToCells(grid);

    save = new QPushButton(LangText("Save to file", "Сохранить в файл"), page);
    save->setMinimumWidth(140);
    reset = new QPushButton(LangText("Clear", "Очистить"), page);
    reset->setMinimumWidth(110);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(reset);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(grid, 0, kTopLeft);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(save, &QPushButton::clicked, this, [this, which] { saveJournal(journalGrid(which)); });
    connect(reset, &QPushButton::clicked, this, [this, which] {
        const auto target =
            which == Journal::Trip ? JournalClearing::Target::TripJournal : JournalClearing::Target::RefuelJournal;
        if (clear({target}))
            fillJournal(which);
    });
    return page;
}

QWidget *TMK_ViewJournalsDlg::makeSumsPage()
{
    QWidget *page = makeBoldPage();
    // Three columns of tables, each title above its table, the hint below the
    // last table of the third column.
    auto *layout = new QGridLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->setVerticalSpacing(10);
    layout->setHorizontalSpacing(20);
    int titleHeight = 0;
    for (const SumGroupInfo &info : SumGroups()) {
        const int k = static_cast<int>(info.id);
        auto *title = new QLabel(LangText(info.titleEn, info.titleRu), page);
        auto *grid = new TStringGrid(2, journal::kSumRows, 0, 0, page);
        grid->setObjectName(QString::fromLatin1(info.table));
        grid->setDefaultRowHeight(kSumRowHeight);
        grid->setColumnWidths(kSumWidths);
        keepToCells(grid);
        title->setBuddy(grid);
        grid->setAccessibleName(title->text());
        titleHeight = title->sizeHint().height();
        auto *block = new QVBoxLayout;
        block->setSpacing(2);
        block->addWidget(title);
        block->addWidget(grid, 0, kTopLeft);
        layout->addLayout(block, k % 3, k / 3, kTopLeft);
        sumGrids[static_cast<size_t>(k)] = grid;
        const SumGroupId id = info.id;
        connect(grid, &QAbstractItemView::doubleClicked, this, [this, id] {
            if (clear({JournalClearing::Target::Sums, id}))
                fillSum(id);
        });
    }
    auto *hint = new QLabel(LangText("To reset the adders, double-click on the corresponding table",
                                     "Для сброса накопителей сделайте двойной щелчок мыши на соответствующей таблице"),
                            page);
    hint->setObjectName(QStringLiteral("lHint"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setContentsMargins(0, titleHeight + 2, 0, 0); // level with the tables, not their titles
    const int hintAt = kSumGroupCount;
    layout->addWidget(hint, hintAt % 3, hintAt / 3);
    for (int c = 0; c < 3; ++c)
        layout->setColumnStretch(c, 1);
    layout->setRowStretch(3, 1);
    return page;
}

QWidget *TMK_ViewJournalsDlg::makeErrorsPage()
{
    QWidget *page = makeBoldPage();
    sgErrors = new TStringGrid(3, journal::kErrorRecords + 1, 1, 1, page);
    sgErrors->setObjectName(QStringLiteral("sgErrors"));
    sgErrors->setDefaultRowHeight(kRowHeight);
    sgErrors->setColumnWidths(kErrorWidths);
    sgErrors->setSelectionBehavior(QAbstractItemView::SelectRows);
    keepToCells(sgErrors);

    bErr = new QPushButton(LangText("Save to file", "Сохранить в файл"), page);
    bErr->setObjectName(QStringLiteral("bErr"));
    bErr->setMinimumWidth(140);
    bErrrJReset = new QPushButton(LangText("Clear", "Очистить"), page);
    bErrrJReset->setObjectName(QStringLiteral("bErrrJReset"));
    bErrrJReset->setMinimumWidth(110);

    sgStopCadr = new TStringGrid(2, kFrameRows, 0, 0, page);
    sgStopCadr->setObjectName(QStringLiteral("sgStopCadr"));
    sgStopCadr->setDefaultRowHeight(kRowHeight);
    sgStopCadr->setColumnWidths(kFrameWidths);
    sgStopCadr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // As tall as a journal; the page's full height once laid out.
    sgStopCadr->setVisibleRows(journal::kGridRows);
    sgStopCadr->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    {
        // The longest label and the longest status text decide the font, so
        // that the grid looks the same whichever frame it shows.
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

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bErr);
    buttons->addWidget(bErrrJReset);
    buttons->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addWidget(sgErrors, 0, kTopLeft);
    left->addLayout(buttons);
    left->addStretch(1);
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addLayout(left);
    layout->addStretch(1);
    layout->addWidget(sgStopCadr);

    connect(sgErrors->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { fillFreezeFrame(current.row()); });
    connect(sgErrors, &QAbstractItemView::clicked, this, [this](const QModelIndex &at) { fillFreezeFrame(at.row()); });
    connect(bErr, &QPushButton::clicked, this, &TMK_ViewJournalsDlg::saveErrors);
    connect(bErrrJReset, &QPushButton::clicked, this, [this] {
        if (clear({JournalClearing::Target::ErrorJournal}))
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
        const QSignalBlocker block(sgErrors->selectionModel());
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
    const auto rows =
        FreezeFrameRows(FreezeFramePids::read(errorLog), FreezeFrame::read(errorLog, errorRow - 1), m_point);
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
    // A column that had to widen for a text widens in every table, so that
    // the tables stay alike.
    for (int c = 0; c < grid->columnCount(); ++c) {
        int width = 0;
        for (const TStringGrid *g : sumGrids)
            width = std::max(width, g ? g->columnWidth(c) : 0);
        for (TStringGrid *g : sumGrids)
            if (g && g->columnWidth(c) < width)
                g->setColumnWidth(c, width);
    }
}

bool TMK_ViewJournalsDlg::clear(const JournalClearing &what)
{
    // Nothing to erase, nothing to ask.
    if (!ClearingErases(m_model, what))
        return false;
    if (!AskYesNo(this, ClearingQuestion(m_model, what)))
        return false;
    Clear(m_model, what);
    return true;
}

QString TMK_ViewJournalsDlg::askExportPath()
{
    const QString path = m_fileName ? m_fileName(this, StartFolder(TFileKind::JournalExport)) : QString();
    RememberFolder(TFileKind::JournalExport, path);
    return path;
}

void TMK_ViewJournalsDlg::saveJournal(const TStringGrid *grid)
{
    const QString path = askExportPath();
    if (!path.isEmpty())
        saveGrid(grid, path);
}

void TMK_ViewJournalsDlg::saveErrors()
{
    const QString path = askExportPath();
    if (!path.isEmpty())
        saveErrorJournal(path);
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
    return writeExport(JournalExportBytes(rows), path);
}

bool TMK_ViewJournalsDlg::saveErrorJournal(const QString &path)
{
    return writeExport(JournalExportBytes(ErrorJournalExport(m_model, m_faultStyle, m_point)), path);
}

bool TMK_ViewJournalsDlg::writeExport(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ErrorBox(this, QStringLiteral("%1\n%2").arg(path, file.errorString()));
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
        // Larger fonts make the dialog larger; it never opens past the
        // screen, and the grids scroll what does not fit.
        const QRect room = s->availableGeometry();
        const QSize decoration = frameGeometry().size() - size();
        resize(size().boundedTo(room.size() - decoration).expandedTo(minimumSizeHint()));
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
