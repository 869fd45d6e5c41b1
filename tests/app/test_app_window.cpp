// The main window driven as a user drives it, against the device simulator on
// a pseudo-terminal.
#include "accessible_names.h"
#include "app_paths.h"
#include "app_test_support.h"
#include "blocks.h"
#include "errors.h"
#include "fake_serial_tree.h"
#include "ini_file.h"
#include "kv_rs.h"
#include "language.h"
#include "main_form.h"
#include "port_dialog.h"
#include "progress_form.h"
#include "quit_signals.h"
#include "settings_file.h"
#include "setparamsdlg.h"
#include "field_binder.h"
#include "tmk.h"
#include "trip_version.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <cerrno>
#include <climits>
#include <csignal>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(TAnswer)

namespace {

struct Sim {
    TDemoDevice device;
    QString path;
    QString log;
    QString saved;
};

} // namespace

// Takes the folders the program asks the desktop to open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened << url; }
};

class TestAppWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    TMessageLog m_messages;
    int m_iniCount = 0;

    // A fresh ini file path (QSettings caches files it has read).
    QString freshIni(const QByteArray &content = QByteArray())
    {
        const QString path = m_dir.filePath(QStringLiteral("tripconf-%1.ini").arg(++m_iniCount));
        if (!content.isNull()) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(content);
        }
        SetIniPath(path);
        return path;
    }

    std::unique_ptr<Sim> startSim(QStringList arguments = {})
    {
        auto sim = std::make_unique<Sim>();
        static int n = 0;
        ++n;
        sim->log = m_dir.filePath(QStringLiteral("sim-%1.log").arg(n));
        sim->saved = m_dir.filePath(QStringLiteral("sim-%1.kelmg").arg(n));
        arguments << QStringLiteral("--echo") << QStringLiteral("--log") << sim->log << QStringLiteral("--save")
                  << sim->saved;
        sim->path = sim->device.Start(arguments, SimulatorProgram());
        if (sim->path.isEmpty())
            qWarning() << sim->device.ErrorText();
        return sim;
    }

    std::unique_ptr<TMainForm> openForm(const QString &port, const QString &log = QString())
    {
        TStartOptions options;
        options.PortPath = port;
        options.LogPath = log;
        options.BackupFolder = m_dir.filePath(QStringLiteral("backups"));
        auto form = std::make_unique<TMainForm>(options);
        form->Open();
        return form;
    }

    static bool dependentEnabled(TMainForm &f, bool state)
    {
        return f.bEditParams->isEnabled() == state && f.bViewJournals->isEnabled() == state &&
               f.bSaveParams->isEnabled() == state && f.bSetParams->isEnabled() == state;
    }

    // Works on the settings editor once it is open, then ends it with OK or Cancel.
    static void inEditor(QObject *context, const std::function<void(TMK_SetParamsDlg &)> &drive, bool ok)
    {
        QTimer::singleShot(50, context, [=] {
            auto *dialog = qobject_cast<TMK_SetParamsDlg *>(QApplication::activeModalWidget());
            if (!dialog) {
                inEditor(context, drive, ok);
                return;
            }
            drive(*dialog);
            (ok ? dialog->OKBtn : dialog->CancelBtn)->click();
        });
    }

    // Presses the progress window's cancel button once the handshake has run
    // for a while.
    static void cancelDuringHandshake(TMainForm &form, int afterMs)
    {
        QTimer::singleShot(afterMs, &form, [&form] {
            QVERIFY(form.TransferRunning());
            QVERIFY(form.Progress());
            QVERIFY(form.Progress()->BitBtn1->isVisible());
            QVERIFY(!form.Progress()->ProgressGauge->isVisible());
            QCOMPARE(form.Progress()->ProgressLabel->text(), QStringLiteral("Переподключите питание МК"));
            QVERIFY(!form.bGetParams->isEnabled()); // nothing else answers meanwhile
            form.Progress()->BitBtn1->click();
        });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (SimulatorProgram().isEmpty())
            QSKIP("the device simulator is not built");
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        m_messages.install();
    }

    void init()
    {
        m_messages.clear();
        SetEnglishVersion(false);
    }

    void firstStartWithoutIniIsRussianAndCentredAndWritesACompleteIni()
    {
        auto sim = startSim();
        const QString ini = freshIni();
        QVERIFY(!QFile::exists(ini));
        auto form = openForm(sim->path);
        QVERIFY(QFile::exists(ini)); // created when it was opened
        QVERIFY(!form->cbEnglishVersion->isChecked());
        QVERIFY(!EnglishVersion());
        QCOMPARE(form->windowTitle(),
                 QStringLiteral("Просмотр и настройка параметров МК (Версия 20.07.26) " TRIP_VERSION "[*]"));
        QCOMPARE(form->bGetParams->text(), QStringLiteral("Считать настройки из МК"));
        QCOMPARE(form->bRS232->text(), QStringLiteral("Выбрать СОМ-порт"));
        QCOMPARE(form->GroupBox5->title(), QStringLiteral("Шаг 2a"));
        QVERIFY(dependentEnabled(*form, false));
        QVERIFY(form->bGetParams->isEnabled() && form->bLoadParams->isEnabled() && form->bRS232->isEnabled());
        QVERIFY(!form->Timer1->isActive());
        QCOMPARE(form->Link().LineType, uint8_t(2));
        QCOMPARE(form->Link().FirstByteTimeout, uint16_t(100));
        QVERIFY(form->Link().IsOpen());
        // Not resizable; centred on the screen.
        QCOMPARE(form->minimumSize(), form->maximumSize());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(form->frameGeometry().center().x() - screen.center().x()) <= 2);
        QVERIFY(qAbs(form->frameGeometry().center().y() - screen.center().y()) <= 2);
        // The model was made in Russian: the maintenance names are Russian.
        QVERIFY(QByteArray(reinterpret_cast<const char *>(form->Model().block(mem::ServiceBlock) + 52), 4) !=
                QByteArray("Inje"));
        const QPoint at = form->pos();
        form->close();
        QVERIFY(m_messages.shown.isEmpty());

        TMIniFile check(ini);
        QCOMPARE(check.ReadString(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), QString()),
                 QStringLiteral("0"));
        for (const char *key : {"State", "Left", "Top", "Width", "Height"})
            QVERIFY2(check.ValueExists(QStringLiteral("MainWindow"), QLatin1String(key)), key);
        QCOMPARE(check.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("State"), -1), 0);
        QCOMPARE(check.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), -1), at.x());
        QCOMPARE(check.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Width"), -1),
                 form->frameGeometry().width());
        // A port given for this run is not remembered.
        QVERIFY(!check.ValueExists(QStringLiteral("RS232"), QStringLiteral("Port")));
    }

    void englishRelabelsAtOnceAndIsRememberedForTheNextStart()
    {
        auto sim = startSim();
        const QString ini = freshIni();
        {
            auto form = openForm(sim->path);
            QSet<QString> russian;
            for (QAbstractButton *b : form->findChildren<QAbstractButton *>())
                russian << b->text();
            form->cbEnglishVersion->click();
            QVERIFY(EnglishVersion());
            QCOMPARE(form->windowTitle(),
                     QStringLiteral("Viewing and configuring trip computer parameters (Version 20.07.26) " TRIP_VERSION
                                    "[*]"));
            QCOMPARE(form->bRS232->text(), QStringLiteral("Select a COM port"));
            QCOMPARE(form->bViewJournals->text(), QStringLiteral("View logs"));
            QCOMPARE(form->GroupBox5->title(), QStringLiteral("Step 2a"));
            QCOMPARE(form->Label7->text(), QStringLiteral("View the logs of trips, gas stations and faults"));
            QCOMPARE(form->cbEnglishVersion->text(), QStringLiteral("English language"));
            // Every button caption changed except the check box's.
            for (QAbstractButton *b : form->findChildren<QAbstractButton *>())
                QVERIFY2(!russian.contains(b->text()) || b == form->cbEnglishVersion, qPrintable(b->text()));
            const QSize size = form->size();
            form->cbEnglishVersion->click();
            QCOMPARE(form->bSetParams->text(), QStringLiteral("Записать настройки в МК"));
            QCOMPARE(form->size(), size); // the window holds both languages
            form->cbEnglishVersion->click();
            form->close();
        }
        QVERIFY(QString::fromUtf8(ReadAll(ini)).contains(QLatin1String("EnglishVersion=1")));
        SetEnglishVersion(false);
        SetIniPath(ini);
        auto form = openForm(sim->path);
        QVERIFY(EnglishVersion());
        QVERIFY(form->cbEnglishVersion->isChecked());
        QCOMPARE(form->bGetParams->text(), QStringLiteral("Read settings from the device"));
        // The new model was still made in Russian.
        QVERIFY(QByteArray(reinterpret_cast<const char *>(form->Model().block(mem::ServiceBlock) + 52), 4) !=
                QByteArray("Inje"));
        form->cbEnglishVersion->click();
        form->close();
    }

    void placementFromTheIni_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QPoint>("pos"); // INT_MAX: at the right or bottom edge of the screen
        QTest::addColumn<bool>("minimiseBeforeClose");
        QTest::newRow("maximised, position not read")
            << QByteArray("[MainWindow]\nState=2\nLeft=-20\nTop=-20\n") << true << QPoint() << false;
        QTest::newRow("minimised opens normal")
            << QByteArray("[MainWindow]\nState=1\nLeft=50\nTop=60\n") << false << QPoint(50, 60) << false;
        QTest::newRow("closed minimised, kept normal")
            << QByteArray("[MainWindow]\nState=0\nLeft=50\nTop=60\n") << false << QPoint(50, 60) << true;
        QTest::newRow("negative left is 0")
            << QByteArray("[MainWindow]\nState=0\nLeft=-20\nTop=40\n") << false << QPoint(0, 40) << false;
        QTest::newRow("negative top is 0")
            << QByteArray("[MainWindow]\nLeft=30\nTop=-1\n") << false << QPoint(30, 0) << false;
        QTest::newRow("on the screen stays")
            << QByteArray("[MainWindow]\nLeft=50\nTop=60\n") << false << QPoint(50, 60) << false;
        QTest::newRow("beyond the screen comes onto it")
            << QByteArray("[MainWindow]\nLeft=5000\nTop=10\n") << false << QPoint(INT_MAX, 10) << false;
        QTest::newRow("partly below the screen comes onto it")
            << QByteArray("[MainWindow]\nLeft=40\nTop=590\n") << false << QPoint(40, INT_MAX) << false;
    }
    void placementFromTheIni()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, maximised);
        QFETCH(QPoint, pos);
        QFETCH(bool, minimiseBeforeClose);
        auto sim = startSim();
        const QString ini = freshIni(content + "[MainWindow]\nWidth=-5\nHeight=-5\n");
        auto form = openForm(sim->path);
        QCOMPARE(bool(form->windowState() & Qt::WindowMaximized), maximised);
        QVERIFY(!form->isMinimized());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        if (!maximised) {
            const QSize size = form->frameGeometry().size();
            QVERIFY(size.width() < screen.width() && size.height() < screen.height());
            if (pos.x() == INT_MAX)
                pos.setX(screen.right() + 1 - size.width());
            if (pos.y() == INT_MAX)
                pos.setY(screen.bottom() + 1 - size.height());
            QCOMPARE(form->pos(), pos);
            QVERIFY(screen.contains(form->frameGeometry()));
        }
        QCOMPARE(form->minimumSize(), form->maximumSize()); // the size is never restored
        QVERIFY(form->width() > 100);
        if (minimiseBeforeClose)
            form->showMinimized();
        form->close();
        TMIniFile check(ini);
        QCOMPARE(check.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("State"), -1), maximised ? 2 : 0);
        if (!maximised) { // what was shown, not what was read
            QCOMPARE(check.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), -1), pos.x());
            QCOMPARE(check.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Top"), -1), pos.y());
        }
    }

    void startUpErrorsSpeakTheChosenLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("portError");
        QTest::addColumn<QString>("logError");
        QTest::newRow("Russian") << false << QStringLiteral("не найден")
                                 << QStringLiteral("Не удаётся открыть журнал обмена");
        QTest::newRow("English") << true << QStringLiteral("is not there")
                                 << QStringLiteral("Cannot open the exchange log");
    }
    void startUpErrorsSpeakTheChosenLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QString, portError);
        QFETCH(QString, logError);
        const QByteArray ini = english ? "[Common]\nEnglishVersion=1\n" : "[Common]\nEnglishVersion=0\n";
        freshIni(ini);
        auto form = openForm(m_dir.filePath(QStringLiteral("no-such-port")));
        QVERIFY2(m_messages.last(TMessageKind::Error).contains(portError),
                 qPrintable(m_messages.last(TMessageKind::Error)));
        form->close();

        freshIni(ini);
        SetEnglishVersion(!english);
        QString thrown;
        try {
            openForm(QString(), m_dir.filePath(QStringLiteral("no-such-folder/link.log")));
        } catch (const TripError &e) {
            thrown = e.text();
        }
        QVERIFY2(thrown.contains(logError), qPrintable(thrown));
        SetEnglishVersion(false);
    }

    void logRecordsEveryFrame()
    {
        auto sim = startSim();
        freshIni();
        const QString log = m_dir.filePath(QStringLiteral("tripconf-link.log"));
        auto form = openForm(sim->path, log);
        form->bGetParams->click();
        QVERIFY(m_messages.shown.isEmpty());
        form->close();
        form.reset();
        const QList<QByteArray> lines = ReadAll(log).split('\n');
        int tx = 0, rx = 0;
        for (const QByteArray &line : lines) {
            tx += line.contains(" TX ");
            rx += line.contains(" RX ") && line.endsWith(" ok");
        }
        // The identification and the 254 pages, each sent and answered.
        QVERIFY2(tx >= 255 && rx >= 255, qPrintable(QStringLiteral("%1 TX, %2 RX").arg(tx).arg(rx)));
    }

    // The signal comes while the program waits for the user (a real question
    // about unsaved changes) or for a device that does not answer: neither
    // holds it up, the changes are not saved, the placement is.
    void signalEndsTheRunWithoutWaiting_data()
    {
        QTest::addColumn<bool>("duringHandshake");
        QTest::newRow("question open") << false;
        QTest::newRow("handshake running") << true;
    }
    void signalEndsTheRunWithoutWaiting()
    {
        QFETCH(bool, duringHandshake);
        auto sim = duringHandshake ? startSim({QStringLiteral("--fault"), QStringLiteral("silence")}) : startSim();
        const QString ini = freshIni();
        auto form = openForm(sim->path);
        TQuitSignals quitSignals;
        connect(&quitSignals, &TQuitSignals::Received, form.get(), [&form] { form->QuitBySignal(); });
        if (!duringHandshake) {
            form->bGetParams->click(); // settings in hand, changed: the question comes
            form->SetModifiedFlag(true);
        }
        SetMessageHook({});
        QTimer::singleShot(300, [] { ::raise(SIGTERM); });
        bool hung = false;
        QTimer::singleShot(10000, form.get(), [&hung, &form] { // fail rather than hang
            hung = true;
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
            if (form->Progress())
                form->Progress()->BitBtn1->click();
        });
        if (duringHandshake) {
            form->bGetParams->click();
            QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 5000);
        } else {
            form->close();
        }
        m_messages.install();
        QVERIFY(!hung);
        QVERIFY(!form->isVisible());
        QCOMPARE(m_messages.fileDialogs, 0);
        QVERIFY(TMIniFile(ini).ValueExists(QStringLiteral("MainWindow"), QStringLiteral("Left")));
    }

    void readEnablesTheDependentCommands()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.last(TMessageKind::Error)));
        QVERIFY(dependentEnabled(*form, true));
        QCOMPARE(form->Model().SettingsImage.size(), mem::kImageSize);
        QVERIFY(form->Timer1->isActive());
        QCOMPARE(form->Timer1->interval(), 30000);
        QVERIFY(!form->Progress());
        QVERIFY(form->bGetParams->isEnabled());
        QVERIFY(!form->ModifiedFlag());
        const QStringList unnamed = UnnamedControls(form.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
        // Pages 0 and 128 are never asked for.
        const QList<int> functions = LoggedFunctions(sim->log);
        QCOMPARE(functions.count(5), 254);
        form->close();
    }

    void failedReadDisablesTheDependentCommands()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click(); // a good read first: the commands are on
        QVERIFY(dependentEnabled(*form, true));
        sim.reset();
        // This device answers the handshake and the first page, then falls silent.
        sim = startSim({QStringLiteral("--fault"), QStringLiteral("silence:3+")});
        form->Link().OpenPath(sim->path);
        m_messages.clear();
        form->bGetParams->click();
        QCOMPARE(m_messages.count(TMessageKind::Error), 1);
        QCOMPARE(m_messages.last(TMessageKind::Error), TKV_RS::NoLinkText());
        QVERIFY(dependentEnabled(*form, false));
        QVERIFY(form->bGetParams->isEnabled() && form->bLoadParams->isEnabled());
        QVERIFY(form->Timer1->isActive());
        QVERIFY(!form->Progress());
        form->close();
    }

    void loadAndFailedLoad()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        TMK source;
        source.DeviceType = 0xC000;
        source.FormatImage(1);
        const QString good = m_dir.filePath(QStringLiteral("good.kelmg"));
        SaveSettingsFile(source, good);
        m_messages.fileChoices << good;
        form->bLoadParams->click();
        QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.last(TMessageKind::Error)));
        QVERIFY(dependentEnabled(*form, true));
        QCOMPARE(form->Model().SettingsImage, source.SettingsImage);

        const QString broken = m_dir.filePath(QStringLiteral("broken.kelmg"));
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01", 1);
        f.close();
        m_messages.fileChoices << broken;
        form->bLoadParams->click();
        QCOMPARE(m_messages.count(TMessageKind::Error), 1);
        QVERIFY(dependentEnabled(*form, false));

        // Cancelling the dialog changes nothing.
        form->bLoadParams->click();
        QCOMPARE(m_messages.fileDialogs, 3);
        QVERIFY(dependentEnabled(*form, false));
        form->close();
    }

    void saveAsksBeforeRewriting()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        form->SetModifiedFlag(true);
        const QString base = m_dir.filePath(QStringLiteral("saved"));
        QFile::remove(base + QStringLiteral(".kelmg"));
        m_messages.fileChoices << base; // typed without a suffix
        QVERIFY(form->bSaveParamsClick());
        QVERIFY(!form->ModifiedFlag());
        const QByteArray first = ReadAll(base + QStringLiteral(".kelmg"));
        QCOMPARE(first, SettingsFileBytes(form->Model()));

        // An existing file: No keeps the old file and the flag.
        form->SetModifiedFlag(true);
        form->Model().SettingsImage[100] = char(form->Model().SettingsImage[100] ^ 0x5A);
        m_messages.fileChoices << base + QStringLiteral(".kelmg");
        m_messages.answers = {TAnswer::No};
        QVERIFY(!form->bSaveParamsClick());
        QCOMPARE(m_messages.last(TMessageKind::Question), QStringLiteral("Файл уже существует. Переписать?"));
        QCOMPARE(ReadAll(base + QStringLiteral(".kelmg")), first);
        QVERIFY(form->ModifiedFlag());
        // Yes rewrites it.
        m_messages.fileChoices << base + QStringLiteral(".kelmg");
        m_messages.answers = {TAnswer::Yes};
        QVERIFY(form->bSaveParamsClick());
        QCOMPARE(ReadAll(base + QStringLiteral(".kelmg")), SettingsFileBytes(form->Model()));
        QVERIFY(!form->ModifiedFlag());

        // A folder that cannot be written: the error's own text, nothing changes.
        form->SetModifiedFlag(true);
        m_messages.clear();
        m_messages.fileChoices << QStringLiteral("/proc/no-such-dir/x.kelmg");
        QVERIFY(!form->bSaveParamsClick());
        QCOMPARE(m_messages.count(TMessageKind::Error), 1);
        QVERIFY(form->ModifiedFlag());
        QVERIFY(dependentEnabled(*form, true));
        form->SetModifiedFlag(false);
        form->close();
    }

    void answeringNoBeforeAReadStillReads()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        form->SetModifiedFlag(true);
        m_messages.answers = {TAnswer::No};
        form->bGetParams->click();
        QCOMPARE(m_messages.count(TMessageKind::SaveQuestion), 1);
        QCOMPARE(m_messages.last(TMessageKind::SaveQuestion),
                 QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?"));
        QCOMPARE(m_messages.fileDialogs, 0);
        QVERIFY(dependentEnabled(*form, true));
        QVERIFY(form->ModifiedFlag());
        // On closing the same question; Discard closes all the same.
        m_messages.clear();
        form->close();
        QCOMPARE(m_messages.count(TMessageKind::SaveQuestion), 1);
        QVERIFY(!form->isVisible());
    }

    // Every action that would drop unsaved changes asks first, and only Save
    // (with the file written) or Discard lets it go on.
    void unsavedChangesQuestionGuardsEveryAction_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<TAnswer>("answer");
        QTest::addColumn<QString>("saveTo"); // the save dialog's choice: "" cancels, "bad" fails
        QTest::addColumn<bool>("goesOn");
        for (const char *action : {"close", "read", "load"}) {
            QTest::addRow("%s, Cancel", action) << action << TAnswer::Cancel << "" << false;
            QTest::addRow("%s, Save, dialog cancelled", action) << action << TAnswer::Yes << "" << false;
            QTest::addRow("%s, Save, save failed", action) << action << TAnswer::Yes << "bad" << false;
            QTest::addRow("%s, Save", action) << action << TAnswer::Yes << "kept.kelmg" << true;
            QTest::addRow("%s, Discard", action) << action << TAnswer::No << "" << true;
        }
    }
    void unsavedChangesQuestionGuardsEveryAction()
    {
        QFETCH(QString, action);
        QFETCH(TAnswer, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, goesOn);
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        const QString onDisk = m_dir.filePath(QStringLiteral("on-disk.kelmg"));
        QFile::remove(onDisk);
        m_messages.fileChoices << onDisk;
        QVERIFY(form->bSaveParamsClick());
        QVERIFY(!form->isWindowModified());
        const QByteArray fileImage = form->Model().SettingsImage;
        form->Model().SettingsImage[100] = char(form->Model().SettingsImage[100] ^ 0x5A); // the user's change
        const QByteArray edited = form->Model().SettingsImage;
        form->SetModifiedFlag(true);
        QVERIFY(form->isWindowModified());
        QVERIFY(form->windowTitle().endsWith(QStringLiteral("[*]")));

        const QString kept = saveTo.isEmpty()                  ? QString()
                             : saveTo == QStringLiteral("bad") ? QStringLiteral("/proc/no-such-dir/x.kelmg")
                                                               : m_dir.filePath(saveTo);
        QFile::remove(kept);
        m_messages.clear();
        m_messages.answers = {answer};
        if (answer == TAnswer::Yes)
            m_messages.fileChoices << kept;
        if (action == QStringLiteral("load"))
            m_messages.fileChoices << onDisk;
        const qsizetype pagesBefore = LoggedFunctions(sim->log).count(5);
        if (action == QStringLiteral("close"))
            form->close();
        else if (action == QStringLiteral("read"))
            form->bGetParams->click();
        else
            form->bLoadParams->click();

        QCOMPARE(m_messages.count(TMessageKind::SaveQuestion), 1);
        QCOMPARE(m_messages.last(TMessageKind::SaveQuestion),
                 QStringLiteral("Возможно, настройки были изменены, но не сохранены на диске. Сохранить?"));
        QCOMPARE(m_messages.count(TMessageKind::Error), saveTo == QStringLiteral("bad") ? 1 : 0);
        if (answer == TAnswer::Yes && goesOn) {
            TMK saved;
            LoadSettingsFile(saved, kept);
            QCOMPARE(saved.SettingsImage, edited);
        }
        if (action == QStringLiteral("close")) {
            QCOMPARE(form->isVisible(), !goesOn);
        } else if (action == QStringLiteral("read")) {
            QCOMPARE(LoggedFunctions(sim->log).count(5) > pagesBefore, goesOn);
        } else {
            QCOMPARE(form->Model().SettingsImage, goesOn ? fileImage : edited);
            if (goesOn) {
                // The settings now equal the file: nothing to ask on closing.
                QVERIFY(!form->ModifiedFlag());
                QVERIFY(!form->isWindowModified());
                m_messages.clear();
                form->close();
                QCOMPARE(m_messages.count(TMessageKind::SaveQuestion), 0);
            }
        }
        if (!goesOn) {
            QVERIFY(form->ModifiedFlag()); // nothing was saved
            QCOMPARE(form->Model().SettingsImage, edited);
        }
        form->SetModifiedFlag(false);
        form->close();
    }

    // The real box: Save, Discard and Cancel; Escape and the close box cancel.
    void escapeOrTheCloseBoxCancelsTheQuestion_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("close box") << false;
    }
    void escapeOrTheCloseBoxCancelsTheQuestion()
    {
        QFETCH(bool, escape);
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        form->SetModifiedFlag(true);
        SetMessageHook({});
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(100, form.get(), [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            buttons = box->standardButtons();
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
        });
        form->close();
        m_messages.install();
        QCOMPARE(buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QVERIFY(form->isVisible());
        QVERIFY(form->ModifiedFlag());
        form->SetModifiedFlag(false);
        form->close();
    }

    void cancellingTheHandshakeOfAReadEndsSilently()
    {
        auto sim = startSim({QStringLiteral("--fault"), QStringLiteral("silence")});
        freshIni();
        auto form = openForm(sim->path);
        const QByteArray image = form->Model().SettingsImage;
        const uint16_t type = form->Model().DeviceType;
        cancelDuringHandshake(*form, 700);
        form->bGetParams->click();
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(form->Model().SettingsImage, image);
        QCOMPARE(form->Model().DeviceType, type);
        QVERIFY(dependentEnabled(*form, false));
        QVERIFY(!form->Progress());
        QVERIFY(form->Timer1->isActive());
        QVERIFY(form->bGetParams->isEnabled());
        const QList<int> functions = LoggedFunctions(sim->log);
        QVERIFY(!functions.isEmpty());
        QCOMPARE(functions.count(1), functions.size());
        form->close();
    }

    void withoutPermissionTheWaitNeverStarts_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("why");
        QTest::newRow("English") << true << QStringLiteral("No permission to open ");
        QTest::newRow("Russian") << false << QStringLiteral("Нет прав на открытие ");
    }
    void withoutPermissionTheWaitNeverStarts()
    {
        QFETCH(bool, english);
        QFETCH(QString, why);
        TFakeSerialTree tree;
        tree.use();
        TKV_RS_Base::ProbeHook = [](const QString &) { return EACCES; };
        freshIni(english ? "[Common]\nEnglishVersion=1\n" : "[Common]\nEnglishVersion=0\n");
        auto form = openForm(QString());
        QCOMPARE(m_messages.count(TMessageKind::Error), 1);
        const QString text = m_messages.last(TMessageKind::Error);
        QVERIFY2(text.startsWith(QStringLiteral("Can not find free serial port!\n") + why), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("sudo usermod -aG dialout $USER")));
        form->bGetParams->click();
        QCOMPARE(m_messages.count(TMessageKind::Error), 2);
        QCOMPARE(m_messages.last(TMessageKind::Error), text);
        QVERIFY(!form->Timer1->isActive()); // no transfer began (it starts the timer when it ends)
        form->close();
    }

    void theWaitForPowerEndsByCancelEscapeOrCloseBox_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void theWaitForPowerEndsByCancelEscapeOrCloseBox()
    {
        QFETCH(int, way);
        // One handshake of three attempts goes unanswered; the cancel comes
        // during it.
        auto sim = startSim({QStringLiteral("--fault"), QStringLiteral("silence:1-3")});
        freshIni();
        auto form = openForm(sim->path);
        QElapsedTimer sinceAsked;
        QTimer::singleShot(150, form.get(), [&] {
            TProgressForm *progress = form->Progress();
            QVERIFY(progress && progress->BitBtn1->isVisible());
            sinceAsked.start();
            if (way == 0)
                progress->BitBtn1->click();
            else if (way == 1)
                QTest::keyClick(progress, Qt::Key_Escape);
            else
                progress->close();
        });
        form->bGetParams->click();
        QVERIFY(sinceAsked.isValid());
        QVERIFY2(sinceAsked.elapsed() < 1500, qPrintable(QString::number(sinceAsked.elapsed())));
        QVERIFY(m_messages.shown.isEmpty());
        QVERIFY(!form->Progress());
        QVERIFY(!form->Link().IsOpen()); // given up, for the next transfer to open again
        QVERIFY(dependentEnabled(*form, false));
        // A later read opens the port again and works.
        form->bGetParams->click();
        QVERIFY(m_messages.shown.isEmpty());
        QVERIFY(dependentEnabled(*form, true));
        const QList<int> functions = LoggedFunctions(sim->log);
        QCOMPARE(functions.mid(0, 4), QList<int>({1, 1, 1, 1}));
        QCOMPARE(functions.count(1), 4);
        QCOMPARE(functions.count(5), 254);
        form->close();
    }

    void cancellingTheHandshakeOfAWriteSendsNothing()
    {
        auto good = startSim();
        freshIni();
        auto form = openForm(good->path);
        form->bGetParams->click();
        QVERIFY(dependentEnabled(*form, true));
        const QByteArray image = form->Model().SettingsImage;
        good.reset();
        auto silent = startSim({QStringLiteral("--fault"), QStringLiteral("silence")});
        form->Link().OpenPath(silent->path);
        cancelDuringHandshake(*form, 700);
        form->bSetParams->click();
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(form->Model().SettingsImage, image);
        const QList<int> functions = LoggedFunctions(silent->log);
        QVERIFY(!functions.isEmpty());
        QCOMPARE(functions.count(1), functions.size()); // no page read, no block written
        QVERIFY(form->Timer1->isActive());
        QVERIFY(dependentEnabled(*form, true));
        form->close();
    }

    void writeRefusesAnotherDevice()
    {
        auto sim = startSim({QStringLiteral("--device-type"), QStringLiteral("0xC001")});
        freshIni();
        auto form = openForm(sim->path);
        TMK source;
        source.FormatImage(1);
        const QString file = m_dir.filePath(QStringLiteral("c000.kelmg"));
        SaveSettingsFile(source, file);
        m_messages.fileChoices << file;
        form->bLoadParams->click();
        form->bSetParams->click();
        QCOMPARE(m_messages.count(TMessageKind::Error), 1);
        QCOMPARE(m_messages.last(TMessageKind::Error),
                 QStringLiteral("Версия настроек не совпадает с версией устройства!"));
        QCOMPARE(m_messages.count(TMessageKind::Information), 0);
        const QList<int> functions = LoggedFunctions(sim->log);
        QVERIFY(!functions.contains(12) && !functions.contains(4) && !functions.contains(7));
        QVERIFY(form->Timer1->isActive());
        form->close();
    }

    // The device's old settings are the user's way back from a broken write.
    void aWriteBrokenHalfwayNamesTheBackupAndTheWayBack()
    {
        auto sim = startSim({QStringLiteral("--fault"), QStringLiteral("silence:280+")}); // blocks from 256 on
        freshIni();
        auto form = openForm(sim->path);
        TMK source;
        source.FormatImage(1);
        const QString file = m_dir.filePath(QStringLiteral("broken.kelmg"));
        SaveSettingsFile(source, file);
        m_messages.fileChoices << file;
        form->bLoadParams->click();
        form->bSetParams->click();
        QCOMPARE(m_messages.count(TMessageKind::Error), 1);
        QCOMPARE(m_messages.count(TMessageKind::Information), 0);
        const QString backup = form->LastBackupPath();
        QVERIFY(QFile::exists(backup));
        QCOMPARE(m_messages.last(TMessageKind::Error),
                 TKV_RS::NoLinkText() +
                     QStringLiteral("\n\nМК может быть записан частично. Его настройки до записи сохранены в файле %1. "
                                    "Чтобы вернуть их, считайте этот файл кнопкой \"Считать настройки из файла на "
                                    "диске\" и запишите его кнопкой \"Записать настройки в МК\".")
                         .arg(QDir::toNativeSeparators(backup)));
        QVERIFY(LoggedFunctions(sim->log).contains(12));
        QVERIFY(form->Timer1->isActive());
        form->close();
    }

    void keepAliveAsksTheDeviceItsType()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->Timer1Timer();
        form->Timer1Timer();
        QCOMPARE(LoggedFunctions(sim->log), (QList<int>{1, 1}));
        // A device that does not answer is no error for the keep-alive.
        sim.reset();
        form->Timer1Timer();
        QVERIFY(m_messages.shown.isEmpty());
        form->close();
    }

    void portDialogChoosesAndCancelReopens()
    {
        auto a = startSim();
        auto b = startSim();
        freshIni();
        auto form = openForm(a->path);
        form->Link().AddUserPort(b->path);
        QList<int> offered;
        int answer = 0;
        SetPortChoiceHook([&](const TKV_RS_Base &port) {
            offered.clear();
            for (const TSerialPortInfo &info : port.Ports())
                if (info.Available)
                    offered << info.Number;
            return answer;
        });
        // Cancel: the port that was open before is open again.
        form->bRS232->click();
        QVERIFY(form->Link().IsOpen());
        QCOMPARE(form->Link().OpenedPath(), a->path);
        const int numberOfA = form->Link().PortNumberOfPath(a->path);
        const int numberOfB = form->Link().PortNumberOfPath(b->path);
        QVERIFY(offered.contains(numberOfA)); // closed first, so it answered the probe
        QVERIFY(offered.contains(numberOfB));
        // A choice opens that port, and the device there answers.
        answer = numberOfB;
        form->bRS232->click();
        QCOMPARE(form->Link().OpenedPath(), b->path);
        form->bGetParams->click();
        QVERIFY(dependentEnabled(*form, true));
        QVERIFY(LoggedFunctions(b->log).count(5) == 254);
        SetPortChoiceHook(nullptr);
        QVERIFY(m_messages.shown.isEmpty());
        // Another port than the one given for this run is remembered.
        form->close();
        TMIniFile check(IniFilePath());
        QCOMPARE(check.ReadInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 0), numberOfB);
    }

    void qtTextsFollowTheLanguage()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        const QString yesRu = QCoreApplication::translate("QPlatformTheme", "&Yes");
        form->cbEnglishVersion->click();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
        form->cbEnglishVersion->click();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yesRu);
        if (yesRu == QLatin1String("&Yes"))
            QSKIP("Qt's Russian translations are not installed");
        form->close();
    }

    void closingWithChangesOffersToSave()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        form->SetModifiedFlag(true);
        const QString file = m_dir.filePath(QStringLiteral("on-close.kelmg"));
        m_messages.answers = {TAnswer::Yes};
        m_messages.fileChoices << file;
        form->close();
        QVERIFY(!form->isVisible());
        QCOMPARE(ReadAll(file), SettingsFileBytes(form->Model()));
        QVERIFY(!form->ModifiedFlag());
    }

    void editSettingsKeepsWhatOkConfirmsAndWritesIt()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        QVERIFY(dependentEnabled(*form, true));
        const QByteArray read = form->Model().SettingsImage;
        auto tankLimit = [](TMK_SetParamsDlg &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Настройки МК"));
            QVERIFY(d.binder().storeNumber(QStringLiteral("seTankLimit"), 17));
        };

        inEditor(form.get(), tankLimit, false);
        form->bEditParams->click();
        QVERIFY(!form->ModifiedFlag());
        QCOMPARE(form->Model().SettingsImage, read);

        inEditor(form.get(), tankLimit, true);
        form->bEditParams->click();
        QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.last(TMessageKind::Error)));
        QVERIFY(form->ModifiedFlag());
        QVERIFY(form->Model().SettingsImage != read);

        form->bSetParams->click();
        QCOMPARE(m_messages.last(TMessageKind::Information), QStringLiteral("Настройки записаны в МК"));
        form->close();
        form.reset();
        sim->device.Stop(); // the simulator saves its memory as it ends
        TMK device;
        LoadSettingsFile(device, sim->saved);
        device.UnpackAll();
        QCOMPARE(GetU8(device.block(mem::LimitsBlock), 6), uint8_t(17));
    }

    void readSaveLoadWriteRoad()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        QVERIFY(dependentEnabled(*form, true));
        const QString file = m_dir.filePath(QStringLiteral("road.kelmg"));
        m_messages.fileChoices << file;
        QVERIFY(form->bSaveParamsClick());

        // Another model state in between, then the file back.
        form->Model().ClearImage();
        m_messages.fileChoices << file;
        form->bLoadParams->click();
        QVERIFY(dependentEnabled(*form, true));

        // A change as the editor makes it: into the model's blocks.
        uint8_t *fuel = form->Model().block(mem::FuelBlock);
        SetU16(fuel, 0, uint16_t(GetU16(fuel, 0) + 77));
        uint8_t *tank = form->Model().block(mem::TankTableBlock);
        tank[8] = uint8_t(tank[8] + 1);
        form->bSetParams->click();
        QVERIFY2(m_messages.count(TMessageKind::Error) == 0, qPrintable(m_messages.last(TMessageKind::Error)));
        QCOMPARE(m_messages.last(TMessageKind::Information), QStringLiteral("Настройки записаны в МК"));
        const QList<int> functions = LoggedFunctions(sim->log);
        QCOMPARE(functions.count(12), functions.count(7));
        QVERIFY(functions.count(12) >= mem::kBlockCount);
        QVERIFY(!form->LastBackupPath().isEmpty());
        QVERIFY(QFile::exists(form->LastBackupPath()));
        const QByteArray written = form->Model().SettingsImage;
        const uint16_t type = form->Model().DeviceType;
        const uint16_t fuelWritten = GetU16(fuel, 0);
        form->close();
        form.reset();

        sim->device.Stop(); // the simulator saves its memory as it ends
        TMK device;
        LoadSettingsFile(device, sim->saved);
        QCOMPARE(device.DeviceType, type);
        QCOMPARE(device.SettingsImage.size(), written.size());
        QVERIFY(device.SettingsImage == written);
        device.UnpackAll();
        QCOMPARE(GetU16(device.block(mem::FuelBlock), 0), fuelWritten);
    }

    // Each kind of file dialog starts where files of that kind were last
    // used, also after a restart; the first time in the documents folder, or
    // home when there is none; a folder since removed is not offered.
    void fileDialogsStartWhereTheUserWorks()
    {
        const QByteArray home0 = qgetenv("HOME"), config0 = qgetenv("XDG_CONFIG_HOME");
        const auto restoreHome = qScopeGuard([&] {
            qputenv("HOME", home0);
            qputenv("XDG_CONFIG_HOME", config0);
        });
        const QString home = m_dir.filePath(QStringLiteral("home"));
        const QString documents = home + QStringLiteral("/Documents");
        QVERIFY(QDir().mkpath(home));
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
        auto sim = startSim();
        const QString ini = freshIni();
        auto form = openForm(sim->path);
        // The folder the next dialog of `kind` is offered; the settings through the window's own button.
        auto offered = [&](TFileKind kind) {
            if (kind == TFileKind::Settings) {
                form->bLoadParams->click();
            } else {
                TFileDialogOptions dlg;
                dlg.kind = kind;
                OpenFileDialog(form.get(), dlg);
            }
            return m_messages.offered.isEmpty() ? QString() : m_messages.offered.takeLast().folder;
        };
        auto chooseIn = [&](TFileKind kind, const QString &folder) {
            QDir().mkpath(folder);
            m_messages.fileChoices << folder + QStringLiteral("/chosen");
            TFileDialogOptions dlg;
            dlg.kind = kind;
            SaveFileDialog(form.get(), dlg);
        };

        QCOMPARE(offered(TFileKind::Settings), home);
        QVERIFY(QDir().mkpath(documents));
        QCOMPARE(offered(TFileKind::Settings), documents);
        const QString settings = m_dir.filePath(QStringLiteral("work/settings"));
        const QString exports = m_dir.filePath(QStringLiteral("work/exports"));
        chooseIn(TFileKind::Settings, settings);
        chooseIn(TFileKind::JournalExport, exports);
        QCOMPARE(offered(TFileKind::Settings), settings);
        QCOMPARE(offered(TFileKind::JournalExport), exports);
        QCOMPARE(offered(TFileKind::Tank), documents);

        // Another run: the ini file brings the folders back.
        form->close();
        form.reset();
        for (TFileKind kind : kFileKinds)
            SetRememberedFolder(kind, QString());
        SetIniPath(ini);
        form = openForm(sim->path);
        QCOMPARE(offered(TFileKind::Settings), settings);
        QCOMPARE(offered(TFileKind::JournalExport), exports);
        QCOMPARE(offered(TFileKind::Maintenance), documents);
        QVERIFY(QDir(settings).removeRecursively());
        QCOMPARE(offered(TFileKind::Settings), documents);
        QVERIFY(m_messages.shown.isEmpty());
        form->close();
    }

    // After a write its backup is one step away: the success box opens its
    // folder, and the load dialog offers that folder.
    void backupsAreReachable()
    {
        auto sim = startSim();
        freshIni();
        auto form = openForm(sim->path);
        form->bGetParams->click();
        QVERIFY(dependentEnabled(*form, true));
        TUrlCatcher desktop;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "open");
        const auto unhook = qScopeGuard([this] {
            QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
            m_messages.install();
        });
        QString info;
        SetMessageHook([&](TMessageKind kind, const QString &text) {
            if (kind == TMessageKind::Information)
                info = text;
            return TAnswer::Yes; // the box's own button
        });
        form->bSetParams->click();
        QCOMPARE(info, QStringLiteral("Настройки записаны в МК"));
        const QString backups = m_dir.filePath(QStringLiteral("backups"));
        QCOMPARE(QFileInfo(form->LastBackupPath()).absolutePath(), backups);
        QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(backups)});

        m_messages.install();
        form->bLoadParams->click();
        QCOMPARE(m_messages.offered.size(), 1);
        QCOMPARE(m_messages.offered[0].sidebarFolders, QStringList{backups});
        form->close();
    }
};

QTEST_MAIN(TestAppWindow)
#include "test_app_window.moc"
