"""Prints the benchmark figures against their targets as one table.

    report.py RESULTS_DIR

RESULTS_DIR holds the JSON output of each benchmark program (<theme>.json, as
written by --benchmark_out) and of python_step.py (python2.json, python3.json).
Each figure is the median over the repetitions (the single run where a case runs
once); a ratio is computed from two medians.
"""
import json
import os
import re
import sys

MAX, EXACTLY = "<=", "=="


class Results:
    def __init__(self, directory):
        self.directory = directory
        self.medians = {}
        for theme in ("scheduling", "card_choice", "learning_step", "statistics", "storage",
                      "memory"):
            self._read_program(theme)

    def _read_program(self, theme):
        path = os.path.join(self.directory, theme + ".json")
        if not os.path.exists(path):
            return
        with open(path) as output:
            for run in json.load(output)["benchmarks"]:
                single = run.get("run_type") == "iteration"
                if single or run.get("aggregate_name") == "median":
                    self.medians[case_of(run["run_name"])] = run

    def seconds(self, case):
        run = self.medians.get(case)
        if run is None or run.get("error_occurred"):
            return None
        return run["real_time"] * UNIT_SECONDS[run["time_unit"]]

    def counter(self, case, name):
        run = self.medians.get(case)
        return None if run is None else run.get(name)

    def python_step(self, major):
        path = os.path.join(self.directory, "python%d.json" % major)
        if not os.path.exists(path):
            return None
        with open(path) as output:
            return json.load(output)["median_seconds_per_step"]


UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def case_of(run_name):
    """The case without the run settings google-benchmark appends to its name."""
    return re.sub(r"/(iterations:\d+|repeats:\d+|real_time)", "", run_name)


def ratio(a, b):
    return None if a is None or b is None else a / b


def time_text(seconds):
    for unit, size in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6)):
        if seconds >= size:
            return "%.3g %s" % (seconds / size, unit)
    return "%.3g ns" % (seconds / 1e-9)


def number_text(value):
    return "%.3g" % value


def bytes_text(value):
    return "%.0f B" % value


def rows(results):
    """(figure, value, how to print it, comparison, target) for every figure."""
    s = results.seconds
    step_10k = s("learning_step_good/10000")
    step_100k = s("learning_step_good/100000")
    commit = s("durable_single_row_commit")
    return [
        ("schedule preview, learned card", s("preview_good_of_learned_card"), time_text, MAX,
         100e-9),
        ("get_interval_responses", s("interval_responses"), time_text, MAX, 1e-6),
        ("get_card, 1,000 cards", s("one_collection/1000"), time_text, None, None),
        ("get_card, 10,000 cards", s("one_collection/10000"), time_text, MAX, 0.8e-3),
        ("get_card, 100,000 cards", s("one_collection/100000"), time_text, MAX, 3e-3),
        ("get_card, 1,000,000 cards", s("one_collection/1000000"), time_text, MAX, 30e-3),
        ("get_card, 10 x 100,000 cards", s("ten_collections/100000"), time_text, None, None),
        ("get_card growth 1,000,000 / 100,000",
         ratio(s("one_collection/1000000"), s("one_collection/100000")), number_text, MAX, 11),
        ("learning step, 10,000 cards", step_10k, time_text, None, None),
        ("learning step, 100,000 cards", step_100k, time_text, None, None),
        ("durable single-row SQLite commit", commit, time_text, None, None),
        ("learning step 10,000 / commit", ratio(step_10k, commit), number_text, MAX, 3),
        ("learning step 100,000 / commit", ratio(step_100k, commit), number_text, MAX, 3),
    ] + statistics_rows(results) + [
        ("register stored 100,000 cards", s("register_stored_collection"), time_text, MAX,
         300e-3),
        ("save after one answer, 100,000", s("save_after_one_answer"), time_text, MAX, 1e-3),
        ("card rows that save wrote", results.counter("save_after_one_answer", "card_rows"),
         number_text, EXACTLY, 1),
        ("resident memory per card, 1,000,000",
         results.counter("resident_bytes_per_card", "bytes_per_card"), bytes_text, MAX, 400),
    ] + python_rows(results, step_10k)


def statistics_rows(results):
    found = []
    for case, what in (("record_repetition", "repetition"), ("record_answer_time", "answer time"),
                       ("record_logged_answer", "logged answer")):
        empty = results.seconds(case + "/days:0")
        year = results.seconds(case + "/days:365")
        found += [
            ("record %s, empty history" % what, empty, time_text, None, None),
            ("record %s, a year of history" % what, year, time_text, None, None),
            ("record %s, year / empty" % what, ratio(year, empty), number_text, MAX, 1.3),
        ]
    return found


def python_rows(results, step_10k):
    found = []
    for major, version in ((2, "2.7"), (3, "3")):
        step = results.python_step(major)
        found += [
            ("Python %s learning step, 10,000" % version, step, time_text, None, None),
            ("Python %s step / C++ step" % version, ratio(step, step_10k), number_text, MAX, 1.5),
        ]
    return found


def verdict(value, comparison, target):
    if comparison is None:
        return ""
    if value is None:
        return "MISSED"
    met = value <= target if comparison == MAX else abs(value - target) < 1e-9
    return "ok" if met else "MISSED"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: report.py RESULTS_DIR")
    table = [("figure", "median", "target", "")]
    for figure, value, text, comparison, target in rows(Results(sys.argv[1])):
        table.append((figure, "no result" if value is None else text(value),
                      "" if comparison is None else "%s %s" % (comparison, text(target)),
                      verdict(value, comparison, target)))
    widths = [max(len(row[column]) for row in table) for column in range(3)]
    for row in table:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)) + "  " + row[3])


if __name__ == "__main__":
    main()
