#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMetaType>

// The tilde commands (bytes 3..4) the meter knows, and the item index that
// switches its debug output.
namespace SimCommand {
constexpr quint16 Identify = 0x293F;
constexpr quint16 Erase = 0x2FAC;
constexpr quint16 Page = 0x2C01;
constexpr quint16 Finish = 0x2A79;
constexpr quint16 History = 0x4E9F;
constexpr quint8 DebugSwitchIndex = 255;
} // namespace SimCommand

// One request as the meter received it, already cut out of the byte stream
// and checked (valid CRC). `bytes` is the exact frame.
struct SimRequest
{
    enum Family { AddressFrame, TildeFrame };
    enum Transport { Udp, Pty, Serial };

    Family family = AddressFrame;
    QByteArray bytes;

    // Address frames: addr func table index count(hi lo) [L data...] crcLo crcHi
    quint8 address = 0;
    quint8 function = 0; // 0x03 read, 0x0F write
    quint8 table = 0; // 'K' items, 'M' clock
    quint8 index = 0;
    quint16 count = 0;
    QByteArray data; // writes: the L data bytes (an item text ends with its 00)

    // Where it came from; replies go back there.
    Transport transport = Udp;
    QHostAddress peerAddress;
    quint16 peerPort = 0;
    int sequence = 0; // 0, 1, 2 ... per meter, in arrival order

    bool isRead() const { return family == AddressFrame && function == 0x03; }
    bool isWrite() const { return family == AddressFrame && function == 0x0F; }
    bool isItemRead() const { return isRead() && table == 0x4B; }
    bool isItemWrite() const { return isWrite() && table == 0x4B; }
    bool isClockWrite() const { return isWrite() && table == 0x4D; }

    // Tilde frames: 7E 05 02 cmdHi cmdLo ... crcHi crcLo 7F
    quint16 tildeCommand() const;
    // Bytes between the 10-byte header (7E 05 02 cmd cmd lenHi lenLo 91 lenHi lenLo)
    // and the CRC; empty for the short frames without a body.
    QByteArray tildeBody() const;
    // Everything between the 0x7E and the CRC.
    QByteArray tildePayload() const;
};

Q_DECLARE_METATYPE(SimRequest)
