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
#include <chrono>
#include <exception>
#include <thread>

using namespace velmora;

constexpr std::chrono::seconds HandOverPatience{10};

int main(int argc, char** argv) {
    VelmoraApplication app(argc, argv);
    std::vector<std::string> arguments;
    for (const QString& argument : app.arguments().mid(1))
        arguments.push_back(QFile::encodeName(argument).toStdString());
    try {
        const std::string folder = RuntimeFolder();
        auto mark = InstanceMark::Acquire(folder);
        if (!mark) {
            const auto path =
                HandOverArgument(arguments, QFile::encodeName(QDir::currentPath()).toStdString());
            // The holder of the mark may not listen yet when many start at once, or may have just
            // died: ask again until it listens, or take the mark and be the first instance.
            const auto deadline = std::chrono::steady_clock::now() + HandOverPatience;
            while (!mark) {
                const HandOverResult result = HandOver(folder, path);
                if (result != HandOverResult::NoWindow || std::chrono::steady_clock::now() >= deadline)
                    return result == HandOverResult::Broken ? 1 : 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                mark = InstanceMark::Acquire(folder);
            }
        }
        TForm1 Form1(arguments.empty() ? std::nullopt : std::optional<std::string>(arguments.front()));
        TForm2 Form2(&Form1);
        Form1.Form2 = &Form2;
        Form1.ListenForHandOver(folder);
        Form1.show();
        return app.exec();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
        return 1;
    }
}
