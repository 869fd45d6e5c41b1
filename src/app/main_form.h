#pragma once
#include <QString>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class TExchangeLog;
class TKV_RS;
class TMK;
class TMIniFile;
class TProgressForm;
struct TFileDialogOptions;
struct TTransferCallbacks;

// How this run was started (command line).
struct TStartOptions {
    QString PortPath;          // a device file to use for this run (--port, --demo)
    bool BackupEnabled = true; // keep the device's image before each write
    QString BackupFolder;      // empty: the transfer's default
    QString LogPath;           // every frame of the link goes there (--log)
};

// The language that the ini file keeps (true: English); Russian when it says
// nothing. Start-up messages use it before the window has read the file.
bool StoredEnglishVersion();

// The main window: the numbered steps from reading the settings to writing
// them back. It owns the link and the settings model for the whole run.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(const TStartOptions &options = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Does what the first showing of the window does (link, model, ini file,
    // language, placement) and shows the window in the restored state. Throws
    // TripError when the exchange log that was asked for cannot be opened.
    void Open();

    // Ends the run as closing the window does, but asks nothing: nobody may be
    // there to answer (a logout, kill, Ctrl+C in a terminal). Open dialogs are
    // cancelled, unsaved changes are not saved; a running transfer ends first
    // (a handshake is cancelled, a write is finished).
    void QuitBySignal();

    // A file given from outside (the command line, a copy started later):
    // the window comes to the front and opens it as a load does, asking
    // about unsaved changes first. It waits while a transfer or a dialog is
    // running. An empty path only brings the window to the front.
    void OpenFromOutside(const QString &path);

    TKV_RS &Link() { return *m_link; }
    TMK &Model() { return *m_model; }
    // The settings were changed since they were last read, loaded or saved;
    // the window's title carries the mark while it is set.
    bool ModifiedFlag() const { return m_modified; }
    void SetModifiedFlag(bool modified);
    uint8_t ExchangeCommand = 244;
    uint32_t ImageSize = 8192;

    bool TransferRunning() const { return m_busy; }
    // The progress window of the running transfer, null otherwise.
    TProgressForm *Progress() const { return m_progress; }
    QString LastBackupPath() const { return m_lastBackup; }

    // Commands (the buttons' handlers).
    void bGetParamsClick();
    void bSetParamsClick();
    void bLoadParamsClick();
    bool bSaveParamsClick(); // true when a file was written
    void bEditParamsClick();
    void bViewJournalsClick();
    void bRS232Click();
    void cbEnglishVersionClick();
    void Timer1Timer();

    // Sets every caption in the current language.
    void Relabel();
    void SetDependentEnabled(bool enabled);

    // Controls, named as the program's forms name them.
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5;
    QPushButton *bRS232, *bGetParams, *bLoadParams, *bEditParams, *bViewJournals, *bSaveParams, *bSetParams;
    QCheckBox *cbEnglishVersion;
    QTimer *Timer1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void buildControls();
    void fixSize();
    void restorePlacement(const TMIniFile &ini);
    void keepOnScreen();
    void savePlacement(TMIniFile &ini);
    void selectStartPort(TMIniFile &ini);
    bool portReady();
    bool askToSaveChanges();
    void beginTransfer();
    void endTransfer();
    TTransferCallbacks transferCallbacks();
    QString partlyWrittenNote(const QString &backupPath) const;
    TFileDialogOptions settingsFileDialog() const;
    bool loadFile(const QString &path); // true when loaded; errors are shown
    void openWhenFree(const QString &path);
    QString backupFolder() const; // where writes keep the device's previous settings
    std::function<bool(TMK &)> SettingsEditor();
    std::function<bool(TMK &)> JournalsViewer();

    TStartOptions m_options;
    std::unique_ptr<TExchangeLog> m_exchangeLog; // outlives the link that writes to it
    std::unique_ptr<TKV_RS> m_link;
    std::unique_ptr<TMK> m_model;
    TProgressForm *m_progress = nullptr;
    bool m_opened = false;
    bool m_busy = false;
    bool m_quitting = false; // QuitBySignal was called
    bool m_modified = false;
    bool m_settingsInHand = false; // the four dependent commands are enabled
    QElapsedTimer m_frameWait;     // running while the window manager's frame is not yet known
    QString m_lastBackup;
    QString m_lastBackupNote; // what the transfer said about its backup
};
