// The desktop program's parts that stand alone: ini file, file filters,
// single-instance guard, progress window, password dialog, pictures.
#include "accessible_names.h"
#include "app_test_support.h"
#include "fake_serial_tree.h"
#include "ini_file.h"
#include "just_one.h"
#include "kv_rs.h"
#include "language.h"
#include "kv_rs_base.h"
#include "pictures_form.h"
#include "port_dialog.h"
#include "progress_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cerrno>

class TestAppParts : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TRIPCONF_LOCK_DIR", m_dir.filePath(QStringLiteral("locks")).toUtf8());
    }

    void iniFileCreatedWithOneSpaceLine()
    {
        const QString path = m_dir.filePath(QStringLiteral("sub/new.ini"));
        {
            TMIniFile ini(path);
            QCOMPARE(ReadAll(path), QByteArray(" \n"));
            QCOMPARE(ini.ReadBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), false), false);
            QCOMPARE(ini.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), 17), 17);
        }
        // Nothing written without UpdateFile.
        QCOMPARE(ReadAll(path), QByteArray(" \n"));
    }

    void iniValuesRoundTrip()
    {
        const QString path = m_dir.filePath(QStringLiteral("values.ini"));
        QFile::remove(path);
        {
            TMIniFile ini(path);
            ini.WriteBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), true);
            ini.WriteInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), -20);
            ini.WriteInteger(QStringLiteral("MainWindow"), QStringLiteral("Width"), 1234567);
            QVERIFY(ini.UpdateFile());
        }
        const QString text = QString::fromUtf8(ReadAll(path));
        QVERIFY2(text.contains(QLatin1String("[Common]\nEnglishVersion=1\n")), qPrintable(text));
        QVERIFY(text.contains(QLatin1String("Left=-20")));
        QVERIFY(text.contains(QLatin1String("Width=1234567"))); // C locale: no group separators
        TMIniFile again(path);
        QCOMPARE(again.ReadBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), false), true);
        QCOMPARE(again.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), 0), -20);
        again.WriteBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), false);
        QVERIFY(again.UpdateFile());
        QVERIFY(QString::fromUtf8(ReadAll(path)).contains(QLatin1String("EnglishVersion=0")));
    }

    void iniReadsHandEditedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("left");
        QTest::newRow("non-zero is true") << QByteArray("[Common]\nEnglishVersion=7\n") << true << 5;
        QTest::newRow("zero is false") << QByteArray("[Common]\nEnglishVersion=0\n") << false << 5;
        QTest::newRow("other case") << QByteArray("[common]\nenglishversion=1\n[MAINWINDOW]\nleft=33\n") << true << 33;
        QTest::newRow("not a number keeps the default")
            << QByteArray("[Common]\nEnglishVersion=yes\n[MainWindow]\nLeft=abc\n") << false << 5;
        QTest::newRow("windows line ends") << QByteArray("[MainWindow]\r\nLeft=-3\r\n") << false << -3;
    }
    void iniReadsHandEditedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, english);
        QFETCH(int, left);
        // One file per row: QSettings caches a file it has read in this process.
        const QString path = m_dir.filePath(QStringLiteral("hand-%1.ini").arg(QTest::currentDataTag()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        TMIniFile ini(path);
        QCOMPARE(ini.ReadBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), false), english);
        QCOMPARE(ini.ReadInteger(QStringLiteral("MainWindow"), QStringLiteral("Left"), 5), left);
    }

    void iniKeepsOtherSections()
    {
        const QString path = m_dir.filePath(QStringLiteral("keep.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[RS232]\nPort=3\nPath=/dev/ttyUSB0\n[Editor]\nPage=4\n");
        f.close();
        TMIniFile ini(path);
        ini.WriteBool(QStringLiteral("Common"), QStringLiteral("EnglishVersion"), true);
        QVERIFY(ini.UpdateFile());
        TMIniFile again(path);
        QCOMPARE(again.ReadInteger(QStringLiteral("RS232"), QStringLiteral("Port"), 0), 3);
        QCOMPARE(again.ReadString(QStringLiteral("RS232"), QStringLiteral("Path"), QString()),
                 QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(again.ReadInteger(QStringLiteral("Editor"), QStringLiteral("Page"), 0), 4);
    }

    void fileFilterInQtSyntax_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("settings") << QStringLiteral("Файлы настроек (*.kelmg)|*.kelmg")
                                  << QStringLiteral("Файлы настроек (*.kelmg)");
        QTest::newRow("two entries, two patterns")
            << QStringLiteral("Text|*.txt;*.csv|All files|*") << QStringLiteral("Text (*.txt *.csv);;All files (*)");
        QTest::newRow("already Qt") << QStringLiteral("Images (*.png)") << QStringLiteral("Images (*.png)");
    }
    void fileFilterInQtSyntax()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(QtFileFilter(filter), qt);
    }

    void saveDialogAppendsTheDefaultSuffix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("path");
        QTest::newRow("bare name") << QStringLiteral("/tmp/car") << QStringLiteral("/tmp/car.kelmg");
        QTest::newRow("own suffix") << QStringLiteral("/tmp/car.bin") << QStringLiteral("/tmp/car.bin");
        QTest::newRow("cancel") << QString() << QString();
    }
    void saveDialogAppendsTheDefaultSuffix()
    {
        QFETCH(QString, typed);
        QFETCH(QString, path);
        TMessageLog log;
        log.install();
        if (!typed.isEmpty())
            log.fileChoices << typed;
        const TFileDialogOptions dlg{.filter = QtFileFilter(QStringLiteral("Файлы настроек (*.kelmg)|*.kelmg")),
                                     .defaultSuffix = QStringLiteral("kelmg"),
                                     .folder = QStringLiteral("/tmp")};
        QCOMPARE(SaveFileDialog(nullptr, dlg), path);
        SetFileDialogHook(nullptr);
        SetMessageHook(nullptr);
    }

    // The real dialog: the folders asked for join the standard places, and no
    // folder's name is offered as the file's.
    void openDialogOffersExtraPlaces()
    {
        SetFileDialogHook(nullptr);
        QTemporaryDir extra;
        TFileDialogOptions dlg;
        dlg.folder = QDir::homePath();
        dlg.sidebarFolders << extra.path();
        QList<QUrl> places;
        QString typed = QStringLiteral("?");
        QTimer::singleShot(0, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                places = dialog->sidebarUrls();
                if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    typed = name->text();
                dialog->reject();
            }
        });
        QVERIFY(OpenFileDialog(nullptr, dlg).isEmpty());
        QVERIFY(places.contains(QUrl::fromLocalFile(extra.path())));
        QVERIFY(places.size() > 1);
        QCOMPARE(typed, QString());
    }

    void singleInstanceGuard()
    {
        const QString key = QStringLiteral("guard-test");
        {
            TJustOne first(key);
            QVERIFY(first.owner());
            TJustOne second(key);
            QVERIFY(!second.owner());
            TJustOne other(QStringLiteral("another-program"));
            QVERIFY(other.owner());
        }
        // Released with its holder: the next start is not blocked, although
        // the lock file is still there.
        QVERIFY(QFile::exists(TJustOne::LockPath(key)));
        TJustOne next(key);
        QVERIFY(next.owner());
    }

    void progressWindow()
    {
        TProgressForm form(nullptr);
        QCOMPARE(form.windowTitle(), QStringLiteral("Progress..."));
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(form.ProgressLabel->text(), QStringLiteral("Прогресс"));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        form.ShowCentred();
        QVERIFY(!form.CancelRequested());
        form.BitBtn1->click();
        QVERIFY(form.CancelRequested());
        // Escape and the close box cancel while the button is offered; the
        // window stays until the transfer ends.
        for (int way = 0; way < 2; ++way) {
            TProgressForm other(nullptr);
            other.ShowCentred();
            other.SetCancelVisible(false);
            way == 0 ? QTest::keyClick(&other, Qt::Key_Escape) : void(other.close());
            QVERIFY(!other.CancelRequested());
            other.SetCancelVisible(true);
            way == 0 ? QTest::keyClick(&other, Qt::Key_Escape) : void(other.close());
            QVERIFY(other.CancelRequested());
            QVERIFY(other.isVisible());
        }
        form.SetCancelVisible(false);
        form.SetText(QStringLiteral("x"));
        form.SetGauge(40);
        QVERIFY(form.CancelRequested()); // never reset while the window exists
        QCOMPARE(form.ProgressGauge->value(), 40);
    }

    void portDialogSaysWhatEachPortIs_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("English") << true;
        QTest::newRow("Russian") << false;
    }
    void portDialogSaysWhatEachPortIs()
    {
        QFETCH(bool, english);
        SetEnglishVersion(english);
        TFakeSerialTree tree;
        tree.use();
        TFakeSerialTree::probeWithOneLockedOneBusy();
        TKV_RS link;
        link.PortNumber = link.PortNumberOfPath(tree.dev("ttyACM0"));
        TPortDialog dialog(link, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Port number selection"));
        QStringList items;
        for (int i = 0; i < dialog.cbPort->count(); ++i)
            items << dialog.cbPort->itemText(i);
        QCOMPARE(items, QStringList({QStringLiteral("COM1  %1 (FTDI FT232R USB UART)").arg(tree.dev("ttyUSB0")),
                                     QStringLiteral("COM4  %1 (Arduino (www.arduino.cc))").arg(tree.dev("ttyACM0")),
                                     QStringLiteral("COM5  %1").arg(tree.dev("ttyS0"))}));
        QCOMPARE(dialog.SelectedPort(), 4);
        const QString serial = english ? QStringLiteral("serial number") : QStringLiteral("серийный номер");
        QCOMPARE(dialog.lPortInfo->text(),
                 QStringLiteral("%1\nArduino (www.arduino.cc), USB 2341:0043, %2 75833353035351F0")
                     .arg(tree.dev("ttyACM0"), serial));
        dialog.cbPort->setCurrentIndex(0);
        QCOMPARE(dialog.lPortInfo->text(),
                 QStringLiteral("%1\nFTDI FT232R USB UART, USB 0403:6001, %2 A50285BI\n%3")
                     .arg(tree.dev("ttyUSB0"), serial,
                          tree.path(QStringLiteral("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"))));
        QVERIFY(dialog.lUnavailable);
        const QStringList closed = dialog.lUnavailable->text().split(QLatin1Char('\n'));
        QVERIFY2(closed.size() >= 5, qPrintable(dialog.lUnavailable->text()));
        QCOMPARE(closed[1], QStringLiteral("COM2  %1: %2")
                                .arg(tree.dev("ttyUSB1"),
                                     english ? QStringLiteral("no permission") : QStringLiteral("нет прав доступа")));
        QCOMPARE(closed[2], QStringLiteral("COM3  %1: %2")
                                .arg(tree.dev("ttyUSB10"), english ? QStringLiteral("in use by another program")
                                                                   : QStringLiteral("занят другой программой")));
        QVERIFY(dialog.lUnavailable->text().contains(QStringLiteral("sudo usermod -aG dialout $USER")));
        QCOMPARE(UnnamedControls(&dialog), QStringList());
        SetEnglishVersion(false);
    }

    void passwordDialog()
    {
        TPasswordDlg dialog(QStringLiteral("message"), nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Контроль доступа"));
        QCOMPARE(dialog.ePassword->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog.ePassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, dialog.ePassword),
                 int('$'));
        QTest::keyClicks(dialog.ePassword, QStringLiteral("QZ-R!abcdefghijk"));
        QCOMPARE(dialog.ePassword->text(), QStringLiteral("QZRabcdefg")); // letters and digits, at most 10
        QCOMPARE(dialog.Entry(), QString());                              // not accepted: no entry
    }

    void accessLock()
    {
        TMessageLog log;
        log.install();
        TKV_RS_Base::ErrorBoxHook = [](const QString &text) { ErrorBox(nullptr, text); };
        TKV_RS_Base::AccessUnlocked = false;
        QStringList asked;
        SetPasswordHook([&asked](const QString &message) {
            asked << message;
            return asked.size() == 1 ? QStringLiteral("qzr") : QStringLiteral("QZR");
        });
        QVERIFY(!CheckAccess(nullptr));
        QCOMPARE(log.last(TMessageKind::Error), QStringLiteral("Неверный пароль!"));
        QVERIFY(CheckAccess(nullptr));
        QVERIFY(CheckAccess(nullptr)); // once open, no further question
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.first(), QStringLiteral("Данная команда будет выполняться только после ввода пароля!"));
        SetPasswordHook(nullptr);
        TKV_RS_Base::ErrorBoxHook = nullptr;
        SetMessageHook(nullptr);
    }

    void picturesAtTheirSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const std::pair<const char *, QSize> rows[] = {
            {"ScaleL", {79, 136}},       {"ScaleR", {149, 136}},   {"Circle99", {199, 199}},  {"Circle9", {9, 9}},
            {"Arrow", {129, 129}},       {"GasStation", {25, 49}}, {"Acc", {79, 41}},         {"BoatMotor", {33, 49}},
            {"BoatScaleT", {33, 105}},   {"BoatT", {41, 17}},      {"BoatScaleC", {33, 105}}, {"BoatC", {41, 17}},
            {"CheckEngine", {105, 105}}, {"Electro", {105, 105}},
        };
        for (const auto &[name, size] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << size;
    }
    void picturesAtTheirSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        TPicturesForm form;
        QCOMPARE(form.Pictures().size(), size_t(14));
        QCOMPARE(TPicturesForm::Instance(), &form);
        const QImage image = form.picture(name);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_Mono);
        int set = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                set += qGray(image.pixel(x, y)) > 0;
        QVERIFY2(set > 0, "an empty picture");
        QVERIFY2(set < image.width() * image.height(), "a full picture");
    }

    void picturesStayInsideTheirScreenSlots()
    {
        // The side-strip pictures are stamped at (15, 14) and (22, 2) of a
        // 60-pixel slot in an 80-pixel strip: what they draw must stay inside.
        const std::tuple<const char *, int, int> rows[] = {{"CheckEngine", 80 - 2 - 15, 60 - 14},
                                                           {"Electro", 80 - 2 - 22, 60 - 2}};
        for (const auto &[name, width, height] : rows) {
            const QImage image = DrawPicture(QString::fromLatin1(name));
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) > 0)
                        QVERIFY2(x < width && y < height,
                                 qPrintable(QStringLiteral("%1 at %2,%3").arg(name).arg(x).arg(y)));
        }
        QVERIFY(DrawPicture(QStringLiteral("NoSuchPicture")).isNull());
    }
};

QTEST_MAIN(TestAppParts)
#include "test_app_parts.moc"
