// The entry the programs call when they load TagLib: the formats their own probes do not read.
#include "cue/probes/ModuleLength.h"
#include "cue/taglib/TagLibLength.h"
#include "messages/Messages.h"

#include <algorithm>
#include <new>

extern "C" __attribute__((visibility("default"))) int velmora_read_length(const char* path,
                                                                          VelmoraModuleLength* out) {
    *out = VelmoraModuleLength{};
    std::string reason;
    try {
        const velmora::LengthReading reading = velmora::TagLibLengthOf(path);
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
