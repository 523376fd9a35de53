#pragma once

#include <QApplication>

namespace velmora {

// The application object: an error thrown by an event handler ends that
// handler's work and is shown in the standard error box; the program goes on.
class VelmoraApplication : public QApplication {
public:
    VelmoraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace velmora
