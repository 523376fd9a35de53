#pragma once

#include "Candidates.h"
#include "CueText.h"
#include "Error.h"
#include "FileMoves.h"
#include "Repair.h"
#include "RepairHost.h"
#include "RepairState.h"
#include "RowReport.h"
#include "SheetEncoding.h"
#include "TextBuffer.h"
#include "UnifiedDiff.h"
