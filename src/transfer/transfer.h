#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TKV_RS;
class TMK;

// How a transfer reports to its front end (a progress window, a terminal).
// Every callback may be left empty.
struct TTransferCallbacks {
    // The progress window's state: text, gauge position 0..100, whether the
    // gauge and the cancel button are shown.
    std::function<void(const QString &text, int percent, bool gaugeVisible, bool cancelVisible)> progress;
    // True once the user asked to cancel; looked at after each failed handshake.
    std::function<bool()> cancelRequested;
    // True once the process is asked to end (a signal); looked at before every
    // request, so that a transfer stops between frames.
    std::function<bool()> stopRequested;
    // Lets the user interface process pending events.
    std::function<void()> processEvents;
    // A message for the user that is not an error (where the backup went).
    std::function<void(const QString &text)> info;
};

// The transfers of the settings memory between the device and the model, the
// same for the desktop program and tripctl: the handshake, the read of the
// 254 pages and the block-by-block write.
class TSettingsTransfer {
public:
    // Cancelled: in the handshake, nothing read or sent; the port is closed
    // (the next transfer opens it again). Interrupted: stopped
    // between frames by stopRequested (see WriteStarted()).
    enum class Outcome { Done, Cancelled, Interrupted };

    static constexpr uint8_t kExchangeCommand = 244;
    static constexpr uint32_t kImageSize = 8192;
    static constexpr uint32_t kBaudRate = 19200;
    static constexpr uint16_t kShortTimeout = 100;  // handshake and page reads, ms
    static constexpr uint16_t kBlockTimeout = 2000; // block writes, ms

    TSettingsTransfer(TKV_RS &link, TMK &model);

    TTransferCallbacks Callbacks;

    // The handshake repeats until the device answers, the user cancels or
    // this many ms have passed (0: no limit). When the time runs out the last
    // link error is thrown.
    int HandshakeLimitMs = 0;
    // Before a write sends anything, the device's current image is saved as a
    // settings file in BackupFolder (empty: DefaultBackupFolder()).
    bool BackupEnabled = true;
    QString BackupFolder;
    // After the last block the written blocks are read back and compared.
    bool VerifyEnabled = true;
    // The read ends by unpacking the blocks into the model; a tool that only
    // saves the image turns that off, so an odd directory does not lose a
    // complete read.
    bool UnpackAfterRead = true;

    // Both transfers first open the link's port again when it is closed, and
    // throw TripError with the reason when it cannot be.
    // Reads the device's settings memory into the model: DeviceType from the
    // handshake, the image, then all blocks unpacked. Throws TripError with the
    // link's text on a failure (the image is then incomplete).
    Outcome ReadSettings();

    // Writes the model's blocks into the device. Refuses a device of another
    // DeviceType and an image of another SettingsVersion (TripError, nothing
    // sent after the handshake); throws TripError on link failures and on a
    // failed verify (naming the block).
    Outcome WriteSettings();
    // True once the last write sent its first block request: a failure or an
    // interruption from then on may leave the device partly written.
    bool WriteStarted() const { return m_writeStarted; }

    // The identify request as a keep-alive; errors are ignored.
    static void KeepAlive(TKV_RS &link);

    // Path of the backup the last write made; empty when none was made.
    QString LastBackupPath() const { return m_backupPath; }
    // DeviceType the last handshake reported.
    uint16_t DeviceTypeOfDevice() const { return m_deviceTypeOfDevice; }

    static QString DefaultBackupFolder(); // <application data location>/backups

    // Texts of the transfer (current interface language).
    static QString ReconnectText(); // "Reconnect the device power supply"
    static QString ReadingText();   // "The settings are being read..."
    static QString WritingText();   // "The settings are recorded..."
    static QString VerifyingText();
    static QString RecordedText();           // "The settings are recorded in the device"
    static QString DeviceTypeMismatchText(); // "The settings version does not match the device version!"
    static QString VersionMismatchText();    // "The settings version does not match the firmware version!"
    static QString InterruptedText();        // "Interrupted"
    // What a write that ended after WriteStarted() left behind, and where the
    // device's previous settings are (`backupPath`; empty: no backup was
    // made). The front end adds how to write that file back.
    static QString PartlyWrittenText(const QString &backupPath);

    // One block write as sent: address, payload length and the chunk sizes.
    struct TBlockPlan {
        int Block = 0; // directory entry 1..N
        uint16_t Address = 0;
        uint16_t Length = 0; // P = directory length - 4
        std::vector<int> Chunks;
    };
    // The block writes for an image's directory; throws TripError when an
    // entry does not describe bytes inside the image.
    static std::vector<TBlockPlan> PlanBlocks(const QByteArray &image);

private:
    void progress(const QString &text, int percent, bool gauge, bool cancel);
    void openPort();                      // throws why the port cannot be opened
    void checkStop() const;               // throws Stopped when asked to stop
    bool handshake(uint16_t &deviceType); // false when cancelled
    void readImage(QByteArray &into);     // the 254 pages
    void writeBlock(const TBlockPlan &plan, const QByteArray &image);
    void verify(const std::vector<TBlockPlan> &plans, const QByteArray &image);
    QString saveBackup(const QByteArray &image, uint16_t deviceType);

    TKV_RS &m_link;
    TMK &m_model;
    QString m_backupPath;
    uint16_t m_deviceTypeOfDevice = 0;
    bool m_writeStarted = false;
};
