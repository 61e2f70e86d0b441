#include "sim/firmwareresponder.h"

#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simstate.h"

#include <QJsonObject>
#include <QVariantList>

namespace {

const int kPageSize = 1024;

const char kEraseOk[] = "Erase OK\r\n";

QString key(const char *name)
{
    return QStringLiteral("firmware/") + QLatin1String(name);
}

int count(const SimState &state, const char *name)
{
    return state.extra.value(key(name)).toInt();
}

void increment(SimState &state, const char *name)
{
    state.extra.insert(key(name), count(state, name) + 1);
}

class FirmwareResponder : public SimResponder
{
public:
    const char *name() const override { return "firmware"; }

    bool handle(const SimRequest &request, SimContext &context) override
    {
        if (request.family != SimRequest::TildeFrame)
            return false;
        switch (request.tildeCommand()) {
        case SimCommand::Identify:
            identify(context);
            return true;
        case SimCommand::Erase:
            erase(request, context);
            return true;
        case SimCommand::Page:
            page(request, context);
            return true;
        case SimCommand::Finish:
            increment(context.state(), "finishCount");
            context.reply(simTildeReply(QByteArrayLiteral("Finish OK\r\n")));
            return true;
        default:
            return false;
        }
    }

private:
    // The flash as pages: the page number names its slot modulo 256, the
    // slot nearest after the last one written.
    static void storePage(SimState &state, int number, const QByteArray &data)
    {
        if (number < 0)
            return;
        const int expected = state.extra.value(key("lastSlot"), -1).toInt() + 1;
        const int slot = number + 256 * qMax(0, qRound((expected - number) / 256.0));
        QVariantMap pages = state.extra.take(key("pages")).toMap();
        pages.insert(QString::number(slot), data);
        state.extra.insert(key("pages"), pages);
        state.extra.insert(key("lastSlot"), slot);
    }

    QVariant option(SimContext &context, const char *name) const
    {
        const QVariant runtime = context.state().extra.value(key(name));
        if (runtime.isValid())
            return runtime;
        return context.profile().section(QStringLiteral("firmware")).value(QLatin1String(name)).toVariant();
    }

    void identify(SimContext &context)
    {
        increment(context.state(), "identifyCount");
        QString text = option(context, "identifyText").toString();
        if (text.isEmpty())
            text = QStringLiteral("Find %1 OK");
        QString model = option(context, "model").toString();
        if (model.isEmpty())
            model = context.profile().model;
        context.reply(simTildeReply(simEncodeText(text.arg(model))));
    }

    // Answers erase and pages; the fault modes replace the expected reply.
    void replyOk(SimContext &context, const QByteArray &expected)
    {
        const QString mode = option(context, "eraseOkReply").toString();
        if (mode == QLatin1String("frame"))
            context.reply(simTildeReply(QByteArray(kEraseOk)));
        else if (mode == QLatin1String("raw"))
            context.reply(QByteArray(kEraseOk));
        else
            context.reply(expected);
    }

    void erase(const SimRequest &request, SimContext &context)
    {
        SimState &state = context.state();
        const QByteArray body = request.tildeBody();
        qint64 size = 0;
        for (int i = 0; i < 4 && i < body.size(); ++i)
            size |= qint64(quint8(body.at(i))) << (8 * i);
        increment(state, "eraseCount");
        state.extra.insert(key("eraseSize"), size);
        state.extra.insert(key("image"), QByteArray());
        state.extra.insert(key("lastPageTail"), QByteArray());
        state.extra.insert(key("pageNumbers"), QVariantList());
        state.extra.insert(key("pageOrderOk"), true);
        state.extra.insert(key("pages"), QVariantMap());
        state.extra.insert(key("lastSlot"), -1);

        QByteArray payload(kEraseOk);
        payload.append(QByteArray("\x00\x00\x00\xC1\x81\x40", 6));
        replyOk(context, simTildeReply(payload));
    }

    void page(const SimRequest &request, SimContext &context)
    {
        SimState &state = context.state();
        const QByteArray body = request.tildeBody();
        const int number = body.isEmpty() ? -1 : quint8(body.at(0));
        const QByteArray data = body.mid(1);

        QVariantList numbers = state.extra.value(key("pageNumbers")).toList();
        const int sequence = numbers.size();
        numbers.append(number);
        state.extra.insert(key("pageNumbers"), numbers);
        if (number != sequence % 256)
            state.extra.insert(key("pageOrderOk"), false);

        // Reassemble by arrival order; the erase size says where the image ends.
        const qint64 size = state.extra.value(key("eraseSize"), -1).toLongLong();
        const qint64 offset = qint64(sequence) * kPageSize;
        // Taken out of the map so appending does not copy the image each page.
        QByteArray image = state.extra.take(key("image")).toByteArray();
        if (offset < size) {
            const int take = int(qMin<qint64>(data.size(), size - offset));
            image.append(data.left(take));
            if (take < data.size())
                state.extra.insert(key("lastPageTail"), data.mid(take));
        }
        state.extra.insert(key("image"), image);
        storePage(state, number, data);

        const QVariant wrongAt = option(context, "wrongPageReplyAt");
        const int replyNumber = wrongAt.isValid() && wrongAt.toInt() == sequence ? (number + 1) % 256 : number;
        replyOk(context, simTildeReply(simEncodeText(QStringLiteral("Page[%1] OK\r\n").arg(replyNumber))));
    }
};

} // namespace

std::unique_ptr<SimResponder> makeFirmwareResponder()
{
    return std::make_unique<FirmwareResponder>();
}

SimFirmwareRecord SimFirmwareRecord::fromState(const SimState &state)
{
    SimFirmwareRecord record;
    record.identifyCount = count(state, "identifyCount");
    record.eraseCount = count(state, "eraseCount");
    record.eraseSize = state.extra.value(key("eraseSize"), -1).toLongLong();
    for (const QVariant &number : state.extra.value(key("pageNumbers")).toList())
        record.pageNumbers.append(number.toInt());
    record.pageOrderOk = state.extra.value(key("pageOrderOk"), true).toBool();
    record.image = state.extra.value(key("image")).toByteArray();
    record.lastPageTail = state.extra.value(key("lastPageTail")).toByteArray();
    record.finishCount = count(state, "finishCount");
    const QVariantMap pages = state.extra.value(key("pages")).toMap();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it)
        record.pages.insert(it.key().toInt(), it.value().toByteArray());
    return record;
}

bool SimFirmwareRecord::holdsImage(const QByteArray &wanted) const
{
    if (eraseSize != wanted.size())
        return false;
    for (int page = 0; qint64(page) * kPageSize < wanted.size(); ++page) {
        const QByteArray part = wanted.mid(page * kPageSize, kPageSize);
        if (!pages.contains(page) || !pages.value(page).startsWith(part))
            return false;
    }
    return true;
}

QList<int> SimFirmwareRecord::missingPages(const QByteArray &wanted) const
{
    QList<int> missing;
    for (int page = 0; qint64(page) * kPageSize < wanted.size(); ++page) {
        if (!pages.value(page).startsWith(wanted.mid(page * kPageSize, kPageSize)))
            missing << page;
    }
    return missing;
}
