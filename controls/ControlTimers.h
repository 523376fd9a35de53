#pragma once

class QObject;

namespace velmora {

// Where the static text's repeating timer comes from. Qt's own timers by default; tests install one
// that starts nothing and deliver the ticks themselves as QTimerEvents with the id it handed out.
class ControlTimers {
public:
    virtual ~ControlTimers() = default;
    // A nonzero id whose ticks reach owner's timerEvent every intervalMs.
    virtual int Start(QObject& owner, int intervalMs) = 0;
    virtual void Stop(QObject& owner, int id) = 0;
};

ControlTimers& CurrentControlTimers();
// Installs `timers` (nullptr for Qt's) and returns the one in place before. It must outlive every timer
// it started.
ControlTimers* SetControlTimers(ControlTimers* timers);

} // namespace velmora
