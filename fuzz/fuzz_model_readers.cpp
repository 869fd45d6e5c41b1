// A device type and any bytes in the eleven blocks of a well-formed image,
// loaded as a settings file: everything that reads the settings must never
// crash or touch memory outside the model, and what it says must hold
// together. Every input runs one group of readers: the journals viewer with
// tripctl's journal outputs, or, in the editor as it opens, every field in
// both languages with tripctl's settings outputs, the hot menus and the
// systems page with their outputs, or one screen preview. A cancelled editor
// or viewer leaves the model as it was.
//
// Input: byte 0 picks the device (a listed model, or from 0xE0 on the
// DeviceType of bytes 1..2), byte 3 is the settings version, byte 4 the group
// (bits 0..1) and the language (bit 2), byte 5 the preview's screen and
// display (bits 0..4) and scheme (bit 5), byte 6 the parameter of the
// one-parameter screen (0: its default); the rest fills blocks 1..11 in order
// (a new model's bytes where the input ends).
#include "blocks.h"
#include "capabilities.h"
#include "errors.h"
#include "field_state.h"
#include "hot_menus.h"
#include "journals.h"
#include "language.h"
#include "previews.h"
#include "protocol_catalog.h"
#include "settings_file.h"
#include "systems.h"
#include "tank_service_files.h"
#include "tmk.h"
#include "tripctl_output.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kHeader = 7;
enum Group { Journals, Fields, Pages, Preview };
constexpr uint8_t kAnyDeviceType = 0xE0; // byte 0 from here on: bytes 1..2 are the DeviceType

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void checkJson(const QByteArray &json)
{
    QJsonParseError error{};
    QJsonDocument::fromJson(json, &error);
    check(error.error == QJsonParseError::NoError);
}

// What the editor would show: ranges that hold their value, an item that exists.
void checkStates(const std::vector<ed::FieldState> &states)
{
    for (const ed::FieldState &s : states) {
        if (s.row->kind == ed::ControlKind::SpinEdit)
            check(std::isfinite(s.number) && s.min <= s.max && s.number >= s.min && s.number <= s.max);
        if (s.index)
            check(*s.index >= 0 && *s.index < s.items.size());
        check(s.itemEnabled.size() == static_cast<size_t>(s.items.size()));
    }
}

// Every field in both languages; the settings printed as JSON in one, as a
// table in the other.
void readFields(const TMK &model, bool english)
{
    for (const bool lang : {!english, english}) {
        SetEnglishVersion(lang);
        const std::vector<ed::FieldState> states = ed::EvaluateSchema(model, Catalog());
        checkStates(states);
        if (lang == english)
            checkJson(tripout::SettingsJson(states));
        else
            (void)tripout::SettingsTable(states);
    }
}

void readPages(TMK &model)
{
    for (int line = 0; line < ed::kHotMenuLines; ++line) {
        (void)ed::HotMenuLineShown(Catalog(), line);
        (void)ed::HotMenuChoices(Catalog(), line);
    }
    checkJson(tripout::HotMenusJson(model));
    checkJson(tripout::SystemsJson(model));
}

// One screen and display in one scheme: drawing them all would take most of
// the time, and each still comes round often.
void drawPreview(const TMK &model, uint8_t choice, uint8_t parameter)
{
    static const std::vector<std::pair<pv::Screen, int>> screens = [] {
        std::vector<std::pair<pv::Screen, int>> all;
        for (const QString &name : pv::ScreenNames()) {
            const pv::Screen screen = *pv::ScreenNamed(name);
            for (int d = 0; d < pv::DisplayCount(screen); ++d)
                all.emplace_back(screen, d);
        }
        return all;
    }();
    const auto &[screen, display] = screens[(choice & 31) % screens.size()];
    const int scheme = (choice >> 5) & 1;
    pv::TPreviewCanvas canvas;
    const std::optional<int> single =
        screen == pv::Screen::Single && parameter != 0 ? std::optional<int>(parameter) : std::nullopt;
    pv::DrawEditorPreview(canvas, model, Catalog().capabilities(), screen, display, scheme, single, parameter);
    const pv::TScheme colours(model, scheme);
    for (int k = 0; k < 16; ++k)
        (void)pv::ColourToRgb(colours.colour(k));
}

// The viewer's pages, its export and the questions before each clearing.
void readJournals(TMK &model)
{
    for (const QString &point : {QStringLiteral("."), QStringLiteral(",")})
        for (const Journal which : {Journal::Trip, Journal::Refuel}) {
            const QList<QStringList> grid = JournalGrid(model, which, point);
            check(grid.size() == journal::kGridRows);
            for (const QStringList &row : grid)
                check(row.size() == journal::kGridColumns);
            (void)JournalExportBytes(grid);
        }
    const int style = JournalFaultFormat(model);
    const QList<QStringList> faults = ErrorJournalExport(model, style, QStringLiteral(","));
    for (const QStringList &row : faults)
        check(row.size() == ErrorExportHeader().size());
    (void)JournalExportText(faults);
    checkJson(tripout::ErrorsJson(model));
    checkJson(tripout::SumsJson(model));

    using Target = JournalClearing::Target;
    std::vector<JournalClearing> clearings{{Target::TripJournal}, {Target::RefuelJournal}, {Target::ErrorJournal}};
    for (const SumGroupInfo &g : SumGroups())
        clearings.push_back({Target::Sums, g.id});
    for (const JournalClearing &what : clearings) {
        (void)ClearingQuestion(model, what);
        if (ClearingErases(model, what))
            Clear(model, what);
        check(!ClearingErases(model, what));
    }
    check(UsedRecords(model, Journal::Trip) == 0 && UsedRecords(model, Journal::Refuel) == 0 &&
          UsedErrorRecords(model) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < kHeader)
        return 0;
    const std::vector<ModelInfo> &models = ModelTable();
    const uint8_t pick = data[0];
    const uint16_t deviceType = pick >= kAnyDeviceType ? static_cast<uint16_t>(data[1] | (data[2] << 8))
                                                       : models[pick % models.size()].deviceType;
    const uint8_t version = data[3];
    const Group group = static_cast<Group>(data[4] & 3);
    const bool english = data[4] & 4;

    // The image a device of that type with these blocks would give.
    SetEnglishVersion(false); // the program's model is made before the language is read
    TMK model(deviceType);
    model.FormatImage(version);
    {
        auto *image = reinterpret_cast<uint8_t *>(model.SettingsImage.data());
        const uint8_t *bytes = data + kHeader;
        size_t left = size - kHeader;
        for (int i = 1; i <= mem::kBlockCount && left > 0; ++i) {
            const size_t n = std::min(left, static_cast<size_t>(mem::kBlockSize[i]));
            std::memcpy(image + model.BlockDirectory.Entries[i - 1].Address - mem::kImageAddressBase, bytes, n);
            bytes += n;
            left -= n;
        }
    }
    SetEnglishVersion(english);
    try {
        LoadSettingsBytes(model, SettingsFileBytes(deviceType, model.SettingsImage));
    } catch (const TripError &) {
        std::abort(); // a well-formed image always loads
    }
    const QByteArray image = model.SettingsImage;
    const TBlockSnapshot blocks = model.SnapshotBlocks(1, mem::kBlockCount);

    if (group == Journals) {
        check(!model.ViewJournals([](TMK &m) {
            readJournals(m);
            return false;
        }));
        check(model.SnapshotBlocks(1, mem::kBlockCount) == blocks);
        return 0;
    }

    // The settings editor, cancelled; as it opens, the tank page applies its
    // tare count rule and the dialog renames parameters and resets the schemes.
    check(!model.EditSettings([&](TMK &m) {
        ed::ApplyTareCountRule(m);
        ed::RenameParameters(m, Catalog());
        m.SetDefaultColours();
        if (group == Fields)
            readFields(m, english);
        else if (group == Pages)
            readPages(m);
        else
            drawPreview(m, data[5], data[6]);
        return false;
    }));
    check(model.SnapshotBlocks(1, mem::kBlockCount) == blocks && model.SettingsImage == image);
    return 0;
}
