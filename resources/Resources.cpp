#include "resources/Resources.h"

#include <QtGlobal>

// Outside any namespace, as the resource initialiser requires.
static void InitVelmoraResources() {
    Q_INIT_RESOURCE(velmora);
}

namespace velmora {

void LoadResources() {
    static const bool loaded = (InitVelmoraResources(), true);
    (void)loaded;
}

} // namespace velmora
