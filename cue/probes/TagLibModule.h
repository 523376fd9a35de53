#pragma once

#include "cue/lengths/MediaLengths.h"

#include <mutex>
#include <string>
#include <vector>

namespace velmora {

// Reads the formats the own probes leave through the TagLib module, loaded the first time such a file
// is met, from the first of `folders` that holds it; a program that meets none never loads TagLib. A
// module that cannot be loaded leaves those files unchecked, and says why. Threads may read at once
// (the window probes while a run reads): the module is loaded once, and the others wait for it.
class TagLibModule final : public LengthReader {
public:
    explicit TagLibModule(std::vector<std::string> folders) : folders_(std::move(folders)) {}
    ~TagLibModule();
    TagLibModule(const TagLibModule&) = delete;
    TagLibModule& operator=(const TagLibModule&) = delete;

    LengthReading AudioLengthOf(const std::string& path) override;
    // Read where the caller holds the file open; a module without that entry opens it again.
    LengthReading AudioLengthOfOpen(const std::string& path, std::intptr_t handle,
                                    std::uint64_t size) override;

    // Where a program looks for its modules: in ../lib/velmora from its own folder, where an install puts
    // them and the build too, then beside it.
    static std::vector<std::string> FoldersOfThisProgram();

private:
    bool Load();
    void LoadOnce();

    std::vector<std::string> folders_;
    std::once_flag loading_;
    void* handle_ = nullptr;
    void* read_ = nullptr;
    void* readOpen_ = nullptr;
    std::string problem_;
};

} // namespace velmora
