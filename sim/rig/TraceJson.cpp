// Formatting of trace lines.
#include "sim/rig/TraceJson.h"

#include <nlohmann/json.hpp>

#include "sim/rig/HexText.h"

namespace kv::sim {

namespace {

using Ordered = nlohmann::ordered_json;

Ordered FieldValue(const RecordField& field) {
    if (const auto* number = std::get_if<std::int64_t>(&field.value)) return *number;
    if (const auto* text = std::get_if<std::string>(&field.value)) return *text;
    return FormatBytes(std::get<Bytes>(field.value));
}

Ordered I2cEventJson(const I2cEvent& event) {
    Ordered out{{"slave", HexKey(event.slave, 2)}, {"op", event.read ? "read" : "write"}};
    if (!event.read) out["address"] = FormatBytes(event.address);
    out["data"] = FormatBytes(event.data);
    out["ack"] = event.ack;
    return out;
}

}  // namespace

std::string TraceLine(const TraceContext& context, const RequestRecord& record) {
    Ordered line{{"seq", context.sequence},
                 {"process", context.process},
                 {"camera", context.camera},
                 {"path", record.path},
                 {"op", record.op}};
    for (const RecordField& field : record.fields) line[field.name] = FieldValue(field);
    line["hr"] = HexKey(static_cast<std::uint32_t>(record.hr), 8);
    if (record.hangMs != 0) line["hangMs"] = record.hangMs;
    if (!record.i2c.empty()) {
        Ordered events = Ordered::array();
        for (const I2cEvent& event : record.i2c) events.push_back(I2cEventJson(event));
        line["i2c"] = events;
    }
    return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace kv::sim
