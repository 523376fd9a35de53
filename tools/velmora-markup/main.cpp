#include "graphics/Windows1252.h"
#include "tools/velmora-markup/MarkupToolOptions.h"
#include "tools/velmora-markup/MarkupToolRendering.h"

#include <QGuiApplication>
#include <QString>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace velmora;
    const ParsedMarkupToolArguments parsed =
        ParseMarkupToolArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "velmora-markup: " << parsed.error << "\n" << kMarkupToolUsage;
        return 2;
    }
    const MarkupToolOptions& options = *parsed.options;

    // The picture goes to a file: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);

    std::string utf8 = options.markup;
    if (utf8 == "-") {
        std::ostringstream input;
        input << std::cin.rdbuf();
        utf8 = std::move(input).str();
    }
    const std::string markup = EncodeWindows1252(
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String());

    MarkupToolReport report;
    const QImage picture = RenderMarkupPicture(options, markup, report);
    if (!picture.save(QString::fromLocal8Bit(options.output.c_str()), "PNG")) {
        std::cerr << "velmora-markup: cannot write " << options.output << "\n";
        return 1;
    }
    std::cout << FormatMarkupToolReport(report, options.hit.has_value());
    return 0;
}
