// Saves a picture of each of the sound, averages, parking radar, tank and
// maintenance pages, each hosted at the size the settings dialog gives its pages:
//   tank_sound_pages_screenshots OUTPUT_FOLDER [--lang en|ru] [--device-type TYPE]
// The names end in "-ru" for Russian. Offscreen: QT_QPA_PLATFORM=offscreen.
#include "blocks.h"
#include "editor_page.h"
#include "editor_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "sound_pages.h"
#include "tmk.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tank_sound_pages_screenshots OUTPUT_FOLDER [--lang en|ru] [--device-type TYPE]\n");
        return 2;
    }
    const bool english = !(args.contains(QStringLiteral("--lang")) &&
                           args.value(args.indexOf(QStringLiteral("--lang")) + 1) == QLatin1String("ru"));
    const int typeAt = args.indexOf(QStringLiteral("--device-type"));
    const uint16_t type = typeAt > 0 ? static_cast<uint16_t>(args.value(typeAt + 1).toUInt(nullptr, 0)) : 0xC000;
    SetEnglishVersion(false);
    TMK model(type);
    model.DeviceType = type;
    SetEnglishVersion(english);
    model.FormatImage(9);
    ed::OpenForEditing(model);
    const QDir out(args[1]);
    const QString suffix = english ? QString() : QStringLiteral("-ru");
    bool ok = true;
    for (const char *name : {"tsVoice", "tsAver", "tsPark", "tsOil", "tsTO"}) {
        QWidget window;
        window.resize(1000, 540);
        TFieldBinder binder(model, Catalog(), &window);
        TEditorContext context{model, Catalog(), binder};
        TEditorPage *page = MakeEditorPage(name, context, &window);
        if (!page)
            return 1;
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(page);
        page->Load();
        window.show();
        app.processEvents();
        const QString stem = QString::fromLatin1(name).mid(2).toLower();
        ok = window.grab().save(out.filePath(QStringLiteral("editor-%1%2.png").arg(stem, suffix)), "PNG", 0) && ok;
        if (auto *voice = qobject_cast<TVoicePage *>(page)) {
            voice->tabs()->setCurrentIndex(1);
            app.processEvents();
            ok = window.grab().save(out.filePath(QStringLiteral("editor-%1-sounds%2.png").arg(stem, suffix)), "PNG",
                                    0) &&
                 ok;
        }
    }
    return ok ? 0 : 1;
}
