#include "platform/DescriptorLimit.h"
#include "platform/InstanceMark.h"
#include "platform/RuntimeFolder.h"
#include "shell/ErrorBox.h"
#include "shell/SecondStart.h"
#include "shell/Unit1.h"
#include "shell/Unit2.h"
#include "shell/VelmoraApplication.h"

#include <QFile>
#include <exception>
#include <filesystem>
#include <iostream>

using namespace velmora;

namespace {

std::string WorkingFolder() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

// The application is built here only for the box: a start that hands over never pays for one.
int ShowStartError(int argc, char** argv, const char* message) {
    VelmoraApplication app(argc, argv);
    ShowErrorBox(message);
    return 1;
}

} // namespace

// A second start hands its sheet over before it builds any window, so that many
// of them at once cost the running window little.
int main(int argc, char** argv) {
    RaiseDescriptorLimit();
    std::optional<std::string> folder;
    std::unique_ptr<InstanceMark> mark;
    try {
        RuntimeFolderChoice choice = ChooseRuntimeFolder();
        folder = choice.Folder;
        if (!folder) {
            std::cerr << "velmora: no private runtime folder, so this window takes no sheets from later "
                         "starts:\n"
                      << choice.Refusals;
        } else {
            const std::vector<std::string> arguments(argv + 1, argv + argc);
            StartDecision decision = ClaimOrHandOver(*folder, HandOverArgument(arguments, WorkingFolder()),
                                                     HandOverPatience(), std::cerr);
            if (!decision.mark) {
                return decision.exitCode;
            }
            mark = std::move(decision.mark);
        }
    } catch (const std::exception& error) {
        return ShowStartError(argc, argv, error.what());
    }

    VelmoraApplication app(argc, argv);
    std::vector<std::string> arguments;
    for (const QString& argument : app.arguments().mid(1)) {
        arguments.push_back(QFile::encodeName(argument).toStdString());
    }
    try {
        TForm1 Form1(arguments.empty() ? std::nullopt : std::optional<std::string>(arguments.front()));
        TForm2 Form2(&Form1);
        Form1.Form2 = &Form2;
        if (folder) {
            Form1.ListenForHandOver(*folder);
        }
        Form1.show();
        return app.exec();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
        return 1;
    }
}
