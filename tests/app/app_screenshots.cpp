// Saves pictures of the main window's own boxes:
//   app_screenshots OUTPUT_FOLDER [--lang en|ru]
// The names end in "-ru" for Russian and in "-150" when the screen is scaled,
// as with QT_SCALE_FACTOR=1.5. Run it under Xvfb (xvfb-run -a).
#include "app_paths.h"
#include "fake_serial_tree.h"
#include "kv_rs.h"
#include "language.h"
#include "main_form.h"
#include "messages.h"
#include "port_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <cstdio>

namespace {

// Grabs the next modal box into `file` and closes it with its default button.
void grabNextBox(QWidget *context, const QString &file, bool &ok)
{
    QTimer::singleShot(300, context, [file, &ok] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            std::fprintf(stderr, "no box for %s\n", qPrintable(file));
            return;
        }
        ok = box->grab().save(file, "PNG", 0);
        box->done(0);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: app_screenshots OUTPUT_FOLDER [--lang en|ru]\n");
        return 2;
    }
    const bool english = !(args.size() > 3 && args[2] == QLatin1String("--lang") && args[3] == QLatin1String("ru"));
    QTemporaryDir scratch;
    SetIniPath(scratch.filePath(QStringLiteral("tripconf.ini")));
    {
        QFile ini(scratch.filePath(QStringLiteral("tripconf.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write(english ? "[Common]\nEnglishVersion=1\n" : "[Common]\nEnglishVersion=0\n");
    }
    const QDir out(QFileInfo(args[1]).absoluteFilePath()); // the window changes the current folder
    const int percent = qRound(app.devicePixelRatio() * 100);
    const QString suffix =
        QString(english ? "" : "-ru") + (percent == 100 ? QString() : QStringLiteral("-%1").arg(percent));

    TStartOptions options;
    options.PortPath = scratch.filePath(QStringLiteral("no-port")); // no device: only the boxes matter
    TMainForm form(options);
    SetMessageHook([](TMessageKind, const QString &) { return TAnswer::No; }); // the missing port's box
    form.Open();
    SetMessageHook({});
    app.processEvents(); // the language change reaches every window first

    // The unsaved-changes question, as closing the window asks it.
    form.SetDependentEnabled(true);
    form.SetModifiedFlag(true);
    bool ok = false;
    QTimer::singleShot(300, &form, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            std::fprintf(stderr, "no question box: %s\n",
                         QApplication::activeModalWidget()
                             ? QApplication::activeModalWidget()->metaObject()->className()
                             : "nothing modal");
            return;
        }
        ok = box->grab().save(out.filePath(QStringLiteral("question-unsaved%1.png").arg(suffix)), "PNG", 0);
        box->button(QMessageBox::Cancel)->click();
    });
    form.close();
    form.SetModifiedFlag(false);

    // The serial ports of a machine with two adapters, one of them not open
    // to the user, a USB modem held by another program and a UART.
    TFakeSerialTree tree;
    tree.use();
    TFakeSerialTree::probeWithOneLockedOneBusy();
    bool dialogOk = false;
    {
        TKV_RS link;
        TPortDialog dialog(link, &form);
        dialog.show();
        app.processEvents();
        dialogOk = dialog.grab().save(out.filePath(QStringLiteral("port-dialog%1.png").arg(suffix)), "PNG", 0);
    }
    // No port may be opened: what the user sees first.
    TKV_RS_Base::ProbeHook = [](const QString &) { return EACCES; };
    bool boxOk = false;
    TKV_RS_Base::ErrorBoxHook = [&form](const QString &text) { ErrorBox(&form, text); };
    grabNextBox(&form, out.filePath(QStringLiteral("error-no-permission%1.png").arg(suffix)), boxOk);
    {
        TKV_RS link;
    }
    TKV_RS_Base::ErrorBoxHook = nullptr;
    form.close();
    return ok && dialogOk && boxOk ? 0 : 1;
}
