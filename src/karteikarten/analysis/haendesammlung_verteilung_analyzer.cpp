#include "karteikarten/analysis/haendesammlung_verteilung_analyzer.hpp"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>

#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo {

// A list of card names crosses as a list of texts.
template <>
struct AttributeKind<kk::NameList> {
  static Value to_value(const kk::NameList& names) { return kk::list_of(names); }
  static kk::NameList from_value(const Value& value, std::string_view name) {
    if (!value.is_list()) wrong_attribute_kind(name, "list", value);
    return kk::names_of(value);
  }
};

}  // namespace tavo

namespace tavo::kk {
namespace {

using Analyzer = HaendesammlungVerteilungAnalyzer;

const std::string asterisks(50, '*');

[[noreturn]] void missing(std::string_view attribute) {
  throw AttributeError("'HaendesammlungVerteilungAnalyzer' object has no attribute '" +
                       std::string(attribute) + "'");
}

template <class T>
const T& present(const std::optional<T>& value, std::string_view attribute) {
  if (!value) missing(attribute);
  return *value;
}

const Kartenhalter& present(const Analyzer::Holder& holder, std::string_view attribute) {
  if (!holder) missing(attribute);
  return *holder;
}

std::int64_t count(const Analyzer::Names& names, std::string_view attribute) {
  return static_cast<std::int64_t>(present(names, attribute).size());
}

std::int64_t count(const Analyzer::Holder& holder, std::string_view attribute) {
  return static_cast<std::int64_t>(present(holder, attribute).get_laenge());
}

Analyzer::Holder holder_of(Kartenhalter holder) {
  return std::make_shared<Kartenhalter>(std::move(holder));
}

// Every name begins with `prefix`, else AssertionError.
void check_names(const kk::NameList& names, const std::string& prefix) {
  const bool own = std::all_of(names.begin(), names.end(),
                               [&](const std::string& card) { return card.starts_with(prefix); });
  if (!own) throw AssertionError("");
}

// The report's lines, through the collection's output sink.
struct ReportLines {
  const platform::Diagnostics& diagnostics;

  void print(const std::string& text) const { diagnostics.print_line(text); }
  // A line as the host prints two items: the label, a blank, the value.
  void operator()(const std::string& label, const std::string& value) const {
    print(label + " " + value);
  }
  void operator()(const std::string& label, std::int64_t value) const {
    (*this)(label, std::to_string(value));
  }
  void operator()(const std::string& label, const kk::NameList& names) const {
    (*this)(label, str(kk::list_of(names)));
  }
};

}  // namespace

Analyzer::HaendesammlungVerteilungAnalyzer(kk::SammlungRef sammlung)
    : sammlung(std::move(sammlung)) {
  if (!this->sammlung) throw AttributeError("'NoneType' object has no attribute 'name'");
  name = this->sammlung->name;
}

void Analyzer::analyse() {
  get_neue_karten();
  get_neue_karten_erfolgreich();
  get_faellig_gestellt_noch_nie_angesehen();
  get_heute_faellig_gestellt_bezeichner();
  get_anzahl_neue_karten_faellig_stellbar_und_ausstehend();
  get_beste_heute_neue();
  get_grenzwert_maximale_wiederholungen();
  get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich();
  get_faellig_aber_nicht_heute();
  get_faellige();
  get_faellig_wiederholt_nicht_mehr_faellig(karten_faellig_heute);
  get_wiederholte_karten();
  assert_karten_nur_aus_sammlung();
  get_heute_erstmalig_faellig_gestellt_noch_faellig();
  get_heute_angesehen();
  get_faellig_aber_nicht_heute_heute_nicht_angesehen();
  get_faellig_aber_nicht_heute_heute_angesehen();
  get_heute_wiederholt_erfolgreich_noch_faellig();
  get_heute_wiederholt_nicht_erfolgreich();
  get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen();
}

void Analyzer::get_neue_karten() { neue_karten = holder_of(sammlung->get_due_none()); }

void Analyzer::get_neue_karten_erfolgreich() {
  neue_karten_erfolgreich = sammlung->get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner();
}

void Analyzer::get_faellig_gestellt_noch_nie_angesehen() {
  faellig_gestellt_noch_nie_angesehen = sammlung->get_bezeichner_heute_faellig_noch_nie_angesehen();
}

void Analyzer::get_heute_faellig_gestellt_bezeichner() {
  heute_faellig_gestellt = sammlung->get_bezeichner_heute_erstes_mal_angesehen();
}

void Analyzer::get_anzahl_neue_karten_faellig_stellbar_und_ausstehend() {
  const auto [stellbar, ausstehend] =
      sammlung->anzahl_neue_karten_faellig_stellbar(grenzwert_neue_karten_heute);
  anzahl_neue_karten_faellig_stellbar = stellbar;
  neue_karten_heute_faellig_gestellt_ausstehend = ausstehend;
  anzahl_neue_karten_faellig_stellbar_echt = stellbar;
}

void Analyzer::get_beste_heute_neue() {
  heute_faellige =
      holder_of(sammlung->finde_beste_neue(present(neue_karten_heute_faellig_gestellt_ausstehend,
                                                   "neue_karten_heute_faellig_gestellt_ausstehend"),
                                           10));
}

void Analyzer::get_grenzwert_maximale_wiederholungen() {
  grenzwert_maximale_wiederholungen =
      sammlung->get_anzahl_moegliche_wiederholungen(grenzwert_wiederholungen);
}

void Analyzer::get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich() {
  anzahl_offene_heute_schon_angesehen_nicht_erfolgreich =
      sammlung->get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt();
}

void Analyzer::get_faellig_aber_nicht_heute() {
  faellig_aber_nicht_heute = holder_of(sammlung->get_due_aber_nicht_heute_faellig(600));
  faellig_aber_nicht_heute_bezeichner = faellig_aber_nicht_heute->get_bezeichner();
}

void Analyzer::get_faellige(double voraus_sekunden) {
  karten_faellig_heute_halter = holder_of(sammlung->get_faellige_cards(voraus_sekunden, true));
  karten_faellig_heute = karten_faellig_heute_halter->get_bezeichner();
}

void Analyzer::get_faellig_wiederholt_nicht_mehr_faellig(const Names& faellige) {
  if (!faellige) present(karten_faellig_heute_halter, "karten_faellig_heute_halter");
  heute_wiederholt_nicht_mehr_faellig =
      sammlung->get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig();
}

void Analyzer::get_wiederholte_karten() {
  wiederholte_karten =
      kk::names_of(sammlung->get_metadata_heute("karte_erfolgreich_wiederholt"));
  wiederholte_karten_neu = sammlung->get_bezeichner_wiederholte_karten();
}

void Analyzer::get_heute_erstmalig_faellig_gestellt_noch_faellig() {
  heute_erstmalig_faellig_gestellt_noch_faellig =
      sammlung->get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig();
}

void Analyzer::get_heute_angesehen() {
  heute_angesehen_bezeichner = sammlung->get_heute_angesehen();
}

void Analyzer::get_faellig_aber_nicht_heute_heute_nicht_angesehen() {
  faellig_aber_nicht_heute_heute_nicht_angesehen =
      sammlung->get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
          present(faellig_aber_nicht_heute_bezeichner, "faellig_aber_nicht_heute_bezeichner"),
          present(heute_angesehen_bezeichner, "heute_angesehen_bezeichner"));
}

void Analyzer::get_faellig_aber_nicht_heute_heute_angesehen(
    const Names& faellig_aber_nicht_heute_bezeichner_) {
  faellig_aber_nicht_heute_heute_angesehen =
      sammlung->get_bezeichner_heute_nicht_faellig_heute_angesehen(
          faellig_aber_nicht_heute_bezeichner_,
          present(heute_angesehen_bezeichner, "heute_angesehen_bezeichner"));
}

void Analyzer::get_heute_wiederholt_erfolgreich_noch_faellig() {
  heute_wiederholt_erfolgreich_noch_faellig =
      sammlung->get_bezeichner_wiederholt_erfolgreich_noch_faellig();
}

void Analyzer::get_heute_wiederholt_nicht_erfolgreich() {
  heute_wiederholt_nicht_erfolgreich =
      sammlung->get_bezeichner_heute_wiederholt_nicht_erfolgreich();
}

void Analyzer::get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
    const Names& vor_heute_faellig, const Names& heute_faellig_gestellt_) {
  const kk::NameList vor_heute =
      vor_heute_faellig ? *vor_heute_faellig : sammlung->get_due_vor_heute().get_bezeichner();
  if (!heute_faellig_gestellt_) {
    heute_faellig_gestellt = sammlung->get_bezeichner_heute_erstes_mal_angesehen();
  }
  heute_faellig_schon_laenger_faellig_noch_nicht_angesehen =
      kk::Haendesammlung::set1_intersection_set2(
          vor_heute, heute_faellig_gestellt_.value_or(kk::NameList{}));
}

void Analyzer::assert_karten_nur_aus_sammlung() const {
  assert_neue_karten();
  assert_heute_faellig_gestellt();
  assert_heute_faellige();
  assert_faellige_aber_nicht_heute();
  assert_faellig_heute_halter();
  assert_wiederholte_karten();
}

void Analyzer::assert_neue_karten() const {
  check_names(present(neue_karten, "neue_karten").get_bezeichner(), name);
}

void Analyzer::assert_heute_faellig_gestellt() const {
  check_names(present(heute_faellig_gestellt, "heute_faellig_gestellt"), name);
}

void Analyzer::assert_heute_faellige() const {
  check_names(present(heute_faellige, "heute_faellige").get_bezeichner(), name);
}

void Analyzer::assert_faellige_aber_nicht_heute() const {
  check_names(present(faellig_aber_nicht_heute, "faellig_aber_nicht_heute").get_bezeichner(), name);
}

void Analyzer::assert_faellig_heute_halter() const {
  check_names(present(karten_faellig_heute_halter, "karten_faellig_heute_halter").get_bezeichner(),
              name);
}

void Analyzer::assert_wiederholte_karten() const {
  check_names(present(wiederholte_karten, "wiederholte_karten"), name);
}

void Analyzer::show() const {
  const ReportLines line{sammlung->environment().diagnostics};
  const std::int64_t karten = static_cast<std::int64_t>(sammlung->karten.size());
  const std::int64_t neu = count(neue_karten, "neue_karten");
  const std::int64_t a =
      count(heute_wiederholt_nicht_mehr_faellig, "heute_wiederholt_nicht_mehr_faellig");
  const std::int64_t b =
      count(heute_wiederholt_erfolgreich_noch_faellig, "heute_wiederholt_erfolgreich_noch_faellig");
  line.print(asterisks);
  line("laenge sammlung: ", karten);
  line("laenge neue_karten ", neu);
  line("neue karten, noch nicht faellig gestellt: ", neu);
  line("neue karte, faellig, noch nie angesehen: ",
       count(faellig_gestellt_noch_nie_angesehen, "faellig_gestellt_noch_nie_angesehen"));
  line("neue karten, heute erstmalig faellig gestellt, noch faellig: ",
       count(heute_erstmalig_faellig_gestellt_noch_faellig,
             "heute_erstmalig_faellig_gestellt_noch_faellig"));
  line("faellig_aber_nicht_heute laenge: ",
       count(faellig_aber_nicht_heute, "faellig_aber_nicht_heute"));
  line("faellig_heute laenge: ", count(karten_faellig_heute_halter, "karten_faellig_heute_halter"));
  line("wiederholte (nicht neue) gesamt: ",
       present(wiederholte_karten_neu, "wiederholte_karten_neu"));
  line.print(
      "heute faellig, wiederholt, nicht mehr faellig heute todo: ");
  line("heute_wiederholt_erfolgreich: ", a + b);
  line("heute_wiederholt_nicht_erfolgreich: ",
       count(heute_wiederholt_nicht_erfolgreich, "heute_wiederholt_nicht_erfolgreich"));
  line("heute nicht faellig, heute nicht angesehen: ",
       count(faellig_aber_nicht_heute_heute_nicht_angesehen,
             "faellig_aber_nicht_heute_heute_nicht_angesehen"));
  line("heute nicht faellig, heute angesehen: ",
       count(faellig_aber_nicht_heute_heute_angesehen, "faellig_aber_nicht_heute_heute_angesehen"));
  try {
    if (karten != neu + count(faellig_aber_nicht_heute, "faellig_aber_nicht_heute") +
                      count(karten_faellig_heute_halter, "karten_faellig_heute_halter")) {
      line.print("laenge falsch");
    }
  } catch (const Error&) {
    line.print("laenge falsch");
  }
  line("heute wiederholt erfolgreich", a);
  line("heute_wiederholt_erfolgreich_noch_faellig: ", b);
  line("heute_faellig_schon_laenger faellig noch_nicht_angesehen",
       count(heute_faellig_schon_laenger_faellig_noch_nicht_angesehen,
             "heute_faellig_schon_laenger_faellig_noch_nicht_angesehen"));
  line.print("Zwischenwerte: ");
  line.print("neue_karten:");

  const kk::NameList& nie_angesehen =
      present(faellig_gestellt_noch_nie_angesehen, "faellig_gestellt_noch_nie_angesehen");
  const kk::NameList& noch_faellig = present(heute_erstmalig_faellig_gestellt_noch_faellig,
                                                   "heute_erstmalig_faellig_gestellt_noch_faellig");
  std::unordered_set<std::string> distinct;
  for (const std::string& card : neue_karten->get_bezeichner()) distinct.insert(card);
  distinct.insert(nie_angesehen.begin(), nie_angesehen.end());
  distinct.insert(noch_faellig.begin(), noch_faellig.end());
  if (static_cast<std::int64_t>(distinct.size()) !=
      neu + static_cast<std::int64_t>(nie_angesehen.size() + noch_faellig.size())) {
    throw AssertionError("");
  }

  line("neue karten, noch nicht faellig gestellt: ", neu);
  line("neue karten, faellig gestellt, noch nie angesehen: ", nie_angesehen);
  line("neue karten, heute erstmalig faellig gestellt, noch faellig: ",
       static_cast<std::int64_t>(noch_faellig.size()));
  line("neue karten, heute erfolgreich gelernt",
       count(neue_karten_erfolgreich, "neue_karten_erfolgreich"));
  line("laenge neue_karten ", neu);
  const kk::NameList& erstes_mal = present(heute_faellig_gestellt, "heute_faellig_gestellt");
  line("heute_faellig_gestellt_heute_estes_mal_angesehen Bezeichner: ", erstes_mal);
  line("laenge heute_faellig_gestellt_heute_estes_mal_angesehen Bezeichner: ",
       static_cast<std::int64_t>(erstes_mal.size()));
  line("anzahl_neue_karten_faellig_stellbar: ",
       present(anzahl_neue_karten_faellig_stellbar, "anzahl_neue_karten_faellig_stellbar"));
  line("neue_karten_heute_faellig_gestellt_ausstehend: ",
       present(neue_karten_heute_faellig_gestellt_ausstehend,
               "neue_karten_heute_faellig_gestellt_ausstehend"));
  line("anzahl_neue_karten_faellig_stellbar_echt: ",
       present(anzahl_neue_karten_faellig_stellbar_echt,
               "anzahl_neue_karten_faellig_stellbar_echt"));
  line.print(asterisks);
  // A holder prints as the names it holds.
  line("heute_faellige beste: ", present(heute_faellige, "heute_faellige").get_bezeichner());
  line("faellig_aber_nicht_heute bezeichner: ",
       count(faellig_aber_nicht_heute, "faellig_aber_nicht_heute"));
  line.print(asterisks);
  line("grenzwert_maximale_wiederholungen: ",
       present(grenzwert_maximale_wiederholungen, "grenzwert_maximale_wiederholungen"));
  line("anzahl_offene_heute_schon_angesehen_nicht_erfolgreich: ",
       present(anzahl_offene_heute_schon_angesehen_nicht_erfolgreich,
               "anzahl_offene_heute_schon_angesehen_nicht_erfolgreich"));
}

const HostAttributes<Analyzer>& analyzer_attributes() {
  using A = Analyzer;
  static const HostAttributes<A> attributes(
      "HaendesammlungVerteilungAnalyzer",
      {
          member_attribute("name", &A::name),
          member_attribute("grenzwert_neue_karten_heute", &A::grenzwert_neue_karten_heute),
          member_attribute("grenzwert_wiederholungen", &A::grenzwert_wiederholungen),
          member_attribute("voraus", &A::voraus),
          present_attribute("anzahl_neue_karten_faellig_stellbar",
                            &A::anzahl_neue_karten_faellig_stellbar),
          present_attribute("neue_karten_heute_faellig_gestellt_ausstehend",
                            &A::neue_karten_heute_faellig_gestellt_ausstehend),
          present_attribute("anzahl_neue_karten_faellig_stellbar_echt",
                            &A::anzahl_neue_karten_faellig_stellbar_echt),
          present_attribute("grenzwert_maximale_wiederholungen",
                            &A::grenzwert_maximale_wiederholungen),
          present_attribute("anzahl_offene_heute_schon_angesehen_nicht_erfolgreich",
                            &A::anzahl_offene_heute_schon_angesehen_nicht_erfolgreich),
          present_attribute("neue_karten_erfolgreich", &A::neue_karten_erfolgreich),
          present_attribute("faellig_gestellt_noch_nie_angesehen",
                            &A::faellig_gestellt_noch_nie_angesehen),
          present_attribute("heute_faellig_gestellt", &A::heute_faellig_gestellt),
          present_attribute("faellig_aber_nicht_heute_bezeichner",
                            &A::faellig_aber_nicht_heute_bezeichner),
          present_attribute("karten_faellig_heute", &A::karten_faellig_heute),
          present_attribute("heute_wiederholt_nicht_mehr_faellig",
                            &A::heute_wiederholt_nicht_mehr_faellig),
          present_attribute("wiederholte_karten", &A::wiederholte_karten),
          present_attribute("wiederholte_karten_neu", &A::wiederholte_karten_neu),
          present_attribute("heute_erstmalig_faellig_gestellt_noch_faellig",
                            &A::heute_erstmalig_faellig_gestellt_noch_faellig),
          present_attribute("heute_angesehen_bezeichner", &A::heute_angesehen_bezeichner),
          present_attribute("faellig_aber_nicht_heute_heute_nicht_angesehen",
                            &A::faellig_aber_nicht_heute_heute_nicht_angesehen),
          present_attribute("faellig_aber_nicht_heute_heute_angesehen",
                            &A::faellig_aber_nicht_heute_heute_angesehen),
          present_attribute("heute_wiederholt_erfolgreich_noch_faellig",
                            &A::heute_wiederholt_erfolgreich_noch_faellig),
          present_attribute("heute_wiederholt_nicht_erfolgreich",
                            &A::heute_wiederholt_nicht_erfolgreich),
          present_attribute("heute_faellig_schon_laenger_faellig_noch_nicht_angesehen",
                            &A::heute_faellig_schon_laenger_faellig_noch_nicht_angesehen),
      });
  return attributes;
}

}  // namespace tavo::kk
