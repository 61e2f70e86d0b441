#pragma once

#include "sim/simprofile.h"

// A meter with three months of hourly records, a header line and a few
// hand-written records, answering in small pieces.
inline SimProfile historyTestProfile()
{
    return SimProfile::fromJson(R"json({
        "address": 1,
        "items": ["设备地址:1"],
        "history": {
            "header": "日期时间,瞬时流量(m3/h),累积流量(m3),温度(℃)",
            "generate": { "from": "2024-01-01", "to": "2024-03-31", "everyMinutes": 60 },
            "records": ["2024-03-01 12:30:00,0.00,停电", "2024-03-05 08:00:00,校准完成"],
            "pieceBytes": 100,
            "pieceDelayMs": 5
        }
    })json");
}
