// Saves a picture of each page of the journals viewer, filled with sample data:
//   journals_screenshots OUTPUT_FOLDER [--lang en|ru]
// The names end in "-ru" for Russian and in "-150" when the screen is scaled,
// as with QT_SCALE_FACTOR=1.5. Under Xvfb give it a screen large enough for the
// dialog, e.g. xvfb-run -a -s "-screen 0 1920x1200x24".
// The names end in "-ru" for Russian and in "-150" when the screen is scaled,
// as with QT_SCALE_FACTOR=1.5. Under Xvfb give it a screen large enough for the
// dialog, e.g. xvfb-run -a -s "-screen 0 1920x1200x24".
#include "blocks.h"
#include "journals.h"
#include "language.h"
#include "qt_language.h"
#include "stringgrid.h"
#include "tmk.h"
#include "viewjournalsdlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <cstdio>

namespace {

void fill(TMK &model)
{
    uint8_t *trip = model.block(mem::TripLogBlock);
    for (int r = 0; r < 14; ++r) {
        const int at = journal::kTripOffset + journal::kRecordSize * r;
        SetU16(trip, at, static_cast<uint16_t>(420 + 97 * r));
        SetU8(trip, at + 2, static_cast<uint8_t>(28 - r));
        SetU8(trip, at + 3, 11);
        SetU32(trip, at + 4, 900 + 731u * r);
        SetU32(trip, at + 8, 7000 + 9377u * r);
        SetU32(trip, at + 12, 600 + 811u * r);
        SetU32(trip, at + 16, r % 3 ? 0 : 250u * r);
    }
    for (int r = 0; r < 6; ++r) {
        const int at = journal::kRefuelOffset + journal::kRecordSize * r;
        SetU16(trip, at, static_cast<uint16_t>(600 + 131 * r));
        SetU8(trip, at + 2, static_cast<uint8_t>(25 - 4 * r));
        SetU8(trip, at + 3, 10);
        SetU32(trip, at + 4, 36000 + 5000u * r);
        SetU32(trip, at + 8, 420000 + 17000u * r);
        SetU32(trip, at + 12, 38000 + 900u * r);
        SetU32(trip, at + 16, 1200u * r);
    }
    uint8_t *totals = model.block(mem::TotalsBlock);
    const uint32_t sums[6][4] = {{3456000, 48123456, 4012345, 350000}, {5400, 81000, 6480, 0},
                                 {72000, 1234567, 98765, 4321},        {36000, 150000, 22000, 0},
                                 {36000, 1084567, 76765, 4321},        {18000, 640000, 52000, 0}};
    for (int g = 0; g < 6; ++g)
        for (int w = 0; w < 4; ++w)
            SetU32(totals, 16 * g + 4 * w, sums[g][w]);
    SetU32(totals, 96, 3000000);
    SetU32(totals, 100, 42000000);
    SetU32(totals, 104, 3600000);
    SetU32(totals, 108, 456000);
    SetU32(totals, 112, 6123456);
    SetU32(totals, 116, 350000);
    SetU32(totals, 144, 120000);

    uint8_t *log = model.block(mem::ErrorLogBlock);
    for (int b = 4; b < 16; ++b)
        log[b] = 0xFF;
    const uint32_t codes[3] = {0x0420, 0x0171, 0x0300};
    for (int i = 0; i < 3; ++i) {
        const int at = journal::kErrorRecordOffset + journal::kErrorRecordSize * i;
        SetU16(log, at, static_cast<uint16_t>(800 + 333 * i));
        SetU8(log, at + 2, static_cast<uint8_t>(12 + i));
        SetU8(log, at + 3, 9);
        SetU32(log, at + 4, codes[i]);
        uint8_t *f = log + at + journal::kFreezeFrameOffset;
        SetU32(f, 0, codes[i]);
        SetU16(f, 4, 0x0200);
        const int16_t values[] = {37, 88, -3,  0,  5,   0, 3500, 98, 64, 2450, 85, 28, 152,
                                  31, 4,  45,  12, 312, 0, 25,   0,  0,  0,    12, 40, 1520,
                                  0,  99, 640, 0,  0,   0, 138,  98, 15, 12,   16, 0,  220};
        for (size_t k = 0; k < sizeof values / sizeof values[0] && 6 + 2 * k < 84; ++k)
            SetU16(f, static_cast<int>(6 + 2 * k), static_cast<uint16_t>(values[k]));
        SetU16(f, 34, 4);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: journals_screenshots OUTPUT_FOLDER [--lang en|ru]\n");
        return 2;
    }
    const bool english = !(args.size() > 3 && args[2] == QLatin1String("--lang") && args[3] == QLatin1String("ru"));
    SetEnglishVersion(false);
    TMK model;
    SetEnglishVersion(english);
    ApplyQtLanguage(english); // the boxes' Yes and No as the program shows them
    fill(model);
    model.FormatImage(0);
    const QDir out(QFileInfo(args[1]).absoluteFilePath());
    const int percent = qRound(app.devicePixelRatio() * 100);
    const QString suffix =
        QString(english ? "" : "-ru") + (percent == 100 ? QString() : QStringLiteral("-%1").arg(percent));
    bool ok = true;
    model.ViewJournals([&](TMK &m) {
        TMK_ViewJournalsDlg dlg(m);
        dlg.show();
        const char *names[4] = {"trip", "refuel", "sums", "errors"};
        for (int page = 0; page < 4; ++page) {
            dlg.pcMain->setCurrentIndex(page);
            if (page == 3)
                dlg.sgErrors->setCurrentCell(1, 1);
            app.processEvents();
            const QString file =
                out.filePath(QStringLiteral("journals-%1%2.png").arg(QLatin1String(names[page]), suffix));
            ok = dlg.grab().save(file, "PNG", 0) && ok; // smallest file
        }
        // The questions before clearing: a journal and a sum table. The box
        // is pictured and answered No, so nothing is cleared.
        const std::pair<QPushButton *, const char *> clears[] = {{dlg.bTripReset, "trip"}, {dlg.bErrrJReset, "errors"}};
        for (const auto &[button, name] : clears) {
            bool pictured = false;
            QTimer::singleShot(200, &dlg, [&, name = name] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                const QString file =
                    out.filePath(QStringLiteral("journals-question-%1%2.png").arg(QLatin1String(name), suffix));
                pictured = box->grab().save(file, "PNG", 0);
                box->button(QMessageBox::No)->click();
            });
            button->click();
            ok = pictured && ok;
        }
        return false;
    });
    return ok ? 0 : 1;
}
