#include "sim/simframer.h"

#include "sim/simframe.h"

namespace {

constexpr int kMaxTildeFrame = 4096;

quint8 at(const QByteArray &buffer, int pos)
{
    return static_cast<quint8>(buffer.at(pos));
}

quint16 crcStep(quint16 crc, quint8 byte)
{
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit)
        crc = (crc & 1) ? static_cast<quint16>((crc >> 1) ^ 0xA001) : static_cast<quint16>(crc >> 1);
    return crc;
}

} // namespace

SimFramer::Status SimFramer::addressFrameAt(const QByteArray &buffer, int pos, int &length)
{
    const int available = buffer.size() - pos;
    if (available < 2)
        return Incomplete;
    const quint8 function = at(buffer, pos + 1);
    if (function == 0x03) {
        length = 8;
    } else if (function == 0x0F) {
        if (available < 7)
            return Incomplete;
        length = 9 + at(buffer, pos + 6);
    } else {
        return Invalid;
    }
    if (available < length)
        return Incomplete;
    const quint16 crc = simCrc16(buffer.mid(pos, length - 2));
    const quint16 sent = static_cast<quint16>(at(buffer, pos + length - 2) | (at(buffer, pos + length - 1) << 8));
    return crc == sent ? Complete : Invalid;
}

SimFramer::Status SimFramer::tildeFrameAt(const QByteArray &buffer, int pos, int &length)
{
    if (at(buffer, pos) != 0x7E)
        return Invalid;
    // One running CRC over 7E..payload while looking for a 7F that closes a valid frame.
    quint16 crc = 0xFFFF;
    int covered = pos;
    for (int end = pos + 4; end < buffer.size(); ++end) {
        while (covered < end - 2)
            crc = crcStep(crc, at(buffer, covered++));
        if (at(buffer, end) == 0x7F && crc == ((at(buffer, end - 2) << 8) | at(buffer, end - 1))) {
            length = end - pos + 1;
            return Complete;
        }
    }
    return buffer.size() - pos >= kMaxTildeFrame ? Invalid : Incomplete;
}

QList<SimRequest> SimFramer::feed(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    QList<SimRequest> requests;
    for (;;) {
        int found = -1;
        int foundLength = 0;
        bool anyIncomplete = false;
        for (int pos = 0; pos < m_buffer.size() && found < 0; ++pos) {
            int length = 0;
            const Status address = addressFrameAt(m_buffer, pos, length);
            if (address == Complete) {
                found = pos;
                foundLength = length;
                break;
            }
            const Status tilde = tildeFrameAt(m_buffer, pos, length);
            if (tilde == Complete) {
                found = pos;
                foundLength = length;
                break;
            }
            if (!anyIncomplete && address == Invalid && tilde == Invalid) {
                // Nothing can start here or before: drop it right away.
                drop(pos + 1);
                pos = -1;
                continue;
            }
            anyIncomplete = true;
        }
        if (found < 0)
            break;
        drop(found);
        found = 0;
        SimRequest request;
        parse(m_buffer.mid(found, foundLength), request);
        requests.append(request);
        m_buffer.remove(0, found + foundLength);
    }
    if (m_buffer.size() > kMaxPending) {
        drop(m_buffer.size() - kMaxPending);
    }
    return requests;
}

QByteArray SimFramer::flush()
{
    const QByteArray rest = m_buffer;
    drop(m_buffer.size());
    return rest;
}

void SimFramer::drop(int count)
{
    if (count <= 0)
        return;
    m_garbage.append(m_buffer.left(count));
    m_buffer.remove(0, count);
    m_dropped += count;
}

QByteArray SimFramer::takeGarbage()
{
    const QByteArray garbage = m_garbage;
    m_garbage.clear();
    return garbage;
}

bool SimFramer::parse(const QByteArray &bytes, SimRequest &request)
{
    int length = 0;
    if (!bytes.isEmpty() && addressFrameAt(bytes, 0, length) == Complete && length == bytes.size()) {
        request.family = SimRequest::AddressFrame;
        request.bytes = bytes;
        request.address = at(bytes, 0);
        request.function = at(bytes, 1);
        request.table = at(bytes, 2);
        request.index = at(bytes, 3);
        request.count = static_cast<quint16>((at(bytes, 4) << 8) | at(bytes, 5));
        request.data = request.function == 0x0F ? bytes.mid(7, at(bytes, 6)) : QByteArray();
        return true;
    }
    if (!bytes.isEmpty() && tildeFrameAt(bytes, 0, length) == Complete && length == bytes.size()) {
        request.family = SimRequest::TildeFrame;
        request.bytes = bytes;
        request.address = request.function = request.table = request.index = 0;
        request.count = 0;
        request.data.clear();
        return true;
    }
    return false;
}
