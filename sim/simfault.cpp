#include "sim/simfault.h"

#include "sim/simframe.h"

namespace {

struct KindName
{
    SimFault::Kind kind;
    const char *name;
};

const KindName kKindNames[] = {
    { SimFault::Silent, "silent" },
    { SimFault::BadCrc, "bad-crc" },
    { SimFault::OtherAddress, "other-address" },
    { SimFault::OtherPort, "other-port" },
    { SimFault::WrongLength, "wrong-length" },
    { SimFault::Split, "split" },
    { SimFault::Delay, "delay" },
    { SimFault::Truncate, "truncate" },
    { SimFault::Disappear, "disappear" },
    { SimFault::Garbage, "garbage" },
    { SimFault::Duplicate, "duplicate" },
    { SimFault::Lost, "lost" },
};

struct MatchName
{
    SimFault::Match match;
    const char *name;
};

const MatchName kMatchNames[] = {
    { SimFault::AnyRequest, "any" },
    { SimFault::ItemRead, "read" },
    { SimFault::ItemWrite, "write" },
    { SimFault::ClockWrite, "clock" },
    { SimFault::AnyAddressFrame, "address" },
    { SimFault::AnyTildeFrame, "tilde" },
};

bool isAddressAnswer(const QByteArray &bytes)
{
    return bytes.size() >= 5 && bytes.at(1) == 0x03 && static_cast<quint8>(bytes.at(2)) + 5 == bytes.size();
}

bool isTildeFrame(const QByteArray &bytes)
{
    return bytes.size() >= 5 && static_cast<quint8>(bytes.at(0)) == 0x7E
        && static_cast<quint8>(bytes.at(bytes.size() - 1)) == 0x7F;
}

// Rewrites the CRC of an address answer after a deliberate change, so only
// the changed field is wrong.
QByteArray withFreshCrc(QByteArray bytes)
{
    bytes.chop(2);
    simAppendCrcLowFirst(bytes);
    return bytes;
}

} // namespace

bool SimFault::matches(const SimRequest &request) const
{
    switch (match) {
    case AnyRequest:
        break;
    case ItemRead:
        if (!request.isItemRead())
            return false;
        break;
    case ItemWrite:
        if (!request.isItemWrite())
            return false;
        break;
    case ClockWrite:
        if (!request.isClockWrite())
            return false;
        break;
    case AnyAddressFrame:
        if (request.family != SimRequest::AddressFrame)
            return false;
        break;
    case AnyTildeFrame:
        if (request.family != SimRequest::TildeFrame)
            return false;
        break;
    }
    if (index >= 0 && (request.family != SimRequest::AddressFrame || request.index != index))
        return false;
    if (command >= 0 && (request.family != SimRequest::TildeFrame || request.tildeCommand() != command))
        return false;
    return true;
}

QStringList SimFault::kindNames()
{
    QStringList names;
    for (const KindName &entry : kKindNames)
        names << QLatin1String(entry.name);
    return names;
}

SimFault SimFault::parse(const QString &text, QString *error)
{
    auto fail = [error, &text](const QString &why) {
        if (error)
            *error = QStringLiteral("fault '%1': %2").arg(text, why);
        return SimFault();
    };
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return fail(QStringLiteral("empty"));
    SimFault fault;
    bool known = false;
    for (const KindName &entry : kKindNames) {
        if (parts.first().trimmed() == QLatin1String(entry.name)) {
            fault.kind = entry.kind;
            known = true;
        }
    }
    if (!known)
        return fail(QStringLiteral("unknown kind; one of %1").arg(kindNames().join(QStringLiteral(", "))));

    for (int i = 1; i < parts.size(); ++i) {
        const int equals = parts.at(i).indexOf(QLatin1Char('='));
        if (equals < 0)
            return fail(QStringLiteral("expected key=value, got '%1'").arg(parts.at(i)));
        const QString key = parts.at(i).left(equals).trimmed();
        const QString value = parts.at(i).mid(equals + 1).trimmed();
        bool ok = true;
        if (key == QLatin1String("match")) {
            ok = false;
            for (const MatchName &entry : kMatchNames) {
                if (value == QLatin1String(entry.name)) {
                    fault.match = entry.match;
                    ok = true;
                }
            }
        } else if (key == QLatin1String("command")) {
            fault.command = value.toInt(&ok, 16);
        } else if (key == QLatin1String("times") && value == QLatin1String("all")) {
            fault.times = -1;
        } else {
            const int number = value.toInt(&ok, 0);
            if (key == QLatin1String("index"))
                fault.index = number;
            else if (key == QLatin1String("after"))
                fault.after = number;
            else if (key == QLatin1String("times"))
                fault.times = number;
            else if (key == QLatin1String("parts"))
                fault.parts = number;
            else if (key == QLatin1String("delay"))
                fault.delayMs = number;
            else if (key == QLatin1String("value"))
                fault.value = number;
            else
                return fail(QStringLiteral("unknown key '%1'").arg(key));
            ok = ok && number >= 0;
        }
        if (!ok)
            return fail(QStringLiteral("bad value for '%1'").arg(key));
    }
    if (error)
        error->clear();
    return fault;
}

QString SimFault::toString() const
{
    QString text;
    for (const KindName &entry : kKindNames)
        if (entry.kind == kind)
            text = QLatin1String(entry.name);
    for (const MatchName &entry : kMatchNames)
        if (entry.match == match && match != AnyRequest)
            text += QStringLiteral(",match=") + QLatin1String(entry.name);
    if (index >= 0)
        text += QStringLiteral(",index=%1").arg(index);
    if (command >= 0)
        text += QStringLiteral(",command=%1").arg(command, 4, 16, QLatin1Char('0'));
    text += QStringLiteral(",after=%1,times=%2")
                .arg(after)
                .arg(times < 0 ? QStringLiteral("all") : QString::number(times));
    return text;
}

QList<SimOutput> simApplyFault(const SimFault &fault, const QList<SimOutput> &outputs, quint8 meterAddress)
{
    QList<SimOutput> result;
    switch (fault.kind) {
    case SimFault::Silent:
    case SimFault::Lost:
        return result;
    case SimFault::Disappear:
        // The outputs sent before the meter vanishes; the caller then closes it.
        return outputs.mid(0, qMax(0, fault.value));
    case SimFault::BadCrc:
        for (SimOutput out : outputs) {
            const int at = isTildeFrame(out.bytes) ? out.bytes.size() - 2 : out.bytes.size() - 1;
            if (at >= 0)
                out.bytes[at] = static_cast<char>(out.bytes.at(at) ^ 0x5A);
            result.append(out);
        }
        return result;
    case SimFault::OtherAddress: {
        const quint8 other
            = fault.value >= 0 ? static_cast<quint8>(fault.value) : static_cast<quint8>(meterAddress ^ 1);
        for (SimOutput out : outputs) {
            if (isAddressAnswer(out.bytes)) {
                out.bytes[0] = static_cast<char>(other);
                out.bytes = withFreshCrc(out.bytes);
            }
            result.append(out);
        }
        return result;
    }
    case SimFault::OtherPort:
        for (SimOutput out : outputs) {
            out.fromOtherPort = true;
            result.append(out);
        }
        return result;
    case SimFault::WrongLength:
        for (SimOutput out : outputs) {
            if (isAddressAnswer(out.bytes)) {
                out.bytes[2] = static_cast<char>(out.bytes.at(2) + 1);
                out.bytes = withFreshCrc(out.bytes);
            }
            result.append(out);
        }
        return result;
    case SimFault::Split: {
        const int parts = qMax(1, fault.parts);
        int shift = 0;
        for (const SimOutput &out : outputs) {
            const int pieceSize = qMax(1, (out.bytes.size() + parts - 1) / parts);
            int piece = 0;
            for (int pos = 0; pos < out.bytes.size(); pos += pieceSize, ++piece) {
                SimOutput part = out;
                part.bytes = out.bytes.mid(pos, pieceSize);
                part.delayMs = out.delayMs + shift + piece * fault.delayMs;
                result.append(part);
            }
            shift += qMax(0, piece - 1) * fault.delayMs;
        }
        return result;
    }
    case SimFault::Delay:
        for (SimOutput out : outputs) {
            out.delayMs += fault.delayMs;
            result.append(out);
        }
        return result;
    case SimFault::Truncate:
        for (SimOutput out : outputs) {
            out.bytes = out.bytes.left(qMax(0, fault.value));
            if (!out.bytes.isEmpty())
                result.append(out);
        }
        return result;
    case SimFault::Duplicate:
        for (const SimOutput &out : outputs) {
            SimOutput copy = out;
            copy.delayMs += fault.delayMs;
            result << out << copy;
        }
        return result;
    case SimFault::Garbage: {
        result = outputs;
        if (!result.isEmpty()) {
            QByteArray junk;
            for (int i = 0; i < qMax(1, fault.value); ++i)
                junk.append(static_cast<char>(0xA5 ^ i));
            result.first().bytes.prepend(junk);
        }
        return result;
    }
    }
    return outputs;
}
