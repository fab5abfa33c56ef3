#include "karteikarten/frame/undo.hpp"

#include <utility>

#include "karteikarten/collection/answer_log.hpp"
#include "karteikarten/collection/collection_conflict.hpp"
#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

std::vector<std::string> registered_names(const Karteikartenverwaltung& kkv) {
  std::vector<std::string> names;
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    if (!sammlung->unsaved_log.empty()) {
      throw ValueError("collection " + repr(Value(sammlung->name)) +
                       " holds an answer that is not stored yet: save it before taking an "
                       "answer back");
    }
    names.push_back(sammlung->name);
  }
  return names;
}

// The forgotten-cards drill no longer counts the card as learnt in its run.
void forget_learnt_in_drill(SessionState& state, const std::string& collection,
                            const std::string& card) {
  Value* learnt = state.vergessene_karten_erfolgreich_gelernt_liste.find(
      Value(base_collection_name(collection)));
  if (learnt != nullptr && learnt->is_list() && learnt->as_list().contains(card)) {
    learnt->as_list().remove(card);
  }
}

}  // namespace

std::optional<std::string> undo_last_answer(Karteikartenverwaltung& kkv) {
  platform::Environment& env = kkv.environment();
  const std::string day = env.cf.get_datum_string_startzeit(kkv.startzeit_tag);
  const std::optional<AnswerLogRow> answer =
      PickleDump(env).latest_answer_of_day(day, registered_names(kkv));
  if (!answer) return std::nullopt;
  const LoggedAnswer& logged = answer->answer;
  const SammlungRef sammlung = kkv.hc.sammlung_named(logged.collection);
  const CardRef record = sammlung->karten.find(logged.card);
  if (record == nullptr) {
    throw ValueError("the answer to " + repr(Value(logged.card)) +
                     " cannot be taken back: the card is no longer in collection " +
                     repr(Value(logged.collection)));
  }

  // Put back should storing the undo fail; the metadata whole, so that its
  // keys keep their order.
  const CardRecord record_now = deep_copy(*record);
  const Dict metadata_now = deep_copy(sammlung->metadata).as_dict();
  set_learning_state(record.edit(), logged.state_before);
  restore_todays_metadata(*sammlung, logged);
  UnsavedLogEntry undo;
  undo.row.undoes = answer->seq;
  undo.row.answer.collection = logged.collection;
  undo.row.answer.card = logged.card;
  undo.row.answer.moment = env.cf.get_now();
  undo.row.answer.day = day;
  sammlung->unsaved_log.push_back(std::move(undo));
  try {
    kkv.hc.dictionary_speichern_richtige_sammlung(logged.collection, None);
  } catch (const CollectionConflict&) {
    throw;
  } catch (...) {
    static_cast<LearningState&>(record.edit()) = record_now;
    sammlung->metadata = metadata_now;
    sammlung->unsaved_log.clear();
    throw;
  }
  sammlung->offer_again_in_choices(logged.card);
  forget_learnt_in_drill(kkv, logged.collection, logged.card);
  return logged.card;
}

}  // namespace tavo::kk
