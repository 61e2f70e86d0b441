#include "monitor/debugswitch.h"

#include "link/devicechannel.h"
#include "link/frame.h"

QByteArray buildDebugSwitchFrame(quint8 deviceAddress, bool on)
{
    return buildItemWriteFrame(deviceAddress, 255, on ? QStringLiteral("1") : QStringLiteral("0"));
}

int locateResponse(const QByteArray &buffer, quint8 deviceAddress, int *frameLength)
{
    if (isCompleteResponse(buffer, deviceAddress, false)) {
        *frameLength = buffer.size();
        return 0;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(buffer.constData());
    const int size = buffer.size();
    for (int start = 0; start + 5 <= size; ++start) {
        // Inside other traffic only a well-formed answer counts: address, 03, length, CRC.
        if (bytes[start] != deviceAddress || bytes[start + 1] != 0x03)
            continue;
        const int length = bytes[start + 2] + 5;
        if (start + length <= size && checkFrameCrc(bytes + start, length, false)) {
            *frameLength = length;
            return start;
        }
    }
    *frameLength = 0;
    return -1;
}

SwitchExchange exchangeSwitch(
    DeviceChannel &channel, const QByteArray &request, int timeoutMs, const std::atomic<bool> *stop)
{
    const quint8 address = channel.deviceAddress();
    const DeviceChannel::TrafficExchange traffic = channel.transactAmidTraffic(
        request, timeoutMs,
        [address](const QByteArray &buffer, int *length) { return locateResponse(buffer, address, length); }, stop);
    SwitchExchange exchange;
    exchange.result = traffic.result;
    exchange.response = traffic.response;
    exchange.trailing = traffic.trailing;
    return exchange;
}
