#include "protocol_catalog.h"

#include "errors.h"
#include "language.h"

#include <algorithm>

namespace {

constexpr int kItemSlots = 21;
constexpr int kItemSlotsList4 = 61;

void appendLimited(std::vector<uint8_t> &list, uint8_t value, const char *what)
{
    if (static_cast<int>(list.size()) >= kMaxProtocolNumbers)
        throw TripError(QStringLiteral("Range error: more than %1 %2 in a protocol entry")
                            .arg(kMaxProtocolNumbers)
                            .arg(QString::fromLatin1(what)));
    list.push_back(value);
}

// The default item texts of the eight option lists in the current language.
// Built once per language and shared by every entry until a row changes them;
// the catalog is rebuilt each time the editor opens.
const std::array<QStringList, kOptionLists> &defaultOptionItems()
{
    static std::array<QStringList, kOptionLists> cached[2];
    static bool built[2] = {false, false};
    const int lang = EnglishVersion() ? 1 : 0;
    if (!built[lang]) {
        for (int g = 0; g < kOptionLists; ++g) {
            QStringList &items = cached[lang][static_cast<size_t>(g)];
            const int slotCount = g == 4 ? kItemSlotsList4 : kItemSlots;
            items.reserve(slotCount);
            if (g == 0)
                items << LangText("Auto", "Авто");
            const int last = g == 0 ? 9 : (g == 4 ? 13 : 10);
            for (int n = 1; n <= last; ++n)
                items << QString::number(n);
            while (items.size() < slotCount)
                items << QString();
        }
        built[lang] = true;
    }
    return cached[lang];
}

} // namespace

TProtBase::TProtBase(const QString &name, uint8_t number, int32_t faultFormat,
                     const std::vector<uint8_t> &displayParams, const std::vector<uint8_t> *blocks)
    : Name(name), Number(number)
{
    for (uint8_t p = 1; p <= 16; ++p)
        AddDisplayParameter(p);
    for (uint8_t p : displayParams)
        AddDisplayParameter(p);
    const TProtocolCatalog &cat = Catalog();
    if (cat.has(Cap::NoAirTempAlgorithm))
        AddDisplayParameter(65);
    if (cat.has(Cap::LowBeamControl) && !cat.has(Cap::LightsOnAirTempInput))
        AddDisplayParameter(34);
    if (cat.has(Cap::UniversalInput))
        AddDisplayParameter(40);
    if (cat.has(Cap::Trim))
        AddDisplayParameter(62);
    if (cat.has(Cap::TiltSensor)) {
        AddDisplayParameter(55);
        AddDisplayParameter(56);
    }
    if (blocks)
        for (uint8_t b : *blocks)
            appendLimited(Blocks, b, "blocks");

    FaultFormat = faultFormat;
    OptionItems = defaultOptionItems();
    if (blocks)
        for (uint8_t b : *blocks)
            Catalog().markBlockPresent(b);
}

void TProtBase::AddDisplayParameter(uint8_t parameterNumber)
{
    if (parameterNumber == 0)
        return;
    appendLimited(DisplayParams, parameterNumber, "display parameters");
}

QStringList TProtBase::offeredItems(int g) const
{
    if (g < 0 || g >= kOptionLists || OptionCaption[g].isEmpty())
        return {};
    const int n = std::clamp(OptionCount[g], 0, static_cast<int>(OptionItems[g].size()));
    return OptionItems[g].mid(0, n);
}

TProtocolCatalog &Catalog()
{
    static TProtocolCatalog catalog;
    return catalog;
}

void TProtocolCatalog::BuildCatalog(uint16_t deviceType, uint8_t protocolIndex, uint8_t /*third*/)
{
    m_current = nullptr;
    m_list.clear();
    m_caps.reset();
    m_blockPresent.reset();
    m_modelName.clear();
    m_deviceType = deviceType;
    if (const auto model = FindModel(deviceType)) {
        m_modelName = QString::fromUtf8(model->name);
        m_caps = model->caps;
    }
    BuildProtocolEntries(*this);
    SelectProtocol(protocolIndex);
}

void TProtocolCatalog::SelectProtocol(int index)
{
    m_current = nullptr;
    if (index < 0 || index >= static_cast<int>(m_list.size()))
        throw TripError(LangText("List index out of bounds (%1): the protocol list of this device holds %2 entries",
                                 "Индекс списка вне границ (%1): протоколов в списке этого прибора: %2")
                            .arg(index)
                            .arg(m_list.size()));
    m_current = m_list[static_cast<size_t>(index)].get();
}

std::vector<int> TProtocolCatalog::blockPresentCodes() const
{
    std::vector<int> codes;
    for (int c = kFirstBlockCode; c <= kLastBlockCode; ++c)
        if (m_blockPresent.test(static_cast<size_t>(c)))
            codes.push_back(c);
    return codes;
}

void TProtocolCatalog::markBlockPresent(int code)
{
    if (code >= kFirstBlockCode && code <= kLastBlockCode)
        m_blockPresent.set(static_cast<size_t>(code));
}

void TProtocolCatalog::appendEntry(std::unique_ptr<TProtBase> entry) { m_list.push_back(std::move(entry)); }
