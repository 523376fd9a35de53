#pragma once

#include "files/testing/ScratchFiles.h"

#include <string>

namespace velmora::testkit {

// How long the tone the encoded files hold lasts, in seconds.
inline constexpr double kToneSeconds = 4;

// Real audio files, made once per test run by Debian's encoders from four seconds of a tone: whole
// ("tone.flac"), cut to 10, 50 and 90 percent of their bytes ("tone-50.flac"), written to a pipe
// ("piped.flac"), with lying headers, and sparse files of 1 GB and 10 GB. Empty when an encoder is
// missing, and then EncodingProblem() says which.
const TempFolder& EncodedAudio();
const std::string& EncodingProblem();

} // namespace velmora::testkit
