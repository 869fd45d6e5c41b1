#include "journals.h"

#include "blocks.h"
#include "errors.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

using namespace journal;

uint32_t DecimalToBcd(uint32_t a) { return (a % 10) + 16 * ((a / 10) % 10) + 256 * ((a / 100) % 10); }

namespace {

QString hex(uint32_t v, int width) { return QStringLiteral("%1").arg(v, width, 16, QLatin1Char('0')).toUpper(); }

QString obdText(uint32_t code)
{
    QString letter;
    if (code < 0x4000)
        letter = QStringLiteral("P");
    else if (code < 0x8000)
        letter = QStringLiteral("C");
    else if (code < 0xC000)
        letter = QStringLiteral("B");
    else if (code <= 0xFFFF)
        letter = QStringLiteral("U");
    return letter + hex(code & 0x3FFF, 4);
}

QString j1939Text(uint32_t code)
{
    const uint32_t spn = (code & 0xFFFF) | ((code >> 5) & 0x70000);
    const uint32_t fmi = (code >> 16) & 0x1F;
    const uint32_t q = code >> 24;
    return QStringLiteral("SPN = %1  FMI = %2  Q = %3")
        .arg(spn)
        .arg(fmi)
        .arg(q > 126 ? QStringLiteral("----") : QString::number(q));
}

// VAG codes of 0x4000 and above are band offsets written as decimal digits.
uint32_t vagOffset(uint32_t code)
{
    if (code >= 0x5000)
        return 0;
    return code & 0x3FF; // each band 0x4000, 0x4400, 0x4800, 0x4C00 is 0x400 long
}

} // namespace

QString FormatFaultCode(int style, uint32_t code, int optionList0, int optionList2)
{
    switch (style) {
    case 7: style = optionList2 == 1 ? 0 : 1; break;
    case 8:
        if (code < 0x4000) {
            style = optionList0 == 1 ? 2 : 6;
        } else {
            code = DecimalToBcd(vagOffset(code));
            style = 0;
        }
        break;
    case 9: style = optionList2 == 0 ? 2 : 0; break;
    default: break;
    }

    switch (style) {
    case 0: return obdText(code);
    case 1: return hex(code & 0x3FFF, 4);
    case 2: return QString::number(code);
    case 3: {
        QString mark;
        if (code & 0x8000)
            mark = QStringLiteral("п");
        else if (code & 0x4000)
            mark = QStringLiteral("н");
        else if (code & 0x2000)
            mark = QStringLiteral("м");
        return QString::number(code) + mark;
    }
    case 4: return hex(code, 4) + (code < 256 || code > 4095 ? QStringLiteral("Sub") : QString());
    case 5: return j1939Text(code);
    case 10: return QStringLiteral("%1-%2").arg((code >> 8) & 0xFF).arg(code % 7);
    default: // 6, 1000 and unknown styles
        return {};
    }
}

QString FormatFaultCode(const TMK &model, int style, uint32_t code)
{
    return FormatFaultCode(style, code, static_cast<int>(model.get(fld::ProtocolOption(0))),
                           static_cast<int>(model.get(fld::ProtocolOption(2))));
}

int JournalFaultFormat(TMK &model)
{
    try {
        model.ConsultCatalog();
    } catch (const TripError &) {
        // Settings made for another model: no protocol of this one is selected,
        // so no style is known and the codes are left blank.
        return kNoFaultFormat;
    }
    const TProtBase *current = Catalog().currentProtocol();
    return current ? current->FaultFormat : kNoFaultFormat;
}

QString FuelSystemText(int status)
{
    switch (status) {
    case 1: return LangText("Open loop(ins.eng.T)", "Разомкнута(Ош.Тдв)");
    case 2: return LangText("Closed loop(O2 sens)", "Замкнута (ДатчО2)");
    case 4: return LangText("Open loop(Eng.load)", "Разомк.(Нагр.дв.)");
    case 8: return LangText("Open loop(SysFault)", "Разомк.(ОшСист)");
    case 16: return LangText("Closed loop(O2s Flt)", "Замкн.(ОшДатчО2)");
    default: return LangText("Unknown", "Неизвестно");
    }
}

QString SecondaryAirText(int status)
{
    switch (status) {
    case 1: return LangText("Upstream of catal.", "В катализатор");
    case 2: return LangText("Downstream of catal", "Из катализатора");
    case 4: return LangText("Off", "Выключено");
    default: return LangText("Unknown", "Неизвестно");
    }
}

namespace {

enum class Value { Number, FuelSystem, SecondaryAir };

struct FrameRow {
    int n;       // OBD-II parameter whose bit governs the row
    int offset;  // in the frame
    int divisor; // 1, 10 or 100
    Value kind;
    const char *en; // nullptr: the Russian label in both languages
    const char *ru;
};

// In the order the grid shows them.
const FrameRow kFrameRows[] = {
    {3, 4, 1, Value::FuelSystem, nullptr, nullptr},
    {4, 6, 1, Value::Number, "Calc.engine load, %", "Нагрузка на двигатель, %"},
    {5, 8, 1, Value::Number, "Eng.coolant temper., C", "ТОЖ, С"},
    {6, 10, 1, Value::Number, "Short term fuel trim-Bank 1, %", "Краткосрочная корр.подачи топл.Б1, %"},
    {8, 12, 1, Value::Number, "Short term fuel trim-Bank 2, %", "Краткосрочная корр.подачи топл.Б2, %"},
    {7, 14, 1, Value::Number, "Long term fuel trim-Bank 1, %", "Долгосрочная корр.продачи топл.Б1, %"},
    {9, 16, 1, Value::Number, "Long term fuel trim-Bank 2, %", "Долгосрочная корр.продачи топл.Б2, %"},
    {10, 18, 10, Value::Number, "Fuel pressure, kPa", "Давление топлива, кПа"},
    {11, 20, 1, Value::Number, "Intake manifold pressure, kPa", "Давление во впускном коллекторе, кПа"},
    {12, 24, 1, Value::Number, "Engine RPM", "Обороты/мин"},
    {13, 22, 1, Value::Number, "Vehicle speed, km/h", "Скорость, км/час"},
    {14, 26, 10, Value::Number, "Timing advance", "Угол опережения зажигания, ВМТ"},
    {15, 28, 1, Value::Number, "Intake air temperature, C", "Температура впускного воздуха, С"},
    {16, 30, 10, Value::Number, "MAF air flow rate, kg/h", "Массовый расход воздуха, кг/час"},
    {17, 32, 1, Value::Number, "Throttle position, %", "Дроссель, %"},
    {18, 34, 1, Value::SecondaryAir, nullptr, "Состояние вторичного воздуха"},
    {20, 36, 100, Value::Number, "Oxygen sensor voltage 1, V", "Датчик кислорода 1, В"},
    {21, 38, 100, Value::Number, "Oxygen sensor voltage 2, V", "Датчик кислорода 2, В"},
    {31, 40, 1, Value::Number, "Run time since engine start, s", "Время с момента запуска двигателя, с"},
    {33, 42, 1, Value::Number, "Distance traveled with MIL on, km", "Пробег с вкл. лампой неиспр., км"},
    {34, 44, 1, Value::Number, "Fuel Rail Press.(rel.to manifold vacuum), kPa",
     "Давление в топл.рампе отн.вакуума, кПа"},
    {35, 46, 10, Value::Number, "Fuel Pressure (diesel), kPa", "Давление в топл.рампе (выс.диап.), кПа"},
    {44, 48, 1, Value::Number, "Commanded EGR, %", "Желаемый расход системы EGR, %"},
    {45, 50, 1, Value::Number, "EGR Error, %", "Ошибка регул.расхода сис.EGR, %"},
    {46, 52, 1, Value::Number, "Commanded evaporative purge, %", "Жел.уровень продувки паров топлива, %"},
    {48, 54, 1, Value::Number, "# of warm-ups since codes cleared", "Число прогревов двиг.с момента сброса ошибок"},
    {49, 56, 1, Value::Number, "Distance traveled since codes cleared, km", "Пробег с момента сброса ошибок, км"},
    {50, 58, 1, Value::Number, "Evap. System Vapor Pressure, Pa", "Давление паров топ.в системе продувки"},
    {51, 60, 1, Value::Number, "Barometric pressure, kPa", "Атмосферное давление, кПа"},
    {60, 62, 1, Value::Number, "Catalyst Temperature B1 S1, C", "Температура катализатора B1 S1, С"},
    {61, 64, 1, Value::Number, "Catalyst Temperature B2 S1, C", "Температура катализатора B2 S1, С"},
    {62, 66, 1, Value::Number, "Catalyst Temperature B1 S2, C", "Температура катализатора B1 S2, С"},
    {63, 68, 1, Value::Number, "Catalyst Temperature B2 S2, C", "Температура катализатора B2 S2, С"},
    {66, 70, 10, Value::Number, "Control module voltage, V", "Напряжение питания БУ, В"},
    {68, 72, 100, Value::Number, "Command equivalence ratio", "Желаемое значение лямбда"},
    {69, 74, 1, Value::Number, "Relative throttle position, %", "Отн.положение дросс.заслонки, %"},
    {70, 76, 1, Value::Number, "Ambient air temperature, C", "Температура внешнего воздуха, C"},
    {76, 78, 1, Value::Number, "Commanded throttle actuator, %", "Жел. положение привода дросселя, %"},
    {77, 80, 1, Value::Number, "Time run with MIL on, min", "Время с момента вкл.лампы неиспр., мин"},
    {78, 82, 1, Value::Number, "Time since trouble codes cleared, min", "Время с момента сброса ошибок, мин"},
};

int decimalsOf(int divisor) { return divisor == 100 ? 2 : divisor == 10 ? 1 : 0; }

} // namespace

FreezeFrameSlot FreezeFrameSlotOf(int n)
{
    for (const FrameRow &row : kFrameRows)
        if (row.n == n)
            return {row.offset, row.divisor};
    return {};
}

QList<QPair<QString, QString>> FreezeFrameRows(const FreezeFramePids &pids, const FreezeFrame &frame,
                                               const QString &point)
{
    QList<QPair<QString, QString>> rows;
    const uint32_t code = frame.faultCode();
    if (code == 0)
        return rows;
    // The frame shows its code in the P/C/B/U form whatever the protocol's style.
    rows.append({LangText("Trouble code", "Код ошибки"), FormatFaultCode(0, code)});
    const uint8_t *b = frame.bytes.data();
    for (const FrameRow &row : kFrameRows) {
        if (!pids.has(row.n))
            continue;
        switch (row.kind) {
        case Value::FuelSystem: {
            const uint16_t status = GetU16(b, row.offset);
            rows.append({LangText("Fuel system 1 status", "Сост. топливной системы 1"), FuelSystemText(status >> 8)});
            rows.append({LangText("Fuel system 2 status", "Сост. топливной системы 2"), FuelSystemText(status & 0xFF)});
            break;
        }
        case Value::SecondaryAir:
            rows.append({QString::fromUtf8(row.ru), SecondaryAirText(GetI16(b, row.offset))});
            break;
        case Value::Number:
            rows.append({LangText(row.en, row.ru),
                         RatioText(GetI16(b, row.offset), row.divisor, decimalsOf(row.divisor), point)});
            break;
        }
    }
    return rows;
}

QStringList ErrorListRow(const TMK &model, int index, int faultStyle)
{
    const ErrorRecord r = ErrorRecord::read(model.block(mem::ErrorLogBlock), index);
    if (r.empty())
        return {QString::number(index), QString(), QString()};
    return {QString::number(index), ErrorTimeText(r.minutes, r.day, r.month),
            FormatFaultCode(model, faultStyle, r.faultCode)};
}

QStringList ErrorExportHeader()
{
    return {QStringLiteral("#"), LangText("Time", "Время"), LangText("Trouble code", "Код ошибки"),
            LangText("Freeze frame parameter", "Параметр стоп-кадра"), LangText("Value", "Значение")};
}

QList<QStringList> ErrorJournalExport(const TMK &model, int faultStyle, const QString &point)
{
    const uint8_t *errorLog = model.block(mem::ErrorLogBlock);
    const FreezeFramePids pids = FreezeFramePids::read(errorLog);
    QList<QStringList> rows{ErrorExportHeader()};
    for (int i = 0; i < kErrorRecords; ++i) {
        const ErrorRecord record = ErrorRecord::read(errorLog, i);
        if (record.empty())
            continue;
        // The record's columns repeat on every line, so that each line stands
        // on its own when the file is sorted or filtered in a spreadsheet.
        const QStringList head = ErrorListRow(model, i, faultStyle);
        auto frame = FreezeFrameRows(pids, record.frame, point);
        if (frame.isEmpty())
            frame.append({QString(), QString()});
        for (const auto &row : frame)
            rows << head + QStringList{row.first, row.second};
    }
    return rows;
}
