#pragma once

#include "link/frame.h"

#include <QByteArray>

#include <atomic>

class DeviceChannel;

// Item write of "1"/"0" to item 255: the instrument's debug output on/off.
QByteArray buildDebugSwitchFrame(quint8 deviceAddress, bool on);

// Finds the instrument's answer within bytes collected around it: debug lines
// still in flight may come before it and the first new line right after it.
// Returns the start of the answer (or -1) and its length in *frameLength.
int locateResponse(const QByteArray &buffer, quint8 deviceAddress, int *frameLength);

struct SwitchExchange
{
    LinkResult result = LinkOk;
    QByteArray response; // the answer, or everything collected when none was found
    QByteArray trailing; // bytes received after the answer
};

// The switch exchange: DeviceChannel::transactAmidTraffic with the answer
// located by locateResponse, so debug lines around the answer do no harm.
SwitchExchange exchangeSwitch(
    DeviceChannel &channel, const QByteArray &request, int timeoutMs, const std::atomic<bool> *stop);
