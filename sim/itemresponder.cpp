#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simresponder.h"

namespace {

// Index 255 switches the debug output; that belongs to the debug responder.
constexpr quint8 kDebugSwitchIndex = 255;

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
        if (request.isItemWrite() && request.index != kDebugSwitchIndex) {
            write(request, context);
            return true;
        }
        return false;
    }

private:
    static void read(int index, SimContext &context)
    {
        const QList<SimItem> &items = context.state().items;
        if (index >= items.size()) {
            context.replyAddressAnswer(QByteArray()); // end of the list
            return;
        }
        context.replyAddressAnswer(simEncodeText(items.at(index).text()));
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
        const QString value = simDecodeText(raw);

        if (item.command) {
            context.state().commandsRun.append(item.name);
        } else if (accepts(item, value)) {
            item.value = value;
        }
        context.replyAddressAnswer(simEncodeText(item.text()));
    }

    // A refused write leaves the value as it was; the answer shows that.
    static bool accepts(const SimItem &item, const QString &value)
    {
        if (item.readOnly)
            return false;
        const QStringList choices = item.options();
        if (!choices.isEmpty() && !choices.contains(value))
            return false;
        SimItem changed = item;
        changed.value = value;
        return simEncodeText(changed.text()).size() <= 255;
    }
};

} // namespace

std::unique_ptr<SimResponder> makeItemResponder()
{
    return std::make_unique<ItemResponder>();
}
