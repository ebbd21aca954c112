// The program's recorder window behind its link.
#pragma once

#include "app/RecorderLink.h"

RecorderClient MakeTAppDialogRecorder();
