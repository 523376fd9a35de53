#include "platform/HandOverClient.h"
#include "platform/InstanceMark.h"
#include "platform/RuntimeFolder.h"
#include "shell/ErrorBox.h"
#include "shell/SecondStart.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"
#include "shell/VelmoraApplication.h"

#include <QDir>
#include <QFile>
#include <exception>

using namespace velmora;

int main(int argc, char** argv) {
    VelmoraApplication app(argc, argv);
    std::vector<std::string> arguments;
    for (const QString& argument : app.arguments().mid(1))
        arguments.push_back(QFile::encodeName(argument).toStdString());
    try {
        const std::string folder = RuntimeFolder();
        const auto mark = InstanceMark::Acquire(folder);
        if (!mark) {
            const auto path =
                HandOverArgument(arguments, QFile::encodeName(QDir::currentPath()).toStdString());
            return HandOver(folder, path) == HandOverResult::Broken ? 1 : 0;
        }
        TForm1 Form1(arguments.empty() ? std::nullopt : std::optional<std::string>(arguments.front()));
        TForm2 Form2(&Form1);
        Form1.Form2 = &Form2;
        Form1.ListenForHandOver(folder);
        Form1.show();
        return app.exec();
    } catch (const std::exception& error) {
        ShowErrorBox(error.what());
        return 1;
    }
}
