// The registry of the host's hands.
#include "platform/importiere_haende.hpp"

#include <utility>
#include <vector>

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::platform {
namespace {

// The hand number `key` as it appears in a hand's name.
std::string hand_number_text(const Value& key) {
  if (key.is_int()) return std::to_string(key.as_int());
  if (key.is_text()) return key.as_text();
  throw TypeError(std::string("hand number must be int or str, not ") + type_name(key));
}

}  // namespace

void Importiere_haende::register_hand(std::string modul_dat, Value hand) {
  haende_.insert_or_assign(std::move(modul_dat), std::move(hand));
}

void Importiere_haende::register_modul(const std::string& modulname, const Dict& haende) {
  std::vector<std::pair<std::string, Value>> named;
  for (const auto& [key, hand] : haende) {
    named.emplace_back(modulname + ".hand" + hand_number_text(key), hand);
  }
  for (auto& [name, hand] : named) register_hand(std::move(name), std::move(hand));
}

List Importiere_haende::make_haendeliste(const List& namen) const {
  List haendeliste;
  for (const Value& name : namen) {
    if (!name.is_text()) {
      throw TypeError(std::string("hand name must be str, not ") + type_name(name));
    }
    const auto found = haende_.find(name.as_text());
    if (found == haende_.end()) throw KeyError("no hand registered as " + repr(name), name);
    haendeliste.append(found->second);
  }
  return haendeliste;
}

void Importiere_haende::clear() { haende_.clear(); }

}  // namespace tavo::platform
