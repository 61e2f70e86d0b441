#include <QtGlobal>

// The demo profile lives in a static library; its resources must be
// registered explicitly.
void vexaSimInitResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(sim);
        return true;
    }();
    Q_UNUSED(done)
}
