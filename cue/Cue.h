#pragma once

#include "Candidates.h"
#include "CueText.h"
#include "Repair.h"
#include "RepairHost.h"
#include "RepairState.h"
#include "RowReport.h"
#include "SheetEncoding.h"
#include "TextBuffer.h"
#include "UnifiedDiff.h"
#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
