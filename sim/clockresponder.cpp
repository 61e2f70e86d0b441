#include "sim/metersim.h"
#include "sim/simresponder.h"

#include <QDate>
#include <QTime>

namespace {

// Clock write: addr 0F 4D 08 00 03 07 YY MM DD hh mm ss dow crc.
class ClockResponder : public SimResponder
{
public:
    const char *name() const override { return "clock"; }

    bool handle(const SimRequest &request, SimContext &context) override
    {
        if (!request.isClockWrite())
            return false;
        const QByteArray &d = request.data;
        auto field = [&d](int i) {
            return i < d.size() ? int(static_cast<quint8>(d.at(i))) : -1;
        };
        const QDate date(2000 + field(0), field(1), field(2));
        const QTime time(field(3), field(4), field(5));
        const int dow = field(6);
        // A refusing meter answers as to an impossible time and keeps its clock.
        if (request.index != 0x08 || d.size() != 7 || !date.isValid() || !time.isValid() || dow < 1 || dow > 7
            || context.writeBehaviour() == SimWriteBehaviour::Refuse) {
            context.replyAddressAnswer(QByteArrayLiteral("ER"));
            return true;
        }
        SimState &state = context.state();
        state.clockSet = QDateTime(date, time);
        state.clockDayOfWeek = dow;
        ++state.clockSetCount;
        state.sinceClockSet.start();
        context.replyAddressAnswer(QByteArrayLiteral("OK"));
        return true;
    }
};

} // namespace

std::unique_ptr<SimResponder> makeClockResponder()
{
    return std::make_unique<ClockResponder>();
}
