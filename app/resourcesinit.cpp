#include "app/resourcesinit.h"

#include <QtGlobal>

static void initResourcesOnce()
{
    Q_INIT_RESOURCE(resources);
}

void vexaInitResources()
{
    static const bool done = (initResourcesOnce(), true);
    Q_UNUSED(done);
}
