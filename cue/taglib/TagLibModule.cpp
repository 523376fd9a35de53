// The entries the programs call when they load TagLib: the formats their own probes do not read.
#include "cue/probes/ModuleLength.h"
#include "cue/taglib/TagLibLength.h"
#include "messages/Messages.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

// Answers as the entries promise: 1 and the length, or 0 and why when there is a reason. Never throws.
template <typename Read> int Answer(VelmoraModuleLength* out, Read read) {
    *out = VelmoraModuleLength{};
    std::string reason;
    try {
        const velmora::LengthReading reading = read();
        if (reading) {
            out->Samples = reading->Samples;
            out->SampleRate = reading->SampleRate;
            return 1;
        }
        reason = reading.Reason;
    } catch (const std::bad_alloc&) {
        reason = velmora::ForCatalogue("there is not enough memory to read its header");
    } catch (...) {
        reason = velmora::ForCatalogue("its header cannot be read");
    }
    const std::size_t count = std::min(reason.size(), sizeof out->Reason - 1);
    std::copy_n(reason.data(), count, out->Reason);
    return 0;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int velmora_read_length(const char* path,
                                                                          VelmoraModuleLength* out) {
    return Answer(out, [path] { return velmora::TagLibLengthOf(path); });
}

extern "C" __attribute__((visibility("default"))) int
velmora_read_open_length(const char* path, int handle, std::uint64_t size, VelmoraModuleLength* out) {
    return Answer(out, [path, handle, size] { return velmora::TagLibLengthOf(path, handle, size); });
}
