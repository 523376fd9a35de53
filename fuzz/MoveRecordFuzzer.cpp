// Reads the input as a record of moves, as a restore reads one that came with a download. A record that
// decodes encodes back to the very same bytes, and every name the restore would accept stays below the
// sheet's folder.
#include "cue/repair/MoveRecord.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<velmora::MoveRecord> record = velmora::DecodeMoveRecord(bytes);
    if (!record) {
        return 0;
    }
    if (velmora::EncodeRecord(*record) != bytes || record->Done.size() != record->Moves.size()) {
        std::abort();
    }
    for (const velmora::PlannedMove& move : record->Moves) {
        for (const std::string* name : {&move.From, &move.To}) {
            if (!velmora::IsRecordableName(*name)) {
                continue;
            }
            const bool climbs = *name == ".." || name->rfind("../", 0) == 0 ||
                                name->find("/../") != std::string::npos ||
                                (name->size() >= 3 && name->compare(name->size() - 3, 3, "/..") == 0);
            if ((*name)[0] == '/' || climbs || name->find('\\') != std::string::npos) {
                std::abort();
            }
        }
    }
    return 0;
}
