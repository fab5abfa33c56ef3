#include "karteikarten/frame/module_context.hpp"

namespace tavo::kk {

ModuleContext& module_context() {
  static ModuleContext context{platform::cf(), kk::pd(), platform::diagnostics(), false,
                               platform::cf().get_datetime_now()};
  return context;
}

}  // namespace tavo::kk
