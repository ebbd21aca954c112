#include "recorder/editing/EditBusy.h"

namespace {
int editBusyDepth = 0;
}  // namespace

bool IsEditBusy() { return editBusyDepth > 0; }

EditBusyScope::EditBusyScope() { ++editBusyDepth; }

EditBusyScope::~EditBusyScope() { --editBusyDepth; }
