#include "graphics/qt/QtConversions.h"
#include "resources/Resources.h"
#include "tools/velmora-markup/MarkupToolOptions.h"
#include "tools/velmora-markup/MarkupToolRendering.h"

#include <QGuiApplication>
#include <QResource>
#include <QString>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace velmora;
    const ParsedMarkupToolArguments parsed =
        ParseMarkupToolArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.Options) {
        std::cerr << "velmora-markup: " << parsed.Error << "\n" << kMarkupToolUsage;
        return 2;
    }
    const MarkupToolOptions& options = *parsed.Options;
    if (options.Help) {
        std::cout << kMarkupToolUsage;
        return 0;
    }

    // The picture goes to a file: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);

    // The program's own pictures, and whatever resource files were named, for RES:// addresses.
    LoadResources();
    for (const std::string& file : options.ResourceFiles) {
        if (!QResource::registerResource(QString::fromLocal8Bit(file.c_str()))) {
            std::cerr << "velmora-markup: cannot read resources from " << file << "\n";
            return 1;
        }
    }

    std::string utf8 = options.Markup;
    if (utf8 == "-") {
        std::ostringstream input;
        input << std::cin.rdbuf();
        utf8 = std::move(input).str();
    }
    const std::string markup = MarkupFromUtf8(utf8);

    MarkupToolPictures pictures;
    for (const auto& [name, file] : options.ContainerPictures) {
        if (const std::optional<std::string> error = pictures.AddContainerPicture(name, file)) {
            std::cerr << "velmora-markup: " << *error << "\n";
            return 1;
        }
    }

    MarkupToolReport report;
    for (std::int32_t frame = 1; frame <= options.Frames; ++frame) {
        MarkupToolReport frameReport;
        const QImage picture = RenderMarkupPicture(options, markup, pictures, frameReport);
        const std::string name = FramePictureName(options.Output, frame, options.Frames);
        if (!picture.save(QString::fromLocal8Bit(name.c_str()), "PNG")) {
            std::cerr << "velmora-markup: cannot write " << name << "\n";
            return 1;
        }
        if (frame == 1) {
            report = std::move(frameReport);
        }
        pictures.Step();
    }
    if (report.CutFromHeight) {
        std::cerr << "velmora-markup: the text is " << *report.CutFromHeight
                  << " pixels high; the picture shows its first " << kLargestPicture << "\n";
    }
    for (const std::string& address : report.MissingPictures) {
        std::cerr << "velmora-markup: no picture at " << FromText(address, report.Encoding).toStdString()
                  << "\n";
    }
    std::cout << FormatMarkupToolReport(report, options.Hit.has_value());
    return 0;
}
