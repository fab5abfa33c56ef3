#include "karteikarten/session/session_state.hpp"

namespace tavo::kk {

SessionState::SessionState(const platform::Common_functions& cf, std::int64_t vorauslernen,
                           bool nur_neue, std::optional<std::int64_t> neue_karten_pro_tag)
    : neue_karten_pro_tag(neue_karten_pro_tag.value_or(0) != 0 ? *neue_karten_pro_tag
                                                               : default_neue_karten_pro_tag),
      zeitberechnung(std::make_shared<platform::Zeitberechnungen>(cf, startzeit_tag)),
      vorauslernen_tage(vorauslernen),
      nur_neue_karten_anzeigen(nur_neue) {}

}  // namespace tavo::kk
