#include "sim/simregistry.h"

#define SIM_RESPONDER(factory) std::unique_ptr<SimResponder> factory();
#include "sim/responders.def"
#undef SIM_RESPONDER

SimResponderList createSimResponders()
{
    SimResponderList list;
#define SIM_RESPONDER(factory) list.push_back(factory());
#include "sim/responders.def"
#undef SIM_RESPONDER
    return list;
}
