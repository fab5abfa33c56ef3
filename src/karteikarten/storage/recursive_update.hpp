// The recursive merge with which stored data is laid over defaults.
#pragma once

#include "value/value.hpp"

namespace tavo::kk {

// Lays `u` over `d`, in `u`'s order: a mapping in `u` is merged entry by
// entry into the mapping `d` holds under the same key (a new empty one when
// `d` has none, or holds something else there); any other value replaces
// `d`'s. Changes `d` in place and returns it. `u` is not changed; its values
// that are not mappings are shared, not copied.
Dict update(Dict d, const Dict& u);

}  // namespace tavo::kk
