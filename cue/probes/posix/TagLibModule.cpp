#include "cue/probes/TagLibModule.h"

#include "cue/probes/ModuleLength.h"
#include "messages/Messages.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace velmora {

TagLibModule::~TagLibModule() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
    }
}

std::vector<std::string> TagLibModule::FoldersOfThisProgram() {
    char program[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", program, sizeof program - 1);
    if (length <= 0) {
        return {};
    }
    const std::string path(program, static_cast<std::size_t>(length));
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    return {folder + "../lib/velmora/", folder};
}

bool TagLibModule::Load() {
    std::call_once(loading_, [this] { LoadOnce(); });
    return read_ != nullptr;
}

void TagLibModule::LoadOnce() {
    for (const std::string& folder : folders_) {
        std::string file = folder;
        if (!file.empty() && file.back() != '/') {
            file += '/';
        }
        file += kTagLibModuleName;
        if (::access(file.c_str(), R_OK) != 0) {
            continue;
        }
        // Loaded on its own: its TagLib is none of the program's business.
        handle_ = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        read_ = handle_ != nullptr ? ::dlsym(handle_, kReadLengthEntry) : nullptr;
        if (read_ != nullptr) {
            return;
        }
        const char* error = ::dlerror();
        problem_ =
            Localized("the reader of its format cannot be loaded: %s", {error != nullptr ? error : file});
        return;
    }
    problem_ = Localized("the reader of its format, %s, is not installed", {kTagLibModuleName});
}

LengthReading TagLibModule::AudioLengthOf(const std::string& path) {
    if (!Load()) {
        return LengthReading::Unknown(problem_);
    }
    VelmoraModuleLength out{};
    if (reinterpret_cast<VelmoraReadLength>(read_)(path.c_str(), &out) == 1) {
        return LengthReading(AudioLength{out.Samples, out.SampleRate});
    }
    out.Reason[sizeof out.Reason - 1] = '\0';
    return out.Reason[0] != '\0' ? LengthReading::Unknown(Localized(out.Reason)) : LengthReading();
}

} // namespace velmora
