#pragma once

#include "CueText.h"
#include "Error.h"
#include "FileMoves.h"
#include "Repair.h"
#include "RepairHost.h"
#include "RepairState.h"
#include "TextBuffer.h"
