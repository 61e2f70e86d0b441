#include "sim/simrequest.h"

quint16 SimRequest::tildeCommand() const
{
    if (family != TildeFrame || bytes.size() < 5)
        return 0;
    return static_cast<quint16>((static_cast<quint8>(bytes.at(3)) << 8) | static_cast<quint8>(bytes.at(4)));
}

QByteArray SimRequest::tildeBody() const
{
    if (family != TildeFrame || bytes.size() <= 13)
        return {};
    return bytes.mid(10, bytes.size() - 13);
}

QByteArray SimRequest::tildePayload() const
{
    if (family != TildeFrame || bytes.size() < 4)
        return {};
    return bytes.mid(1, bytes.size() - 4);
}
