"""One learning step driven through the Python package, as a Python host runs it.

The step is the one the C++ learning step benchmark times: choose a card, read
its four button texts, schedule the answer "good" (12 seconds), record it on the
card and in today's statistics, write it back and store the collection. Each
repeat copies a stored realistic collection (made by write_realistic_collection
with the same size, name and seed as the C++ benchmark's) into a fresh data
directory, registers it with a new manager at the benchmarks' frozen moment and
times a fixed number of steps; the median time per step is printed as JSON:

    python_step.py STORED_DATA_DIR COLLECTION
"""
from __future__ import print_function

import json
import os
import shutil
import sys
import tempfile
import timeit

# As in bench/realistic_collection.hpp.
BENCH_NOW = 1632297600
BENCH_REVIEW_LIMIT = 9999

REPEATS = 5
STEPS = 200
RESPONSE = "good"
SECONDS = 12


def learning_step(kkv):
    card = kkv.get_card()
    if card is None:
        raise RuntimeError("no card left to answer")
    kkv.get_interval_responses(card)
    tage = kkv.schedule(card=card, response=RESPONSE)
    card.change_due(tage)
    card.set_letzte_antwort(RESPONSE, False)
    card.set_last_interval_no_lapse(tage, RESPONSE, False)
    card.set_beantwortungszeit(SECONDS)
    card.set_last_interval(tage)
    kkv.set_karte_heute_schon_gelernt(card, False, RESPONSE)
    kkv.add_karte_vergessene_liste(card.get_name(), kkv.sammlungsort_name)
    kkv.set_metadaten((card.get_modus(), SECONDS), "zeitdauer_heute")
    kkv.hc.aendere_karteikarte_in_dictionary_richtige_sammlung(kkv.sammlungsort_name, card)
    kkv.dictionary_speichern(None, False)


def seconds_per_step(karteikarten, stored, collection):
    scratch = tempfile.mkdtemp(prefix="tavo-python-step-")
    try:
        data_dir = os.path.join(scratch, "data")
        shutil.copytree(stored, data_dir)
        os.environ["TAVO_DATA_DIR"] = data_dir
        kkv = karteikarten.Karteikartenverwaltung()
        kkv.maximale_wiederholungen_pro_tag = BENCH_REVIEW_LIMIT
        kkv.add_haendesammlung({}, collection)
        return timeit.timeit(lambda: learning_step(kkv), number=STEPS) / STEPS
    finally:
        shutil.rmtree(scratch)


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2.0


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: python_step.py STORED_DATA_DIR COLLECTION")
    stored, collection = sys.argv[1:]
    from tavo import karteikarten
    karteikarten.cf.set_fixed_now(BENCH_NOW)
    times = [seconds_per_step(karteikarten, stored, collection) for _ in range(REPEATS)]
    print(json.dumps({"python": "%d.%d" % sys.version_info[:2],
                      "median_seconds_per_step": median(times),
                      "seconds_per_step": times}))


if __name__ == "__main__":
    main()
