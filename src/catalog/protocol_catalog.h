#pragma once
#include "capabilities.h"

#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

constexpr int kMaxProtocolNumbers = 101; // capacity of DisplayParams and Blocks
constexpr int kOptionLists = 8;
constexpr int kFirstBlockCode = 8;
constexpr int kLastBlockCode = 184;

// One protocol offered for the current model. Built once, never edited after it
// is in the list.
class TProtBase {
public:
    TProtBase(const QString &name, uint8_t number, int32_t faultFormat, const std::vector<uint8_t> &displayParams,
              const std::vector<uint8_t> *blocks);

    void AddDisplayParameter(uint8_t parameterNumber);

    QString Name;
    uint8_t Number = 0;
    std::vector<uint8_t> DisplayParams; // at most 101
    std::vector<uint8_t> Blocks;        // at most 101
    int32_t FaultFormat = 0;
    std::array<QString, kOptionLists> OptionCaption;
    std::array<int32_t, kOptionLists> OptionCount{};
    std::array<QStringList, kOptionLists> OptionItems; // 21 slots, 61 for list 4

    bool HasCoolantTemp = true;
    bool HasFaults = true;
    bool HasAtOilTemp = false;
    bool HasEngineOilTemp = false;
    bool HasFanControl = false;
    bool HasEcuParkingLights = false;
    bool HasBatterySource = false;
    bool IsHybrid = false;
    int32_t EcuFuelSensors = 0;
    bool HasExtraCooling = false;
    bool HasTrim = false;
    bool HasAirTempSource = false;

    // The first OptionCount items of list g, or nothing where the list is not offered.
    QStringList offeredItems(int g) const;
};

// The process-wide protocol catalog: one list, one current entry and one
// capability set at a time, rebuilt as a whole by BuildCatalog.
class TProtocolCatalog {
public:
    void BuildCatalog(uint16_t deviceType, uint8_t protocolIndex, uint8_t third);
    // CurrentProtocol := entry `index`; an index beyond the list is refused with
    // an error and leaves no current protocol.
    void SelectProtocol(int index);

    bool has(Cap c) const { return m_caps.has(c); }
    const CapabilitySet &capabilities() const { return m_caps; }
    bool blockPresent(int code) const
    {
        return code >= kFirstBlockCode && code <= kLastBlockCode && m_blockPresent.test(static_cast<size_t>(code));
    }
    std::vector<int> blockPresentCodes() const;
    const QString &modelName() const { return m_modelName; }
    uint16_t deviceType() const { return m_deviceType; }
    const std::vector<std::unique_ptr<TProtBase>> &protocolList() const { return m_list; }
    const TProtBase *currentProtocol() const { return m_current; }
    // Drops the reference to the current entry (done before a rebuild).
    void clearCurrentProtocol() { m_current = nullptr; }

    // Used by entry construction: marks a block code as present in the list.
    void markBlockPresent(int code);
    void appendEntry(std::unique_ptr<TProtBase> entry);

private:
    std::vector<std::unique_ptr<TProtBase>> m_list;
    const TProtBase *m_current = nullptr;
    CapabilitySet m_caps;
    std::bitset<kLastBlockCode + 1> m_blockPresent;
    QString m_modelName;
    uint16_t m_deviceType = 0;
};

TProtocolCatalog &Catalog();

// Shorthand for the capability reads of every other subsystem.
inline bool HasCap(Cap c) { return Catalog().has(c); }

// Creates the entries of the protocol table whose gates hold for the current
// capabilities and appends them to the catalog, in the table's order.
void BuildProtocolEntries(TProtocolCatalog &catalog);
