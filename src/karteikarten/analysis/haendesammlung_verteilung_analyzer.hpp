// HaendesammlungVerteilungAnalyzer: one collection taken apart into the
// categories of cards the day's learning distinguishes, a few consistency
// checks between them, and a report of their sizes.
//
// analyse() fills every category, each from one query of the collection,
// in a fixed order (later queries take categories found before), and runs
// the checks; show() prints the report through the output sink. A category
// not filled yet is absent: reading it, or showing the report before
// analyse(), throws AttributeError. The analyzer never changes the
// collection.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "karteikarten/cards/kartenhalter.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "value/host_attribute.hpp"

namespace tavo::kk {

class HaendesammlungVerteilungAnalyzer {
 public:
  using Names = std::optional<kk::NameList>;
  using Holder = std::shared_ptr<Kartenhalter>;
  using Count = std::optional<std::int64_t>;

  explicit HaendesammlungVerteilungAnalyzer(kk::SammlungRef sammlung);

  void set_grenzwert_neue_karten_heute(std::int64_t anzahl) {
    grenzwert_neue_karten_heute = anzahl;
  }
  void set_grenzwert_wiederholungen(std::int64_t anzahl) { grenzwert_wiederholungen = anzahl; }

  // Fills every category below in their order and runs
  // assert_karten_nur_aus_sammlung after get_wiederholte_karten.
  void analyse();
  // Prints the report: the sizes of the categories, "laenge falsch" when
  // the new, later and due cards do not add up to the collection (the
  // report goes on), and AssertionError when the three groups of new cards
  // overlap (the report ends there).
  void show() const;
  // Does nothing; kept for the host.
  void do_() const {}

  // ---- categories, in analyse()'s order ----

  void get_neue_karten();
  void get_neue_karten_erfolgreich();
  void get_faellig_gestellt_noch_nie_angesehen();
  void get_heute_faellig_gestellt_bezeichner();
  void get_anzahl_neue_karten_faellig_stellbar_und_ausstehend();
  void get_beste_heute_neue();
  void get_grenzwert_maximale_wiederholungen();
  void get_anzahl_offene_heute_schon_angesehen_nicht_erfolgreich();
  void get_faellig_aber_nicht_heute();
  void get_faellige(double voraus = 600);
  // `faellige` defaults to the names of karten_faellig_heute_halter; the
  // query itself takes no names.
  void get_faellig_wiederholt_nicht_mehr_faellig(const Names& faellige = std::nullopt);
  void get_wiederholte_karten();
  void get_heute_erstmalig_faellig_gestellt_noch_faellig();
  void get_heute_angesehen();
  void get_faellig_aber_nicht_heute_heute_nicht_angesehen();
  void get_faellig_aber_nicht_heute_heute_angesehen(
      const Names& faellig_aber_nicht_heute_bezeichner = std::nullopt);
  void get_heute_wiederholt_erfolgreich_noch_faellig();
  void get_heute_wiederholt_nicht_erfolgreich();
  // The cards due before today that are among `heute_faellig_gestellt`;
  // without it the operand is empty (as analyse() calls it), so the
  // category is empty. Also stores the cards first seen today in
  // heute_faellig_gestellt when that argument is absent.
  void get_heute_faellig_schon_laenger_faellig_noch_nicht_angesehen(
      const Names& vor_heute_faellig = std::nullopt,
      const Names& heute_faellig_gestellt = std::nullopt);

  // ---- checks: every card of a category belongs to the collection ----
  //
  // Each throws AssertionError (without a message) when a name in its
  // category does not begin with the collection's name; an empty category
  // passes.

  void assert_karten_nur_aus_sammlung() const;
  void assert_neue_karten() const;
  void assert_heute_faellig_gestellt() const;
  void assert_heute_faellige() const;
  void assert_faellige_aber_nicht_heute() const;
  void assert_faellig_heute_halter() const;
  void assert_wiederholte_karten() const;

  // ---- attributes ----

  kk::SammlungRef sammlung;
  std::string name;
  std::int64_t grenzwert_neue_karten_heute = 2;
  std::int64_t grenzwert_wiederholungen = 2;
  // Seconds; kept for the host.
  std::int64_t voraus = 600;

  Holder neue_karten;
  Names neue_karten_erfolgreich;
  Names faellig_gestellt_noch_nie_angesehen;
  Names heute_faellig_gestellt;
  Count anzahl_neue_karten_faellig_stellbar;
  Count neue_karten_heute_faellig_gestellt_ausstehend;
  Count anzahl_neue_karten_faellig_stellbar_echt;
  Holder heute_faellige;
  Count grenzwert_maximale_wiederholungen;
  Count anzahl_offene_heute_schon_angesehen_nicht_erfolgreich;
  Holder faellig_aber_nicht_heute;
  Names faellig_aber_nicht_heute_bezeichner;
  Holder karten_faellig_heute_halter;
  Names karten_faellig_heute;
  Names heute_wiederholt_nicht_mehr_faellig;
  Names wiederholte_karten;
  Names wiederholte_karten_neu;
  Names heute_erstmalig_faellig_gestellt_noch_faellig;
  Names heute_angesehen_bezeichner;
  Names faellig_aber_nicht_heute_heute_nicht_angesehen;
  Names faellig_aber_nicht_heute_heute_angesehen;
  Names heute_wiederholt_erfolgreich_noch_faellig;
  Names heute_wiederholt_nicht_erfolgreich;
  Names heute_faellig_schon_laenger_faellig_noch_nicht_angesehen;
};

// The analyzer's limits, counts and name lists as the host reads and
// assigns them (a category not filled yet is absent); the collection and
// the holders are not listed: a binding hands them out as objects.
const HostAttributes<HaendesammlungVerteilungAnalyzer>& analyzer_attributes();

}  // namespace tavo::kk
