// The program's recorder window behind its link.
#pragma once

#include "core/RecorderLink.h"

RecorderClient MakeRecorderWindowLink();
