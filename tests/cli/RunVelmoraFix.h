#pragma once

#include "../cue/TestSupport.h"

#include <memory>
#include <string>
#include <sys/types.h>

namespace velmora::fix {

struct Finished {
    int status;
    std::string out;
    std::string err;
};

// A sheet whose one time must be rewritten ("0:1:80" is "00:02:05"), beside an empty "a.wav", and the
// sheet it becomes.
inline const std::string kSheetToRewrite = "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n"
                                           "  TRACK 01 AUDIO\r\n    INDEX 01 0:1:80\r\n";
inline const std::string kSheetRewritten = "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n"
                                           "  TRACK 01 AUDIO\r\n    INDEX 01 00:02:05\r\n";

#ifdef FAILING_CALLS_SHIM
// Put before the program, loads the shim that fails or pauses the system calls the environment names.
inline const std::string kShimPrefix =
    std::string("ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=") + FAILING_CALLS_SHIM;
#endif

// A velmora-fix still running, started by StartVelmoraFix; WaitFor collects it.
struct Started {
    pid_t shell;
    std::unique_ptr<testkit::TempFolder> output;
};

// Starts velmora-fix through the shell in `folder`, with `arguments` after the program and `prefix`
// before it (a privilege drop, an environment), without waiting for it.
Started StartVelmoraFix(const std::string& folder, const std::string& arguments,
                        const std::string& prefix = "", const std::string& program = VELMORA_FIX_PROGRAM);
// Waits for a started run to end: its exit status and what it printed.
Finished WaitFor(const Started& started);

// Runs velmora-fix as StartVelmoraFix starts it and returns its exit status and what it printed.
Finished RunVelmoraFix(const std::string& folder, const std::string& arguments,
                       const std::string& prefix = "", const std::string& program = VELMORA_FIX_PROGRAM);

} // namespace velmora::fix
