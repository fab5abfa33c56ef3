// The module's globals as the host sees them after loading the module.
//
// `cf` supplies every date and time, `pd` stores collections and settings,
// and the diagnostics hold the debug switch, the debug hook and the output
// sink. They are process-wide; `start_date` is the moment the module was
// loaded, read once.
#pragma once

#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "value/date_time.hpp"

namespace tavo::kk {

struct ModuleContext {
  platform::Common_functions& cf;
  kk::PickleDump& pd;
  platform::Diagnostics& diagnostics;
  // Exposed to the host; nothing in the module reads it.
  bool set_date = false;
  // cf.get_datetime_now() when the context was first used.
  DateTime start_date;
};

// The module's context, created on first use (that is, when the module is
// loaded).
ModuleContext& module_context();

}  // namespace tavo::kk
