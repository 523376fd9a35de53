#include "cue/text/posix/CharsetDetector.h"

#include "messages/Messages.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace velmora {
namespace {

// The few calls of the detector's C interface that detection needs.
struct DetectorLibrary {
    using Detector = void*;
    Detector (*create)() = nullptr;
    int (*handleData)(Detector, const char*, std::size_t) = nullptr;
    void (*dataEnd)(Detector) = nullptr;
    const char* (*charset)(Detector) = nullptr;
    void (*destroy)(Detector) = nullptr;

    bool Complete() const {
        return create != nullptr && handleData != nullptr && dataEnd != nullptr && charset != nullptr &&
               destroy != nullptr;
    }
};

template <typename Function> void Bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
}

std::optional<DetectorLibrary> LoadDetector() {
    const char* chosen = std::getenv("VELMORA_UCHARDET");
    const char* name = chosen != nullptr && *chosen != '\0' ? chosen : kCharsetDetectorLibrary;
    // Kept loaded for the rest of the process: the detector may be asked again for every sheet.
    void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    DetectorLibrary detector;
    if (library != nullptr) {
        Bind(library, "uchardet_new", detector.create);
        Bind(library, "uchardet_handle_data", detector.handleData);
        Bind(library, "uchardet_data_end", detector.dataEnd);
        Bind(library, "uchardet_get_charset", detector.charset);
        Bind(library, "uchardet_delete", detector.destroy);
    }
    if (detector.Complete()) {
        return detector;
    }
    const char* why = dlerror();
    const std::string warning =
        Localized("The character set detector \"%s\" cannot be loaded (%s); sheets are read "
                  "without it.",
                  {name, why != nullptr ? why : "missing calls"});
    std::fprintf(stderr, "%s\n", warning.c_str());
    return std::nullopt;
}

} // namespace

std::optional<std::string> DetectCharsetName(std::string_view text) {
    static const std::optional<DetectorLibrary> library = LoadDetector();
    if (!library) {
        return std::nullopt;
    }
    const DetectorLibrary::Detector detector = library->create();
    if (detector == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> name;
    if (library->handleData(detector, text.data(), text.size()) == 0) {
        library->dataEnd(detector);
        if (const char* found = library->charset(detector); found != nullptr) {
            name = found;
        }
    }
    library->destroy(detector);
    return name;
}

} // namespace velmora
