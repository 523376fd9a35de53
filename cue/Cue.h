#pragma once

#include "cue/Candidates.h"
#include "cue/CueText.h"
#include "cue/Repair.h"
#include "cue/RepairHost.h"
#include "cue/RepairState.h"
#include "cue/RowReport.h"
#include "cue/SheetEncoding.h"
#include "cue/TextBuffer.h"
#include "cue/UnifiedDiff.h"
#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
