#include "command.h"
#include "language.h"
#include "tmk.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

std::vector<Command> &Commands()
{
    static std::vector<Command> commands;
    return commands;
}

void PrintError(const QString &text)
{
    std::fprintf(stderr, "tripctl: %s\n", text.toUtf8().constData());
}

void PrintOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

bool ParseDeviceType(const QString &text, uint16_t &out)
{
    bool ok = false;
    const QString t = text.trimmed();
    const uint v = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toUInt(&ok, 16) : t.toUInt(&ok, 10);
    if (!ok || v > 0xFFFF)
        return false;
    out = static_cast<uint16_t>(v);
    return true;
}

QString TakeOption(QStringList &args, const QString &name)
{
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == name && i + 1 < args.size()) {
            const QString v = args[i + 1];
            args.remove(i, 2);
            return v;
        }
        if (args[i].startsWith(name + QLatin1Char('='))) {
            const QString v = args[i].mid(name.size() + 1);
            args.removeAt(i);
            return v;
        }
    }
    return {};
}

std::unique_ptr<TMK> NewProgramModel()
{
    const bool english = EnglishVersion();
    SetEnglishVersion(false);
    struct Restore {
        bool english;
        ~Restore() { SetEnglishVersion(english); }
    } restore{english};
    return std::make_unique<TMK>();
}

bool TakeFlag(QStringList &args, const QString &name) { return args.removeAll(name) > 0; }

bool TakeLanguageOption(QStringList &args)
{
    const QString lang = TakeOption(args, QStringLiteral("--lang"));
    if (lang.isNull() || lang == QLatin1String("en")) {
        SetEnglishVersion(true);
        return true;
    }
    if (lang == QLatin1String("ru")) {
        SetEnglishVersion(false);
        return true;
    }
    PrintError(QStringLiteral("--lang takes en or ru, not \"%1\"").arg(lang));
    return false;
}

namespace {

void printHelp()
{
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command &a, const Command &b) { return a.name < b.name; });
    QByteArray text = "tripctl: the trip computer configurator's command-line tool\n\n"
                      "usage: tripctl COMMAND [ARGS...]\n\ncommands:\n";
    for (const Command &c : sorted)
        text += "  " + c.usage.toUtf8() + "\n      " + c.summary.toUtf8() + "\n";
    text += "\n  tripctl --help    show this text\n";
    PrintOut(text);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The same data folder as the desktop program: both keep their write
    // backups in one place.
    QCoreApplication::setApplicationName(QStringLiteral("tripconf"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
        args[0] == QLatin1String("help")) {
        printHelp();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command &c : Commands())
        if (c.name == name)
            return c.run(args);
    PrintError(QStringLiteral("unknown command \"%1\"; see tripctl --help").arg(name));
    return 2;
}
