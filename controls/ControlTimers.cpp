#include "controls/ControlTimers.h"

#include <QObject>

namespace velmora {

namespace {

class QtControlTimers final : public ControlTimers {
public:
    int Start(QObject& owner, int intervalMs) override { return owner.startTimer(intervalMs); }
    void Stop(QObject& owner, int id) override { owner.killTimer(id); }
};

QtControlTimers qtTimers;
ControlTimers* installed = nullptr;

} // namespace

ControlTimers& CurrentControlTimers() {
    return installed != nullptr ? *installed : qtTimers;
}

ControlTimers* SetControlTimers(ControlTimers* timers) {
    ControlTimers* previous = installed;
    installed = timers;
    return previous;
}

} // namespace velmora
