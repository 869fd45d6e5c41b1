#include "command.h"
#include "errors.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

int runDump(const QStringList &argsIn)
{
    QStringList args = argsIn;
    if (!TakeLanguageOption(args) || args.size() != 1 || args[0].startsWith(QLatin1Char('-')))
        return UsageError(QStringLiteral("dump"));
    try {
        const auto owned = NewProgramModel();
        TMK &model = *owned;
        LoadSettingsFile(model, args[0]);
        QJsonArray directory;
        for (const TDirectoryEntry &e : model.BlockDirectory.Entries)
            directory.append(QJsonObject{{QStringLiteral("address"), e.Address}, {QStringLiteral("length"), e.Length}});
        QJsonArray blocks;
        for (int i = 1; i <= mem::kBlockCount; ++i)
            blocks.append(QString::fromLatin1(
                QByteArray(reinterpret_cast<const char *>(model.block(i)), mem::kBlockSize[i]).toHex()));
        const QJsonObject out{{QStringLiteral("deviceType"), model.DeviceType},
                              {QStringLiteral("imageSize"), static_cast<int>(model.SettingsImage.size())},
                              {QStringLiteral("blockCount"), model.BlockDirectory.BlockCount},
                              {QStringLiteral("settingsVersion"), model.BlockDirectory.SettingsVersion},
                              {QStringLiteral("directory"), directory},
                              {QStringLiteral("blocks"), blocks}};
        PrintOut(QJsonDocument(out).toJson(QJsonDocument::Indented));
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar reg({QStringLiteral("dump"), QStringLiteral("dump FILE [--lang en|ru]"),
                            QStringLiteral("load a settings file (*.kelmg) as the program does and print it as JSON"),
                            runDump});

} // namespace
