#include "karteikarten/frame/module_context.hpp"

#include "platform/environment.hpp"

namespace tavo::kk {

ModuleContext& module_context() {
  platform::Environment& environment = platform::process_environment();
  static kk::PickleDump store(environment);
  static ModuleContext context{environment.cf, store, environment.diagnostics, false,
                               environment.cf.get_datetime_now()};
  return context;
}

}  // namespace tavo::kk
