#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simresponder.h"

namespace {

// The configuration items: read by index, written by index.
class ItemResponder : public SimResponder
{
public:
    const char *name() const override { return "items"; }

    bool handle(const SimRequest &request, SimContext &context) override
    {
        if (request.isItemRead()) {
            read(request.index, context);
            return true;
        }
        // Index 255 switches the debug output; that belongs to the debug responder.
        if (request.isItemWrite() && request.index != SimCommand::DebugSwitchIndex) {
            write(request, context);
            return true;
        }
        return false;
    }

private:
    static bool wrapsLongAnswers(const SimContext &context)
    {
        return context.chaos() && context.chaos()->wrapLongAnswers;
    }

    // The chaos meter keeps texts longer than its one-byte length can say and
    // answers them with that length wrapped: such an item never reads right again.
    static void answerItem(SimContext &context, const QString &text)
    {
        const QByteArray bytes = simEncodeText(text);
        if (bytes.size() <= 255 || !wrapsLongAnswers(context)) {
            context.replyAddressAnswer(bytes);
            return;
        }
        QByteArray frame;
        frame.append(static_cast<char>(context.address())).append(char(0x03));
        frame.append(static_cast<char>(bytes.size() & 0xFF)).append(bytes);
        simAppendCrcLowFirst(frame);
        context.reply(frame);
    }

    static void read(int index, SimContext &context)
    {
        const QList<SimItem> &items = context.state().items;
        if (index >= items.size()) {
            context.replyAddressAnswer(QByteArray()); // end of the list
            return;
        }
        answerItem(context, items.at(index).text());
    }

    static void write(const SimRequest &request, SimContext &context)
    {
        QList<SimItem> &items = context.state().items;
        if (request.index >= items.size()) {
            context.replyAddressAnswer(QByteArray());
            return;
        }
        SimItem &item = items[request.index];
        // The text runs to its terminating zero byte.
        QByteArray raw = request.data;
        const int zero = raw.indexOf('\0');
        if (zero >= 0)
            raw.truncate(zero);
        const bool strict = context.chaos() && context.chaos()->strictText;
        const QString value = strict ? simDecodeStrictText(raw) : simDecodeText(raw);

        if (item.command) {
            context.state().commandsRun.append(item.name);
            answerItem(context, item.text());
            return;
        }
        const bool takes = accepts(item, value, wrapsLongAnswers(context));
        switch (context.writeBehaviour()) {
        case SimWriteBehaviour::Honest:
            if (takes)
                item.value = value;
            answerItem(context, item.text());
            break;
        case SimWriteBehaviour::Refuse:
            answerItem(context, item.text());
            break;
        case SimWriteBehaviour::KeepOther:
            if (takes)
                item.value = otherValue(item, value);
            answerItem(context, item.text());
            break;
        case SimWriteBehaviour::AnswerThenApply:
            answerItem(context, item.text());
            if (takes)
                item.value = value;
            break;
        case SimWriteBehaviour::AnswerWithoutApplying: {
            SimItem claimed = item;
            claimed.value = value;
            answerItem(context, claimed.text());
            break;
        }
        }
    }

    // A refused write leaves the value as it was; the answer shows that.
    static bool accepts(const SimItem &item, const QString &value, bool wrapLong)
    {
        if (item.readOnly)
            return false;
        const QStringList choices = item.options();
        if (!choices.isEmpty() && !choices.contains(value))
            return false;
        SimItem changed = item;
        changed.value = value;
        return wrapLong || simEncodeText(changed.text()).size() <= 255;
    }

    // What a meter that rounds or clips keeps instead of the value asked for.
    static QString otherValue(const SimItem &item, const QString &value)
    {
        const QStringList choices = item.options();
        for (const QString &choice : choices) {
            if (choice != value && choice != item.value)
                return choice;
        }
        if (!choices.isEmpty())
            return item.value;
        return value.size() > 1 ? value.chopped(1) : value + QLatin1Char('0');
    }
};

} // namespace

std::unique_ptr<SimResponder> makeItemResponder()
{
    return std::make_unique<ItemResponder>();
}
