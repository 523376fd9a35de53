#pragma once

#include "cue/repair/RepairHost.h"

#include <QString>
#include <QStringList>
#include <string>

namespace velmora {

// "Description (*.a *.b)" for each filter, in order.
QStringList NameFilters(const FileFilterList& filters);

// The filters of the chooser for a missing file: first every type the engine accepts for the kind of
// file asked for (a chooser opened on a proposed "Track.flac" still shows it), then the filters asked
// for, then every file.
QStringList ReferencedFileFilters(const FileFilterList& filters);

// `Where is "Track.wav" (Album.cue)?`: the name as the sheet writes it, read in the sheet's encoding
// `sheetText` is written in, and the sheet's file name.
QString ReferencedFileTitle(const std::string& referencedName, const std::string& sheetPath,
                            const std::string& sheetText);

} // namespace velmora
