// How long the settings editor takes to open, and tripctl to show the same
// settings:
//   bench_editor_open [runs]       QT_QPA_PLATFORM is offscreen unless set
// "open" runs the model's edit operation on a 0xC000 model from the call to
// the first painting of the dialog (unpacking, catalogs, every page built and
// loaded); "tripctl" starts `tripctl settings FILE --json` and waits for its end.
#include "protocol_catalog.h"
#include "settings_file.h"
#include "setparamsdlg.h"
#include "tmk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Notices the first painting of a widget.
class TPaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%s (%zu runs): min %.1f ms, median %.1f ms, max %.1f ms\n", what, ms.size(), ms.front(),
                ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    TMK model(0xC000);
    model.FormatImage(9);
    std::vector<double> open;
    for (int i = 0; i < runs + 1; ++i) {
        QElapsedTimer clock;
        clock.start();
        double elapsed = 0;
        model.EditSettings([&](TMK &m) {
            TMK_SetParamsDlg dialog(m, Catalog());
            TPaintWatch watch;
            dialog.installEventFilter(&watch);
            dialog.show();
            while (!watch.painted)
                app.processEvents(QEventLoop::WaitForMoreEvents);
            elapsed = double(clock.nsecsElapsed()) / 1e6;
            return false;
        });
        if (i > 0) // the first run loads fonts and styles
            open.push_back(elapsed);
    }
    report("editor open, EditSettings to the first painting (0xC000)", open);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.kelmg"));
    SaveSettingsFile(model, file);
    std::vector<double> tool;
    for (int i = 0; i < runs + 1; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        p.start(QStringLiteral(TRIPCTL_PATH), {QStringLiteral("settings"), file, QStringLiteral("--json")});
        if (!p.waitForFinished(10000) || p.exitCode() != 0) {
            std::fprintf(stderr, "bench_editor_open: tripctl settings failed\n");
            return 1;
        }
        if (i > 0)
            tool.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    report("tripctl settings FILE --json, start to end", tool);
    return 0;
}
