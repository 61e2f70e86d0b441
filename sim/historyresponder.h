#pragma once

#include "sim/simresponder.h"

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>

#include <memory>

// The meter's history log. It answers the 19-byte history request
// (7E 05 02 4E 9F 00 07 91 00 04 YY MM DD YY MM DD crcHi crcLo 7F; the length
// words must be 0x0007/0x0004 exactly) with the log lines whose date lies in
// [start, end], as GB2312 text cut into pieces sent at a steady pace. A
// request with other constants or an impossible date gets no answer.
//
// Profile section "history" (every key optional):
//   header        first line of every answer, e.g. "日期时间,瞬时流量(m3/h),..."
//   records       explicit lines, each beginning "YYYY-MM-DD"; they win over
//                 generated lines with the same date and time
//   generate      a log made up in code: {"from": "YYYY-MM-DD", "to": "YYYY-MM-DD"}
//                 or {"days": N} (the N days up to the meter's present moment), plus
//                 "everyMinutes" (default 60), "flowBase" (120), "flowSwing" (15),
//                 "totalStart" (10000), "temperatureBase" (22)
//                 -> "YYYY-MM-DD hh:mm:ss,flow,total,temperature"
//   lineEnd       default "\r\n"
//   pieceBytes    bytes per piece (default 256)
//   pieceDelayMs  pause between pieces (default 10)
// SimState::extra "history/pieceBytes" and "history/pieceDelayMs" override the
// profile at run time. The meter records "history/requests" (count of valid
// requests), "history/start" and "history/end" (QDate of the last one) and
// "history/refused" (count of malformed ones).
std::unique_ptr<SimResponder> makeHistoryResponder();

// The lines (without line end) the meter answers for [start, end]; `now`
// ends a "days" generator.
QStringList simHistoryLines(const QJsonObject &section, const QDate &start, const QDate &end, const QDateTime &now);
