// Start-up time of the desktop program: from starting the process to the
// first painting of the main window (the program reports it and ends).
//   bench_app_startup [runs]       QT_QPA_PLATFORM is offscreen unless set
#include "demo_device.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QTemporaryDir dir;
    TDemoDevice sim;
    const QString port = sim.Start({QStringLiteral("--echo")}, QStringLiteral(TRIPSIM_PATH));
    if (port.isEmpty()) {
        std::fprintf(stderr, "bench_app_startup: %s\n", qPrintable(sim.ErrorText()));
        return 1;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TRIPCONF_LOCK_DIR"), dir.filePath(QStringLiteral("locks")));

    std::vector<double> ms;
    for (int i = 0; i < runs + 1; ++i) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        p.start(QStringLiteral(TRIPCONF_PATH), {QStringLiteral("--exit-when-shown"), QStringLiteral("--port"), port,
                                                QStringLiteral("--ini"), dir.filePath(QStringLiteral("bench.ini"))});
        bool shown = false;
        while (!shown && p.waitForReadyRead(10000))
            shown = p.readAllStandardOutput().contains("shown");
        const double elapsed = double(clock.nsecsElapsed()) / 1e6;
        p.waitForFinished(10000);
        if (!shown) {
            std::fprintf(stderr, "bench_app_startup: run %d did not report its window\n", i);
            return 1;
        }
        if (i > 0) // the first run warms the file cache
            ms.push_back(elapsed);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("tripconf start-up to the shown main window (%s, %d runs): min %.1f ms, median %.1f ms, max %.1f ms\n",
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"))), runs, ms.front(), ms[ms.size() / 2],
                ms.back());
    return 0;
}
