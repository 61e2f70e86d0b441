// A meter whose item list never ends: profiles with "endlessItems": true
// answer every item read with "项<index>:<index>" and never send the
// end-of-list answer, whatever the index byte.
#include "sim/metersim.h"
#include "sim/simframe.h"
#include "sim/simresponder.h"

#include <QJsonObject>

namespace {

class EndlessItemResponder : public SimResponder
{
public:
    const char *name() const override { return "endless-items"; }

    bool handle(const SimRequest &request, SimContext &context) override
    {
        if (!request.isItemRead() || !context.profile().raw.value(QStringLiteral("endlessItems")).toBool())
            return false;
        context.replyAddressAnswer(simEncodeText(QStringLiteral("项%1:%1").arg(request.index)));
        return true;
    }
};

} // namespace

std::unique_ptr<SimResponder> makeEndlessItemResponder()
{
    return std::make_unique<EndlessItemResponder>();
}
