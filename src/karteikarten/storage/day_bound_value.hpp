// Values that hold for one learning day: stored as {learning-day key:
// value}, so that they lapse when the day is over.
#pragma once

#include <string>

#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// {today's learning-day key ("2021-9-22"): wert}.
Dict day_bound_value(const platform::Common_functions& cf, int startzeit_tag, const Value& wert);

// Today's value of the day-bound value dictionary[key], or None; a plain
// integer found there is first dated today, in place. In debug mode
// AssertionError for an empty dictionary and for a value that is neither.
Value todays_value_in(const platform::Environment& env, int startzeit_tag, const Dict& dictionary,
                      const std::string& key);

}  // namespace tavo::kk
