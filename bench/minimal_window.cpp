// The peer of the start-up benchmark: the least a Qt Widgets window with a
// label, a list and a check box costs to start and paint.
#include "shell/StartupProbe.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    velmora::InstallStartupProbe(app);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("Please drop your files here"));
    layout->addWidget(new QListWidget);
    layout->addWidget(new QCheckBox("Associate"));
    window.resize(492, 323);
    window.show();
    return app.exec();
}
