#pragma once

#include "cue/references/Candidates.h"
#include "cue/repair/Repair.h"
#include "cue/repair/RepairHost.h"
#include "cue/repair/RepairState.h"
#include "cue/repair/RowReport.h"
#include "cue/text/CueText.h"
#include "cue/text/SheetEncoding.h"
#include "cue/text/TextBuffer.h"
#include "cue/text/UnifiedDiff.h"
#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
