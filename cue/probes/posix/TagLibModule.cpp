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
            readOpen_ = ::dlsym(handle_, kReadOpenLengthEntry);
            return;
        }
        const char* error = ::dlerror();
        problem_ =
            Localized("the reader of its format cannot be loaded: %s", {error != nullptr ? error : file});
        return;
    }
    problem_ = Localized("the reader of its format, %s, is not installed", {kTagLibModuleName});
}

namespace {

LengthReading ReadingOf(int answer, VelmoraModuleLength& out) {
    if (answer == 1) {
        return LengthReading(AudioLength{out.Samples, out.SampleRate});
    }
    out.Reason[sizeof out.Reason - 1] = '\0';
    return out.Reason[0] != '\0' ? LengthReading::Unknown(Localized(out.Reason)) : LengthReading();
}

} // namespace

LengthReading TagLibModule::AudioLengthOf(const std::string& path) {
    if (!Load()) {
        return LengthReading::Unknown(problem_);
    }
    VelmoraModuleLength out{};
    return ReadingOf(reinterpret_cast<VelmoraReadLength>(read_)(path.c_str(), &out), out);
}

LengthReading TagLibModule::AudioLengthOfOpen(const std::string& path, std::intptr_t handle,
                                              std::uint64_t size) {
    if (!Load() || readOpen_ == nullptr) {
        return AudioLengthOf(path);
    }
    VelmoraModuleLength out{};
    return ReadingOf(reinterpret_cast<VelmoraReadOpenLength>(readOpen_)(path.c_str(),
                                                                        static_cast<int>(handle), size, &out),
                     out);
}

} // namespace velmora
