#include "cue/references/SheetFiles.h"

#include <utility>

namespace velmora {

SheetFiles ReadSheetFiles(std::string text) {
    SheetFiles files;
    files.Text = std::move(text);
    files.References = FindFileReferences(files.Text);
    files.Times = IndexTimesByFile(files.Text, files.References);
    return files;
}

} // namespace velmora
