#include "main_form.h"

#include "app_paths.h"
#include "errors.h"
#include "exchange_log.h"
#include "ini_file.h"
#include "kv_rs.h"
#include "language.h"
#include "messages.h"
#include "port_dialog.h"
#include "progress_form.h"
#include "qt_language.h"
#include "settings_file.h"
#include "tmk.h"
#include "transfer.h"
#include "trip_version.h"
#include "setparamsdlg.h"
#include "viewjournalsdlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Captions of the main window: control name, Russian, English.
struct TCaption {
    const char *control;
    const char *russian;
    const char *english;
};

const TCaption kCaptions[] = {
    {"TMainForm", "Просмотр и настройка параметров МК (Версия 20.07.26)",
     "Viewing and configuring trip computer parameters (Version 20.07.26)"},
    {"Label5",
     "Внимание! Для правильной работы программы НЕОБХОДИМО предварительно загрузить в МК последнюю версию ПО.",
     "Attention! For the program to work correctly, you MUST first download the latest version of the software to "
     "the device."},
    {"bRS232", "Выбрать СОМ-порт", "Select a COM port"},
    {"GroupBox1", "Шаг 1", "Step 1"},
    {"Label2", "Для адекватного отображения возможных вариантов настроек считайте текущие настройки МК.",
     "For an adequate display of possible settings, read the current settings of the device."},
    {"bGetParams", "Считать настройки из МК", "Read settings from the device"},
    {"Label6", "или, если Вы ранее уже сохраняли настройки на диск, считайте файл с диска.",
     "or, if you have previously saved the settings to disk, read the file from disk."},
    {"bLoadParams", "Считать настройки из файла на диске", "Read settings from a file on disk"},
    {"GroupBox2", "Шаг 2", "Step 2"},
    {"Label3", "Произведите изменения настроек.", "Make changes to the settings."},
    {"bEditParams", "Редактировать настройки", "Edit settings"},
    {"GroupBox5", "Шаг 2a", "Step 2a"},
    {"Label7", "Просмотрите журналы поездок, заправок и ошибок", "View the logs of trips, gas stations and faults"},
    {"bViewJournals", "Просмотреть журналы", "View logs"},
    {"GroupBox3", "Шаг 3", "Step 3"},
    {"Label4", "Для возможности повторного просмотра или редактирования сохраните настройки на диск.",
     "To be able to view or edit the settings again, save the settings to disk."},
    {"bSaveParams", "Сохранить настройки в файл на диске", "Save the settings to a file on disk"},
    {"GroupBox4", "Шаг 4", "Step 4"},
    {"Label1", "Запишите настройки в МК", "Write the settings to the device"},
    {"bSetParams", "Записать настройки в МК", "Write the settings to the device"},
    {"cbEnglishVersion", "English language", "English language"},
};

const char *const kUnsavedQuestion[2] = {
    "Возможно, настройки были изменены, но не сохранены на диске. Сохранить?",
    "It is possible that the settings were changed, but not saved to disk. Save it?"};

// The settings file filter, written as the program's dialogs have always
// shown it, and the suffix a typed name without one gets.
const char *const kSettingsFilter = "Файлы настроек (*.kelmg)|*.kelmg";
const char *const kSettingsSuffix = "kelmg";

constexpr int kKeepAliveMs = 30000;

// Where the file dialogs of each kind were last used.
const QString kFoldersSection = QStringLiteral("Folders");

void setCaption(QWidget *w, const QString &text)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(text);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(text);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        g->setTitle(text);
    else
        w->setWindowTitle(text);
}

QLabel *makeLabel(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QGroupBox *makeGroup(QWidget *parent, const char *name)
{
    auto *g = new QGroupBox(parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

QString errorText(const std::exception &e)
{
    if (const auto *t = dynamic_cast<const TripError *>(&e))
        return t->text();
    return QString::fromLocal8Bit(e.what());
}

} // namespace

TMainForm::TMainForm(const TStartOptions &options, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_options(options)
{
    setObjectName(QStringLiteral("TMainForm"));
    buildControls();
    Relabel();
    fixSize();
    SetDependentEnabled(false);
}

TMainForm::~TMainForm()
{
    delete m_progress;
    if (m_opened)
        TKV_RS_Base::ErrorBoxHook = nullptr; // it points at this window
}

void TMainForm::buildControls()
{
    Label5 = makeLabel(this, "Label5");
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    QPalette red = Label5->palette();
    red.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    Label5->setPalette(red);

    bRS232 = makeButton(this, "bRS232");

    GroupBox1 = makeGroup(this, "GroupBox1");
    Label2 = makeLabel(GroupBox1, "Label2");
    bGetParams = makeButton(GroupBox1, "bGetParams");
    Label6 = makeLabel(GroupBox1, "Label6");
    bLoadParams = makeButton(GroupBox1, "bLoadParams");
    GroupBox2 = makeGroup(this, "GroupBox2");
    Label3 = makeLabel(GroupBox2, "Label3");
    bEditParams = makeButton(GroupBox2, "bEditParams");
    GroupBox5 = makeGroup(this, "GroupBox5");
    Label7 = makeLabel(GroupBox5, "Label7");
    bViewJournals = makeButton(GroupBox5, "bViewJournals");
    GroupBox3 = makeGroup(this, "GroupBox3");
    Label4 = makeLabel(GroupBox3, "Label4");
    bSaveParams = makeButton(GroupBox3, "bSaveParams");
    GroupBox4 = makeGroup(this, "GroupBox4");
    Label1 = makeLabel(GroupBox4, "Label1");
    bSetParams = makeButton(GroupBox4, "bSetParams");

    cbEnglishVersion = new QCheckBox(this);
    cbEnglishVersion->setObjectName(QStringLiteral("cbEnglishVersion"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kKeepAliveMs);

    // A step: its text at the top, its button at the bottom, so that the
    // buttons of the two columns line up.
    auto fill = [](QGroupBox *g, std::initializer_list<std::pair<QLabel *, QPushButton *>> rows) {
        auto *v = new QVBoxLayout(g);
        bool first = true;
        for (const auto &[label, button] : rows) {
            if (!first)
                v->addSpacing(g->fontMetrics().lineSpacing() / 2);
            first = false;
            v->addWidget(label);
            v->addStretch(1);
            v->addWidget(button);
        }
    };
    fill(GroupBox1, {{Label2, bGetParams}, {Label6, bLoadParams}});
    fill(GroupBox2, {{Label3, bEditParams}});
    fill(GroupBox5, {{Label7, bViewJournals}});
    fill(GroupBox3, {{Label4, bSaveParams}});
    fill(GroupBox4, {{Label1, bSetParams}});

    auto *left = new QVBoxLayout;
    left->addWidget(GroupBox1, 2);
    left->addWidget(GroupBox2, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(GroupBox5, 1);
    right->addWidget(GroupBox3, 1);
    right->addWidget(GroupBox4, 1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(bRS232);
    top->addStretch(1);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(Label5);
    outer->addLayout(top);
    outer->addLayout(columns, 1);
    outer->addWidget(cbEnglishVersion);

    connect(bRS232, &QPushButton::clicked, this, [this] { bRS232Click(); });
    connect(bGetParams, &QPushButton::clicked, this, [this] { bGetParamsClick(); });
    connect(bLoadParams, &QPushButton::clicked, this, [this] { bLoadParamsClick(); });
    connect(bEditParams, &QPushButton::clicked, this, [this] { bEditParamsClick(); });
    connect(bViewJournals, &QPushButton::clicked, this, [this] { bViewJournalsClick(); });
    connect(bSaveParams, &QPushButton::clicked, this, [this] { bSaveParamsClick(); });
    connect(bSetParams, &QPushButton::clicked, this, [this] { bSetParamsClick(); });
    connect(cbEnglishVersion, &QCheckBox::clicked, this, [this] { cbEnglishVersionClick(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

// The window is not resizable: its size holds the captions of both
// languages, so switching the language does not move anything.
void TMainForm::fixSize()
{
    ensurePolished();
    const bool english = EnglishVersion();
    const QList<QPushButton *> buttons = findChildren<QPushButton *>();
    const QList<QLabel *> labels = findChildren<QLabel *>();
    int buttonWidth = 0;
    for (bool e : {false, true}) {
        SetEnglishVersion(e);
        Relabel();
        for (QPushButton *b : buttons) {
            b->ensurePolished();
            buttonWidth = std::max(buttonWidth, b->sizeHint().width());
        }
    }
    const int pad = fontMetrics().averageCharWidth() * 6;
    const QMargins inner = GroupBox1->layout()->contentsMargins();
    GroupBox1->ensurePolished();
    const QMargins frame = GroupBox1->contentsMargins();
    const int sides = inner.left() + inner.right() + frame.left() + frame.right();
    const int column = std::max(buttonWidth + sides + pad, fontMetrics().averageCharWidth() * 44);
    for (QGroupBox *g : {GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox5})
        g->setFixedWidth(column);
    for (QPushButton *b : buttons)
        b->setMinimumHeight(fontMetrics().height() * 2);
    bRS232->setMinimumWidth(bRS232->sizeHint().width() + pad);

    // Word-wrapped texts get the height of their longer language at the width
    // they have, so no layout has to guess it.
    const int spacing = layout()->spacing() >= 0 ? layout()->spacing() : 6;
    for (QLabel *l : labels) {
        const int width = l == Label5 ? 2 * column + spacing : column - sides;
        int height = 0;
        for (bool e : {false, true}) {
            SetEnglishVersion(e);
            Relabel();
            height = std::max(height, l->heightForWidth(width));
        }
        l->setMinimumHeight(height);
    }
    SetEnglishVersion(english);
    Relabel();
    layout()->invalidate();
    layout()->activate();
    setFixedSize(layout()->totalSizeHint().expandedTo(layout()->totalMinimumSize()));
}

void TMainForm::Relabel()
{
    for (const TCaption &c : kCaptions) {
        const QString text = LangText(c.english, c.russian);
        if (objectName() == QLatin1String(c.control)) {
            setWindowTitle(text + QStringLiteral(" " TRIP_VERSION "[*]"));
            continue;
        }
        if (auto *w = findChild<QWidget *>(QLatin1String(c.control)))
            setCaption(w, text);
    }
    if (m_progress)
        m_progress->BitBtn1->setText(LangText("Cancel", "Отмена"));
}

void TMainForm::SetDependentEnabled(bool enabled)
{
    m_settingsInHand = enabled;
    for (QPushButton *b : {bEditParams, bViewJournals, bSaveParams, bSetParams})
        b->setEnabled(enabled);
}

// ---- start and close ---------------------------------------------------------

bool StoredEnglishVersion()
{
    const TMIniFile ini(IniFilePath());
    return ini.ReadBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), false);
}

void TMainForm::Open()
{
    if (m_opened) {
        show();
        return;
    }
    m_opened = true;
    QDir::setCurrent(ProgramFolder());

    TMIniFile ini(IniFilePath());
    // The language first: every message from here on speaks it.
    const bool english = ini.ReadBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), false);
    SetEnglishVersion(english);
    ApplyQtLanguage(english);

    if (!m_options.LogPath.isEmpty()) {
        m_exchangeLog = std::make_unique<TExchangeLog>();
        if (!OpenSupportLog(*m_exchangeLog, m_options.LogPath))
            throw TripError(m_exchangeLog->ErrorText());
    }

    TKV_RS_Base::ErrorBoxHook = [this](const QString &text) { ErrorBox(this, text); };
    {
        // A port given for this run makes the absence of others no news.
        auto hook = TKV_RS_Base::ErrorBoxHook;
        if (!m_options.PortPath.isEmpty())
            TKV_RS_Base::ErrorBoxHook = nullptr;
        m_link = std::make_unique<TKV_RS>();
        TKV_RS_Base::ErrorBoxHook = hook;
    }
    m_link->SetLog(m_exchangeLog.get());
    m_link->SetLineType(0);

    // A new model is made in Russian, so its default maintenance names are
    // the Russian ones whatever the language.
    SetEnglishVersion(false);
    m_model = std::make_unique<TMK>();
    SetEnglishVersion(english);

    // Centred on the screen unless the ini file says otherwise.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    selectStartPort(ini);
    restorePlacement(ini);
    TKV_RS_Base::AccessUnlocked = true;
    for (TFileKind kind : kFileKinds)
        SetRememberedFolder(kind, ini.ReadString(kFoldersSection, FileKindKey(kind), QString()));

    m_link->SetLineType(2);
    bRS232->setText(QStringLiteral("Выбрать СОМ-порт"));
    m_link->FirstByteTimeout = TSettingsTransfer::kShortTimeout;
    m_link->SetBaudRate(TSettingsTransfer::kBaudRate);

    SetModifiedFlag(false);
    cbEnglishVersion->setChecked(EnglishVersion());
    Relabel();

    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMaximized) {
        showMaximized();
        return;
    }
    show();
    keepOnScreen(); // again with the frame that the window has now
    // A window manager adds its frame a moment after the window is shown;
    // the first move that brings the frame is checked once more.
    m_frameWait.start();
}

void TMainForm::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    constexpr qint64 kFrameWaitMs = 5000;
    if (!m_frameWait.isValid() || frameGeometry() == geometry())
        return;
    if (m_frameWait.elapsed() < kFrameWaitMs)
        keepOnScreen();
    m_frameWait.invalidate();
}

void TMainForm::selectStartPort(TMIniFile &ini)
{
    if (m_options.PortPath.isEmpty()) {
        m_link->LoadPortSettings(ini.Settings());
        return;
    }
    m_link->OpenPath(m_options.PortPath);
    if (!m_link->IsOpen()) {
        const QString why = m_link->LastOpenError();
        ErrorBox(this, why.isEmpty() ? TKV_RS_Base::NoFreePortText() : why);
    }
}

void TMainForm::restorePlacement(const TMIniFile &ini)
{
    const QString section = QStringLiteral("MainWindow");
    int current = 0;
    if (windowState() & Qt::WindowMinimized)
        current = 1;
    else if (windowState() & Qt::WindowMaximized)
        current = 2;
    const int state = ini.ReadInteger(section, QStringLiteral("State"), current);
    if (state == 2) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    // A window closed while minimised opens normal: a program that starts
    // as a mere taskbar entry looks to its user as if it did not start.
    setWindowState(Qt::WindowNoState);
    int left = ini.ReadInteger(section, QStringLiteral("Left"), x());
    int top = ini.ReadInteger(section, QStringLiteral("Top"), y());
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    move(left, top);
    keepOnScreen();
    // The window is not resizable: its size is saved but never restored.
}

// A position kept from another screen layout (a monitor since unplugged, a
// lower resolution) would open the window where nobody sees it: a window not
// wholly on one screen is moved the shortest way onto the primary screen.
void TMainForm::keepOnScreen()
{
    QRect frame(pos(), frameGeometry().size());
    // At a fractional scale position and size are rounded to device pixels
    // separately; a pixel to spare keeps the rounded frame on the screen too.
    const qreal ratio = devicePixelRatioF();
    if (ratio != std::floor(ratio))
        frame.adjust(0, 0, 1, 1);
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens)
        if (screen->availableGeometry().contains(frame))
            return;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect area = primary->availableGeometry();
    // Too big for the screen: its top left corner (title bar) stays visible.
    const int x = std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    move(x, y);
}

void TMainForm::savePlacement(TMIniFile &ini)
{
    const QString section = QStringLiteral("MainWindow");
    // Minimised is kept as the state it was minimised from, so the next start
    // opens the window where the user can see it.
    const int state = windowState() & Qt::WindowMaximized ? 2 : 0;
    const QRect frame = frameGeometry();
    ini.WriteInteger(section, QStringLiteral("State"), state);
    ini.WriteInteger(section, QStringLiteral("Left"), frame.x());
    ini.WriteInteger(section, QStringLiteral("Top"), frame.y());
    ini.WriteInteger(section, QStringLiteral("Width"), frame.width());
    ini.WriteInteger(section, QStringLiteral("Height"), frame.height());
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        // A transfer is running inside one of our handlers: it ends first.
        event->ignore();
        return;
    }
    // Nobody may be there to answer when a signal ends the run, also when
    // the signal came while the question was open.
    if (!m_quitting && !askToSaveChanges() && !m_quitting) {
        event->ignore();
        return;
    }
    if (m_opened) {
        QDir::setCurrent(ProgramFolder());
        TMIniFile ini(IniFilePath());
        // A port given on the command line is for this run only.
        if (m_options.PortPath.isEmpty() || m_link->PortPath(m_link->PortNumber) != m_options.PortPath)
            m_link->SavePortSettings(ini.Settings());
        ini.WriteBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), EnglishVersion());
        savePlacement(ini);
        for (TFileKind kind : kFileKinds)
            if (!RememberedFolder(kind).isEmpty())
                ini.WriteString(kFoldersSection, FileKindKey(kind), RememberedFolder(kind));
        ini.UpdateFile();
    }
    Timer1->stop();
    event->accept();
}

void TMainForm::QuitBySignal()
{
    m_quitting = true;
    if (m_busy)
        return; // the transfer sees m_quitting; endTransfer comes back here
    QTimer::singleShot(0, this, [this] {
        // Dialogs run their own event loops inside our handlers: cancelling
        // them lets those handlers return. A native file dialog leaves its
        // QFileDialog hidden, so visibility does not count for dialogs.
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows) {
            if (w == this || !w->isModal())
                continue;
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->done(QDialog::Rejected);
            else if (w->isVisible())
                w->close();
        }
        close();
        QCoreApplication::quit();
    });
}

void TMainForm::SetModifiedFlag(bool modified)
{
    m_modified = modified;
    setWindowModified(modified);
}

// Before an action that replaces the settings or ends the run: true when it
// may go on. Settings not in hand (a failed read or load left an incomplete
// image) are nothing a file could keep, so nothing is asked for them.
bool TMainForm::askToSaveChanges()
{
    if (!m_modified || !m_settingsInHand)
        return true;
    switch (AskSaveDiscardCancel(this, LangText(kUnsavedQuestion[1], kUnsavedQuestion[0]))) {
    case TAnswer::Yes: return bSaveParamsClick(); // a cancelled or failed save keeps the settings here
    case TAnswer::No: return true;
    case TAnswer::Cancel: break;
    }
    return false;
}

// ---- transfers -------------------------------------------------------------

// The wait for the device's power is started only on an open port; a port
// that cannot be opened is explained before anything else happens.
bool TMainForm::portReady()
{
    const QString why = m_link->OpenAgain();
    if (why.isEmpty())
        return true;
    ErrorBox(this, why);
    return false;
}

void TMainForm::beginTransfer()
{
    m_busy = true;
    Timer1->stop();
    // Only the progress window's cancel button answers during a transfer.
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w != m_progress)
            w->setEnabled(false);
    delete m_progress;
    m_progress = new TProgressForm(this);
    m_progress->SetText(TSettingsTransfer::ReconnectText());
    m_progress->SetGaugeVisible(false);
    m_progress->SetCancelVisible(true);
    m_progress->ShowCentred();
    ExchangeCommand = TSettingsTransfer::kExchangeCommand;
    ImageSize = TSettingsTransfer::kImageSize;
}

void TMainForm::endTransfer()
{
    delete m_progress;
    m_progress = nullptr;
    m_link->ProcessEvents = nullptr;
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        w->setEnabled(true);
    Timer1->start();
    m_busy = false;
    if (m_quitting)
        QuitBySignal(); // a box the handler still shows is cancelled
}

TTransferCallbacks TMainForm::transferCallbacks()
{
    TTransferCallbacks cb;
    cb.progress = [this](const QString &text, int percent, bool gaugeVisible, bool cancelVisible) {
        if (!m_progress)
            return;
        m_progress->SetText(text);
        m_progress->SetGauge(percent);
        m_progress->SetGaugeVisible(gaugeVisible);
        m_progress->SetCancelVisible(cancelVisible);
    };
    cb.cancelRequested = [this] { return m_quitting || (m_progress && m_progress->CancelRequested()); };
    cb.processEvents = [] { QCoreApplication::processEvents(); };
    cb.info = [this](const QString &text) { m_lastBackupNote = text; };
    m_link->ProcessEvents = cb.processEvents;
    return cb;
}

void TMainForm::bGetParamsClick()
{
    if (m_busy || !askToSaveChanges() || m_quitting || !portReady())
        return;
    beginTransfer();
    try {
        TSettingsTransfer transfer(*m_link, *m_model);
        transfer.Callbacks = transferCallbacks();
        if (transfer.ReadSettings() == TSettingsTransfer::Outcome::Done)
            SetDependentEnabled(true);
    } catch (const std::exception &e) {
        endTransfer();
        ErrorBox(this, errorText(e));
        SetDependentEnabled(false);
        return;
    }
    endTransfer();
}

void TMainForm::bSetParamsClick()
{
    if (m_busy || !portReady())
        return;
    beginTransfer();
    m_lastBackupNote.clear();
    QString done;
    TSettingsTransfer transfer(*m_link, *m_model);
    try {
        transfer.Callbacks = transferCallbacks();
        transfer.BackupEnabled = m_options.BackupEnabled;
        transfer.BackupFolder = m_options.BackupFolder;
        if (transfer.WriteSettings() == TSettingsTransfer::Outcome::Done)
            done = TSettingsTransfer::RecordedText();
        m_lastBackup = transfer.LastBackupPath();
    } catch (const std::exception &e) {
        m_lastBackup = transfer.LastBackupPath();
        endTransfer();
        QString text = errorText(e);
        // Once blocks went out the user must learn what the device holds now
        // and how to put its old settings back.
        if (transfer.WriteStarted())
            text += QStringLiteral("\n\n") + partlyWrittenNote(m_lastBackup);
        ErrorBox(this, text);
        return;
    }
    endTransfer();
    if (done.isEmpty())
        return;
    if (m_lastBackup.isEmpty()) {
        InfoBox(this, done, m_lastBackupNote);
        return;
    }
    if (InfoBoxOffering(this, done, m_lastBackupNote,
                        LangText("Open the backups folder", "Открыть папку резервных копий")))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(m_lastBackup).absolutePath()));
}

QString TMainForm::backupFolder() const
{
    return m_options.BackupFolder.isEmpty() ? TSettingsTransfer::DefaultBackupFolder() : m_options.BackupFolder;
}

QString TMainForm::partlyWrittenNote(const QString &backupPath) const
{
    QString note = TSettingsTransfer::PartlyWrittenText(backupPath);
    if (!backupPath.isEmpty())
        note += QLatin1Char(' ') + LangText("To restore them, read that file with \"%1\" and write it with \"%2\".",
                                            "Чтобы вернуть их, считайте этот файл кнопкой \"%1\" и запишите его "
                                            "кнопкой \"%2\".")
                                       .arg(bLoadParams->text(), bSetParams->text());
    return note;
}

void TMainForm::Timer1Timer()
{
    if (m_busy || !m_link)
        return;
    TSettingsTransfer::KeepAlive(*m_link);
}

// ---- files -----------------------------------------------------------------

TFileDialogOptions TMainForm::settingsFileDialog() const
{
    return {.filter = QtFileFilter(QString::fromUtf8(kSettingsFilter)),
            .defaultSuffix = QString::fromLatin1(kSettingsSuffix),
            .kind = TFileKind::Settings};
}

bool TMainForm::bSaveParamsClick()
{
    const QString path = SaveFileDialog(this, settingsFileDialog());
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) &&
        !AskYesNo(this, LangText("The file already exists. Rewrite it?", "Файл уже существует. Переписать?")))
        return false;
    try {
        SaveSettingsFile(*m_model, path);
    } catch (const std::exception &e) {
        ErrorBox(this, errorText(e));
        return false;
    }
    SetDependentEnabled(true);
    SetModifiedFlag(false);
    return true;
}

void TMainForm::bLoadParamsClick()
{
    if (m_busy || !askToSaveChanges() || m_quitting)
        return;
    TFileDialogOptions dlg = settingsFileDialog();
    // The device's settings kept before each write are one click away.
    if (QFileInfo(backupFolder()).isDir())
        dlg.sidebarFolders << backupFolder();
    const QString path = OpenFileDialog(this, dlg);
    if (!path.isEmpty())
        loadFile(path);
}

bool TMainForm::loadFile(const QString &path)
{
    try {
        LoadSettingsFile(*m_model, path);
    } catch (const std::exception &e) {
        ErrorBox(this, errorText(e));
        SetDependentEnabled(false);
        return false;
    }
    SetDependentEnabled(true);
    SetModifiedFlag(false); // the settings are what the file on disk holds
    return true;
}

void TMainForm::OpenFromOutside(const QString &path)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (!path.isEmpty())
        openWhenFree(path);
}

void TMainForm::openWhenFree(const QString &path)
{
    constexpr int kRetryMs = 300;
    if (m_quitting)
        return;
    // Not under the editor's or a transfer's feet: after they end.
    if (m_busy || QApplication::activeModalWidget()) {
        QTimer::singleShot(kRetryMs, this, [this, path] { openWhenFree(path); });
        return;
    }
    if (!askToSaveChanges() || m_quitting)
        return;
    if (loadFile(path))
        RememberFolder(TFileKind::Settings, path);
}

// ---- the other commands --------------------------------------------------------

// The settings editor: the one place that opens it.
std::function<bool(TMK &)> TMainForm::SettingsEditor()
{
    return SettingsEditorDialog(this, [](QWidget *dialog, const QString &text) { ErrorBox(dialog, text); });
}

// The journals viewer: the one place that opens it.
std::function<bool(TMK &)> TMainForm::JournalsViewer() { return JournalsViewerDialog(this); }

void TMainForm::bEditParamsClick()
{
    try {
        if (m_model->EditSettings(SettingsEditor()))
            SetModifiedFlag(true);
    } catch (const std::exception &e) {
        ErrorBox(this, errorText(e));
    }
}

void TMainForm::bViewJournalsClick()
{
    try {
        m_model->ViewJournals(JournalsViewer());
    } catch (const std::exception &e) {
        ErrorBox(this, errorText(e));
    }
}

void TMainForm::bRS232Click()
{
    if (m_busy)
        return;
    SelectPort(*m_link, this);
}

void TMainForm::cbEnglishVersionClick()
{
    SetEnglishVersion(cbEnglishVersion->isChecked());
    ApplyQtLanguage(EnglishVersion());
    Relabel();
}
