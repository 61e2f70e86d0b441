#pragma once

#include "sim/simresponder.h"

// A fresh set of every responder listed in sim/responders.def, in that order.
SimResponderList createSimResponders();
