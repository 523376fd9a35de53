#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/storage/FolderStorage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmora {

class TextBuffer;
struct RowReport;

struct FileFilter {
    std::string Description;
    std::string Pattern;
};
using FileFilterList = std::vector<FileFilter>;

// A chooser asked for on behalf of one FILE reference of a sheet.
struct FileRequest {
    FileFilterList Filters;
    std::string InitialFolder;
    // The name the sheet gives, as written in the sheet.
    std::string ReferencedName;
    // 1-based line of the FILE reference.
    std::size_t LineNumber = 0;
    // Full paths of the files beside the sheet that may be the one, all found by the best rule; the
    // first is the one to select.
    std::vector<std::string> Candidates;
    // How many of the first Candidates may hold the sheet's times; those after them are known to be too
    // short for them. All of them when no length was read.
    std::size_t PlausibleCandidates = 0;
};

// Icon indexes of the result rows.
inline constexpr int kBadIcon = 0;
inline constexpr int kCorrectedIcon = 1;
inline constexpr int kGoodIcon = 2;

// What the repair engine needs from its window, and the storage it reaches files through. The host is owned
// by its creator (the main window, the console front end, a test) and outlives every run; the engine only
// borrows it for the length of one call and never deletes it. The host owns the text buffer and the result
// list. Texts passed to the host are only valid during the call. All calls come from the one thread that runs
// the repair.
class RepairHost {
public:
    virtual void SetOpenLinkEnabled(bool enabled) = 0;

    // Progress bar position, 0 to 100.
    virtual int ProgressPosition() const = 0;
    virtual void SetProgressPosition(int position) = 0;

    // Handles all window events that are pending, then returns. A run may be asked for meanwhile; the
    // engine refuses to nest it.
    virtual void PumpEvents() = 0;

    // Modal box titled "Warning" in the user's language ("Avertissement" in French); returns when the user
    // has closed it.
    virtual void ShowWarning(const std::string& text) = 0;

    virtual void AddResultRow(const std::string& caption, int iconIndex) = 0;

    // Modal open-file dialog; the chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileFilterList& filters,
                                                  const std::string& initialFolder) = 0;

    // The hidden text buffer that holds the sheet (the window's Memo1).
    virtual TextBuffer& Buffer() = 0;

    // Milliseconds since some fixed start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;

    // Where the run finds, reads, writes and moves files. The disk itself unless the host has a storage
    // of its own (a dry run records instead of writing); the host keeps it.
    virtual SheetStorage& Storage() { return SystemStorage(); }

    // The chooser for a missing FILE reference, with what the engine found beside the sheet. A window
    // opens its chooser with the first candidate selected; the default asks the plain chooser.
    virtual std::optional<std::string> ChooseReferencedFile(const FileRequest& request) {
        return ChooseFile(request.Filters, request.InitialFolder);
    }

    // Called right after AddResultRow with what the run did; the report lives until the next run.
    virtual void DescribeResultRow(const RowReport&) {}

    // What reads the lengths of the files sheets name, or nothing: then no length is checked. The host
    // keeps it; see LengthReader.
    virtual LengthReader* Lengths() { return nullptr; }
    // A host without a progress bar (a terminal) answers false: the run then skips the animation and
    // its delays and just sets the position to the maximum.
    virtual bool AnimatesProgress() const { return true; }

protected:
    virtual ~RepairHost() = default;
};

} // namespace velmora
