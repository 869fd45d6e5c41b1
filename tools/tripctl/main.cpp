#include "command.h"
#include "language.h"
#include "tmk.h"
#include "trip_version.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

std::vector<Command> &Commands()
{
    static std::vector<Command> commands;
    return commands;
}

void PrintError(const QString &text) { std::fprintf(stderr, "tripctl: %s\n", text.toUtf8().constData()); }

void PrintOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

bool ParseDeviceType(const QString &text, uint16_t &out)
{
    bool ok = false;
    const QString t = text.trimmed();
    const uint v =
        t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toUInt(&ok, 16) : t.toUInt(&ok, 10);
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

QString TakeOutputOption(QStringList &args)
{
    const QString out = TakeOption(args, QStringLiteral("-o"));
    return out.isNull() ? TakeOption(args, QStringLiteral("--output")) : out;
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

const Command *findCommand(const QString &name)
{
    for (const Command &c : Commands())
        if (c.name == name)
            return &c;
    return nullptr;
}

// "usage: tripctl FORM" for each form of the command, the later ones indented.
QByteArray usageText(const Command &c)
{
    QByteArray text;
    const QStringList forms = c.usage.split(QLatin1Char('\n'));
    for (int i = 0; i < forms.size(); ++i)
        text += (i == 0 ? "usage: tripctl " : "       tripctl ") + forms[i].toUtf8() + "\n";
    return text;
}

QByteArray helpText()
{
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command &a, const Command &b) { return a.name < b.name; });
    QByteArray text = "tripctl " TRIP_VERSION
                      ": the trip computer configurator's command-line tool\n\n"
                      "usage: tripctl COMMAND [ARGS...]\n\ncommands:\n";
    for (const Command &c : sorted) {
        for (const QString &form : c.usage.split(QLatin1Char('\n')))
            text += "  " + form.toUtf8() + "\n";
        text += "      " + c.summary.toUtf8() + "\n";
    }
    text +=
        "\nAn option's value may also be given as --option=VALUE.\n"
        "  tripctl COMMAND --help   show the usage of one command\n"
        "  tripctl --help           show this text\n"
        "  tripctl --version        show the version\n";
    return text;
}

bool isHelp(const QString &arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h") || arg == QLatin1String("help");
}

} // namespace

int UsageError(const QString &command, const QString &reason)
{
    if (!reason.isEmpty())
        PrintError(reason);
    const Command *c = findCommand(command);
    const QByteArray text = c ? usageText(*c) : helpText();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    return 2;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The same data folder as the desktop program: both keep their write
    // backups in one place.
    QCoreApplication::setApplicationName(QStringLiteral("tripconf"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return UsageError({});
    if (isHelp(args[0])) {
        PrintOut(helpText());
        return 0;
    }
    if (args[0] == QLatin1String("--version")) {
        PrintOut("tripctl " TRIP_VERSION "\n");
        return 0;
    }
    const QString name = args.takeFirst();
    const Command *c = findCommand(name);
    if (!c)
        return UsageError({}, QStringLiteral("unknown command \"%1\"").arg(name));
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        PrintOut(usageText(*c));
        return 0;
    }
    return c->run(args);
}
