#pragma once

#include "sim/simresponder.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <memory>

struct SimState;

// The meter's side of the firmware update: identification, erase, pages and
// finish. What it received is kept in SimState::extra under "firmware/..."
// and read back with SimFirmwareRecord::fromState.
//
// Profile section "firmware" (each key may also be set at run time in
// SimState::extra as "firmware/<key>", which wins over the profile):
//   model            the model named in the identification reply (default:
//                    the profile's model)
//   identifyText     identification reply text, %1 = that model
//                    (default "Find %1 OK")
//   wrongPageReplyAt the n-th page after the erase (0-based) is answered
//                    with a well-formed reply naming the next page number
//   eraseOkReply     "frame": erase and pages are answered with a reply frame
//                    that only carries "Erase OK\r\n"; "raw": with those ten
//                    bytes alone, no frame around them
std::unique_ptr<SimResponder> makeFirmwareResponder();

struct SimFirmwareRecord
{
    int identifyCount = 0;
    int eraseCount = 0;
    qint64 eraseSize = -1; // of the last erase; -1 before any
    QList<int> pageNumbers; // as sent, since the last erase
    bool pageOrderOk = true; // every page number was (count since erase) mod 256
    QByteArray image; // the pages since the last erase, cut to the erase size
    QByteArray lastPageTail; // the bytes of the last page past the image end
    int finishCount = 0;
    // The flash since the last erase, page by page (slot 0, 1, 2 ...): what
    // the meter holds, whatever order the pages came in.
    QMap<int, QByteArray> pages;

    // Erased for exactly this image, and every page holds its part of it.
    bool holdsImage(const QByteArray &image) const;
    // The pages that do not hold their part of the image.
    QList<int> missingPages(const QByteArray &image) const;

    static SimFirmwareRecord fromState(const SimState &state);
};
