// tripconf: the desktop configurator of the trip computer.
#include "app_paths.h"
#include "demo_device.h"
#include "errors.h"
#include "just_one.h"
#include "language.h"
#include "main_form.h"
#include "messages.h"
#include "pictures_form.h"
#include "trip_version.h"
#include "qt_language.h"
#include "quit_signals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

// Reports the first painting of the main window and ends the program (for
// the start-up benchmark).
class ShownProbe : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::printf("shown\n");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char *argv[])
{
    // "tripconf --help" or "--version" alone answers in a terminal without a display.
    if (argc == 2 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        const QByteArray only(argv[1]);
        if (only == "--help" || only == "-h" || only == "--help-all" || only == "--version" || only == "-v")
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tripconf"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRIP_VERSION));
    // Lets the desktop find the installed .desktop file and its icon for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("tripconf"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Trip computer configurator"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Start the device simulator and use it as the port."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Use this serial device for this run."),
                                  QStringLiteral("path"));
    const QCommandLineOption ini(QStringLiteral("ini"), QStringLiteral("Use this ini file."), QStringLiteral("path"));
    const QCommandLineOption noBackup(QStringLiteral("no-backup"),
                                      QStringLiteral("Do not keep the device's settings before a write."));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Record every frame exchanged with the device in this file, for a "
                                                "support report."),
                                 QStringLiteral("file"));
    // For the start-up benchmark and tests only.
    QCommandLineOption exitShown(QStringLiteral("exit-when-shown"),
                                 QStringLiteral("Print \"shown\" once the window is painted, then exit."));
    exitShown.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({demo, port, ini, noBackup, log, exitShown});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A settings file (*.kelmg) to open."),
                                 QStringLiteral("[file]"));
    if (!parser.parse(app.arguments()) || parser.positionalArguments().size() > 1) {
        const QString error = parser.positionalArguments().size() <= 1
                                  ? parser.errorText()
                                  : QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().at(1));
        std::fprintf(stderr, "tripconf: %s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return 2;
    }
    parser.process(app); // --help, --help-all and --version end here

    // Told to end (logout, kill, Ctrl+C), the program ends as when closed.
    TQuitSignals quitSignals;

    if (parser.isSet(ini))
        SetIniPath(parser.value(ini));
    // Messages before the window speak the language the user chose.
    SetEnglishVersion(StoredEnglishVersion());
    ApplyQtLanguage(EnglishVersion());

    // The file is named as this copy's folder sees it: another copy may open it.
    const QString file = parser.positionalArguments().isEmpty()
                             ? QString()
                             : QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();

    // A second copy shows no window of its own: it brings the running one to
    // the front and hands it the file. A lock that cannot be made must not
    // keep the program from starting.
    TJustOne guard(ProgramFileName());
    if (guard.state() == TJustOne::State::HeldByAnother) {
        if (TInstanceChannel::Send(ProgramFileName(), file))
            return 0;
        std::fprintf(stderr, "tripconf: %s\n",
                     LangText("Another copy of the program is running but does not answer.",
                              "Другая копия программы запущена, но не отвечает.")
                         .toUtf8()
                         .constData());
        return file.isEmpty() ? 0 : 1;
    }
    TInstanceChannel channel;
    if (guard.owner() && !channel.Listen(ProgramFileName()))
        std::fprintf(stderr, "tripconf: %s\n",
                     LangText("Copies started later cannot reach this one (%1).",
                              "Копии, запущенные позже, не смогут обратиться к этой (%1).")
                         .arg(channel.ErrorText())
                         .toUtf8()
                         .constData());
    if (guard.state() == TJustOne::State::Unavailable)
        std::fprintf(stderr, "tripconf: %s\n",
                     LangText("The single-instance lock cannot be made (%1); starting without it.",
                              "Не удалось создать блокировку единственного экземпляра (%1); запуск без неё.")
                         .arg(guard.ErrorText())
                         .toUtf8()
                         .constData());

    TStartOptions options;
    options.BackupEnabled = !parser.isSet(noBackup);
    options.LogPath = parser.value(log);
    TDemoDevice demoDevice;
    if (parser.isSet(demo)) {
        options.PortPath = demoDevice.Start({QStringLiteral("--echo"), QStringLiteral("--sample-journals")});
        if (options.PortPath.isEmpty()) {
            ErrorBox(nullptr, demoDevice.ErrorText());
            return 1;
        }
    } else if (parser.isSet(port)) {
        options.PortPath = parser.value(port);
    }

    TMainForm form(options);
    QObject::connect(&quitSignals, &TQuitSignals::Received, &form, [&form] { form.QuitBySignal(); });
    // Queued: the question about unsaved changes must not run inside the socket's handler.
    QObject::connect(&channel, &TInstanceChannel::Started, &form, &TMainForm::OpenFromOutside, Qt::QueuedConnection);
    TPicturesForm pictures; // hidden; the screen previews stamp its pictures
    ShownProbe probe;
    if (parser.isSet(exitShown))
        form.installEventFilter(&probe);
    try {
        form.Open();
    } catch (const TripError &e) {
        ErrorBox(nullptr, e.text());
        return 1;
    }
    if (!file.isEmpty())
        QTimer::singleShot(0, &form, [&form, file] { form.OpenFromOutside(file); });
    return app.exec();
}
