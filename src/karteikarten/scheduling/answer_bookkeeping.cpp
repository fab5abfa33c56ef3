// The records an answer leaves in the day's lists and counters.
#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::kk {

void Karteikartenverwaltung::answer_bookkeeping(AnswerStep, const Karteikarte&, const std::string&,
                                                bool) {}

}  // namespace tavo::kk
