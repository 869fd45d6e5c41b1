// Inspection of the vehicle catalogs for support staff: the protocol list, the
// device menu and the measured parameters of one device model, as JSON.
#include "command.h"
#include "capabilities.h"
#include "errors.h"
#include "measured_params.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Reads "--device-type X" and "--lang en|ru"; anything else is a usage error.
bool takeArguments(QStringList args, uint16_t &deviceType)
{
    if (!TakeLanguageOption(args))
        return false;
    const QString type = TakeOption(args, QStringLiteral("--device-type"));
    if (type.isNull() || !args.isEmpty())
        return false;
    if (!ParseDeviceType(type, deviceType)) {
        PrintError(QStringLiteral("\"%1\" is not a device type (decimal or 0x-hex, at most 0xFFFF)").arg(type));
        return false;
    }
    return true;
}

// Builds the catalog for the model without selecting a protocol: an unlisted
// model has an empty list, which is a valid answer here.
void buildCatalog(uint16_t deviceType)
{
    try {
        Catalog().BuildCatalog(deviceType, 0, 0);
    } catch (const TripError &) {
        // the list is empty; there is no entry 0 to make current
    }
}

QJsonArray numbers(const std::vector<uint8_t> &list)
{
    QJsonArray a;
    for (uint8_t v : list)
        a.append(v);
    return a;
}

QJsonObject protocolJson(const TProtBase &e)
{
    QJsonArray options;
    for (int g = 0; g < kOptionLists; ++g) {
        const bool offered = !e.OptionCaption[static_cast<size_t>(g)].isEmpty();
        options.append(
            QJsonObject{{QStringLiteral("caption"), offered ? e.OptionCaption[static_cast<size_t>(g)] : QString()},
                        {QStringLiteral("items"), QJsonArray::fromStringList(e.offeredItems(g))}});
    }
    const QJsonObject flags{{QStringLiteral("HasCoolantTemp"), e.HasCoolantTemp},
                            {QStringLiteral("HasFaults"), e.HasFaults},
                            {QStringLiteral("HasAtOilTemp"), e.HasAtOilTemp},
                            {QStringLiteral("HasEngineOilTemp"), e.HasEngineOilTemp},
                            {QStringLiteral("HasFanControl"), e.HasFanControl},
                            {QStringLiteral("HasEcuParkingLights"), e.HasEcuParkingLights},
                            {QStringLiteral("HasBatterySource"), e.HasBatterySource},
                            {QStringLiteral("IsHybrid"), e.IsHybrid},
                            {QStringLiteral("EcuFuelSensors"), e.EcuFuelSensors},
                            {QStringLiteral("HasExtraCooling"), e.HasExtraCooling},
                            {QStringLiteral("HasTrim"), e.HasTrim},
                            {QStringLiteral("HasAirTempSource"), e.HasAirTempSource}};
    return QJsonObject{{QStringLiteral("name"), e.Name},
                       {QStringLiteral("number"), e.Number},
                       {QStringLiteral("faultFormat"), e.FaultFormat},
                       {QStringLiteral("displayParams"), numbers(e.DisplayParams)},
                       {QStringLiteral("blocks"), numbers(e.Blocks)},
                       {QStringLiteral("options"), options},
                       {QStringLiteral("flags"), flags}};
}

QJsonObject parameterJson(const TMeasParBase &p)
{
    return QJsonObject{{QStringLiteral("ParameterNumber"), p.ParameterNumber},
                       {QStringLiteral("GaugeSlot"), p.GaugeSlot},
                       {QStringLiteral("Graphable"), p.Graphable},
                       {QStringLiteral("Sample"), p.Sample},
                       {QStringLiteral("Min"), p.Min},
                       {QStringLiteral("Max"), p.Max},
                       {QStringLiteral("ScaleMin"), p.ScaleMin},
                       {QStringLiteral("ScaleMax"), p.ScaleMax},
                       {QStringLiteral("Width"), p.Width},
                       {QStringLiteral("Decimals"), p.Decimals},
                       {QStringLiteral("Name"), p.Name},
                       {QStringLiteral("SampleText"), p.SampleText},
                       {QStringLiteral("LongName"), p.LongName},
                       {QStringLiteral("MinText"), p.MinText},
                       {QStringLiteral("MaxText"), p.MaxText},
                       {QStringLiteral("CellName4"), p.CellName4},
                       {QStringLiteral("CellUnit4"), p.CellUnit4},
                       {QStringLiteral("CellName9"), p.CellName9},
                       {QStringLiteral("CellUnit9"), p.CellUnit9},
                       {QStringLiteral("PanelName"), p.PanelName},
                       {QStringLiteral("GaugeName"), p.GaugeName},
                       {QStringLiteral("GaugeUnit"), p.GaugeUnit},
                       {QStringLiteral("GraphName"), p.GraphName},
                       {QStringLiteral("ExtendedRange"), p.ExtendedRange}};
}

int runCatalog(const QStringList &args)
{
    uint16_t deviceType = 0;
    if (!takeArguments(args, deviceType))
        return UsageError(QStringLiteral("catalog"));
    buildCatalog(deviceType);
    const TProtocolCatalog &cat = Catalog();
    QJsonArray protocols;
    for (const auto &e : cat.protocolList())
        protocols.append(protocolJson(*e));
    QJsonArray present;
    for (int code : cat.blockPresentCodes())
        present.append(code);
    const QJsonObject out{{QStringLiteral("modelName"), cat.modelName()},
                          {QStringLiteral("protocols"), protocols},
                          {QStringLiteral("blockPresent"), present}};
    PrintOut(QJsonDocument(out).toJson(QJsonDocument::Indented));
    return 0;
}

int runMenu(const QStringList &args)
{
    uint16_t deviceType = 0;
    if (!takeArguments(args, deviceType))
        return UsageError(QStringLiteral("menu"));
    QJsonArray out;
    // The program never shows the menu of a model it does not know.
    if (FindModel(deviceType)) {
        buildCatalog(deviceType);
        BuildMenuCatalog();
        for (const auto &item : MenuCatalog())
            out.append(QJsonObject{{QStringLiteral("code"), item->Code},
                                   {QStringLiteral("identifier"), item->Identifier},
                                   {QStringLiteral("caption"), item->Caption},
                                   {QStringLiteral("kind"), item->Kind}});
    }
    PrintOut(QJsonDocument(out).toJson(QJsonDocument::Indented));
    return 0;
}

int runParams(const QStringList &args)
{
    uint16_t deviceType = 0;
    if (!takeArguments(args, deviceType))
        return UsageError(QStringLiteral("params"));
    QJsonArray out;
    if (FindModel(deviceType)) {
        buildCatalog(deviceType);
        for (const auto &p : CreateMeasuredParameters())
            out.append(parameterJson(*p));
    }
    PrintOut(QJsonDocument(out).toJson(QJsonDocument::Indented));
    return 0;
}

const CommandRegistrar catalogCommand(
    {QStringLiteral("catalog"), QStringLiteral("catalog --device-type TYPE [--lang en|ru]"),
     QStringLiteral("print the protocol list of a device model (decimal or 0x-hex type) as JSON"), runCatalog});
const CommandRegistrar menuCommand({QStringLiteral("menu"), QStringLiteral("menu --device-type TYPE [--lang en|ru]"),
                                    QStringLiteral("print the device menu items of a device model as JSON"), runMenu});
const CommandRegistrar paramsCommand(
    {QStringLiteral("params"), QStringLiteral("params --device-type TYPE [--lang en|ru]"),
     QStringLiteral("print the measured parameters of a device model, as freshly created, as JSON"), runParams});

} // namespace
