"""kkv report read back with Python's HTML parser, after a scripted history.

Three cards are learnt through a pipe on two frozen days (one answer taken
back with u); the page written on the third day must show the answers of
each day, the cards due on each coming learning day and the weekly share of
"again", as the transcripts of the sessions tell them, and must be one
self-contained page.

    python3 check_report_page.py KKV_PROGRAM
"""
import datetime
import html.parser
import os
import re
import subprocess
import sys
import tempfile
import unittest

KKV = sys.argv.pop(1) if len(sys.argv) > 1 else "kkv"
START_HOUR = 3  # the default start of a learning day
DECK = "Eins\tone\nZwei\ttwo\nDrei\tthree\n"
SESSIONS = [("2026-03-02 10:00", "3\n1\n4\nu\n4\nq\n"), ("2026-03-03 10:00", "3\n3\n3\n3\nq\n")]
REPORT_MOMENT = "2026-03-04 10:00"


class Page(html.parser.HTMLParser):
    """The page's elements with their attributes, and its text."""

    def __init__(self):
        super().__init__()
        self.elements = []
        self.declarations = []

    def handle_starttag(self, tag, attrs):
        self.elements.append((tag, dict(attrs)))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_decl(self, decl):
        self.declarations.append(decl)

    def rects(self, kind):
        return [attrs for tag, attrs in self.elements
                if tag == "rect" and attrs.get("class") == kind]


def kkv(data_dir, moment, *arguments, stdin=""):
    run = subprocess.run([KKV, *arguments, "--data-dir", data_dir, "--now", moment, "--seed", "1"],
                         input=stdin, capture_output=True, text=True,
                         env=dict(os.environ, TZ="Europe/Berlin"))
    if run.returncode != 0:
        raise AssertionError("kkv %s failed: %s" % (arguments, run.stderr))
    return run.stdout


class History:
    """What the transcripts of the sessions say: the answers kept on each
    learning day, how many of them were "again", and each card's due moment."""

    def __init__(self):
        self.answers = {}
        self.again = 0
        self.dues = {}

    def read(self, day, transcript):
        kept = []  # (card, response, due before the answer)
        card = None
        for line in transcript.splitlines():
            if line.startswith("Q: "):
                card = line[3:]
            answered = re.match(r"   (again|hard|good|easy): due (\S+ \S+)", line)
            if answered:
                kept.append((card, answered.group(1), self.dues.get(card)))
                self.dues[card] = datetime.datetime.strptime(answered.group(2), "%Y-%m-%d %H:%M")
            if line.startswith("   undone: "):
                undone_card, _, due_before = kept.pop()
                self.dues[undone_card] = due_before
        self.answers[day] = len(kept)
        self.again += sum(1 for _, response, _ in kept if response == "again")

    def due_forecast(self, today, days=30):
        cards = [0] * days
        for due in self.dues.values():
            day = max(((due - datetime.timedelta(hours=START_HOUR)).date() - today).days, 0)
            if day < days:
                cards[day] += 1
        return cards


class ReportPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.TemporaryDirectory()
        data_dir = os.path.join(cls.directory.name, "data")
        deck = os.path.join(cls.directory.name, "deck.tsv")
        with open(deck, "w") as out:
            out.write(DECK)
        kkv(data_dir, SESSIONS[0][0], "import", deck, "--name", "kk_small")
        cls.history = History()
        for moment, answers in SESSIONS:
            cls.history.read(moment[:10], kkv(data_dir, moment, "learn", stdin=answers))
        page_path = os.path.join(cls.directory.name, "report.html")
        kkv(data_dir, REPORT_MOMENT, "report", page_path)
        with open(page_path, encoding="utf-8") as page_file:
            cls.text = page_file.read()
        cls.page = Page()
        cls.page.feed(cls.text)
        cls.page.close()

    @classmethod
    def tearDownClass(cls):
        cls.directory.cleanup()

    def test_the_answers_of_each_learning_day(self):
        days = self.page.rects("day")
        # 51 whole weeks and the present one up to Wednesday.
        self.assertEqual(len(days), 51 * 7 + 3)
        self.assertEqual(days[0]["data-day"], "2025-03-10")
        self.assertEqual(days[-1]["data-day"], "2026-03-04")
        counts = {day["data-day"]: int(day["data-count"]) for day in days}
        self.assertEqual(self.history.answers, {"2026-03-02": 3, "2026-03-03": 3})
        expected = dict.fromkeys(counts, 0)
        expected.update(self.history.answers)
        self.assertEqual(counts, expected)

    def test_the_cards_due_on_each_coming_learning_day(self):
        due = self.page.rects("due")
        today = datetime.date(2026, 3, 4)
        self.assertEqual([day["data-day"] for day in due],
                         [str(today + datetime.timedelta(days=n)) for n in range(30)])
        forecast = [int(day["data-count"]) for day in due]
        self.assertEqual(forecast, self.history.due_forecast(today))
        self.assertEqual(sum(forecast), 3)

    def test_the_share_of_again_per_week(self):
        weeks = [(week["data-series"], week["data-week"], int(week["data-answers"]),
                  int(week["data-again"])) for week in self.page.rects("week")]
        # Every card is young: none has had an interval of 21 days.
        self.assertEqual(weeks, [("young", "2026-03-02", 6, self.history.again),
                                 ("mature", "2026-03-02", 0, 0)])
        self.assertEqual(self.history.again, 1)
        self.assertIn("young cards (6 answers, 17% again)", self.text)

    def test_one_self_contained_page(self):
        self.assertTrue(self.text.startswith("<!DOCTYPE html>"))
        self.assertEqual(self.page.declarations, ["DOCTYPE html"])
        self.assertEqual(self.page.elements[0], ("html", {"lang": "en"}))
        self.assertIn(("meta", {"charset": "utf-8"}), self.page.elements)
        tags = {tag for tag, _ in self.page.elements}
        self.assertFalse(tags & {"script", "link", "img", "iframe", "object", "embed"})
        self.assertNotRegex(self.text, r"(?i)https?:|\bsrc=|\bhref=|url\(")
        self.assertIn("&quot;again&quot; in total", self.text)


if __name__ == "__main__":
    unittest.main()
