#pragma once

#include "files/testing/ScratchFiles.h"

#include <string>

namespace velmora::fix {

// `utf8` in `encoding` (iconv's name: "CP1252", "SHIFT_JIS", "UTF-16LE", ...) as the system's own
// converter writes it: iconv on Linux, the code page calls on Windows. A "+BOM" encoding gets its byte
// order mark first. `scratch` holds whatever the conversion needs on disk.
std::string Encoded(const std::string& utf8, const std::string& encoding, const testkit::TempFolder& scratch);

} // namespace velmora::fix
