"""The HTML report of the shipped examples, opened in a real browser.

Runs vesk on the shipped basins with the shipped storm, and with the three
storms of the shipped IDF table; has headless Chromium render each report
(its DOM, a PNG and a PDF); checks that the page holds the sections, tables
and figures it should, that the outlet's peak reads as --summary gives it,
and that the file refers to nothing outside itself.

    report_in_browser.py VESK EXAMPLES OUTPUT_DIR

Exits 77 (skipped) with a message when Chromium is missing or cannot start.
"""
import csv
import html.parser
import os
import pathlib
import re
import shutil
import subprocess
import sys

SKIPPED = 77


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def run(command, what):
    done = subprocess.run([str(word) for word in command], capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        fail(f"{what} exited {done.returncode}: {done.stderr}")
    return done


class Page(html.parser.HTMLParser):
    """What the checks need of a page: sections, tables with their cells,
    figures with an SVG, and every attribute that could load something."""

    def __init__(self):
        super().__init__()
        self.sections, self.tables, self.figures, self.references, self.elements = [], {}, [], [], []
        self._table = self._row = self._cell = None
        self._figure = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.elements.append(tag)
        for name in ("src", "href", "xlink:href", "action", "srcset", "poster", "data"):
            if name in attrs:
                self.references.append((tag, name, attrs[name]))
        if tag == "section":
            self.sections.append(attrs.get("id"))
        elif tag == "table":
            self._table = self.tables.setdefault(attrs.get("id") or f"table{len(self.tables)}", [])
        elif tag == "tr" and self._table is not None:
            self._row = {"class": attrs.get("class", ""), "cells": []}
            self._table.append(self._row)
        elif tag in ("td", "th") and self._row is not None:
            self._cell = []
        elif tag == "figure":
            self._figure = {"id": attrs.get("id"), "svg": False, "caption": ""}
            self.figures.append(self._figure)
        elif tag == "svg" and self._figure is not None:
            self._figure["svg"] = True

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self._cell is not None:
            self._row["cells"].append("".join(self._cell).strip())
            self._cell = None
        elif tag == "tr":
            self._row = None
        elif tag == "table":
            self._table = None
        elif tag == "figure":
            self._figure = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell.append(data)


def chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        found = shutil.which(name)
        if found:
            return found
    return None


def browser(program, profile, *arguments):
    command = [program, "--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
               "--disable-background-networking", "--disable-extensions", "--no-first-run",
               "--host-resolver-rules=MAP * ~NOTFOUND", f"--user-data-dir={profile}", *arguments]
    # A sanitized build's preloads are for vesk, not for the browser.
    env = {k: v for k, v in os.environ.items() if k not in ("LD_PRELOAD", "ASAN_OPTIONS", "UBSAN_OPTIONS")}
    try:
        return subprocess.run(command, capture_output=True, text=True, timeout=120, env=env)
    except (OSError, subprocess.TimeoutExpired) as error:
        return error


def outlet_peaks(summary_csv):
    """Each storm's outlet peak as --summary writes it, to six significant digits."""
    with open(summary_csv, newline="") as file:
        rows = [row for row in csv.DictReader(file) if row["basin"] == "outlet"]
    return {row.get("storm", ""): f'{float(row["peak_outflow_cfs"]):.6g}' for row in rows}


def check_static(text, name):
    lowered = text.lower()
    for banned in ("<script", "<link", "<img", "<iframe", "<object", "<embed", "@import", "url(", "http:", "https:"):
        if banned in lowered:
            fail(f"{name} holds '{banned}': the report must stand alone")


def check_page(page, name, storms, peaks):
    expected = ["summary", "figures", "warnings", "storms", "steps", "basins", "inputs"]
    if storms > 1:
        expected.insert(1, "peaks-by-storm")
    if page.sections != expected:
        fail(f"{name}: sections {page.sections}, expected {expected}")
    for tag, attribute, value in page.references:
        if not value.startswith("#"):
            fail(f"{name}: <{tag} {attribute}='{value}'> refers outside the page")
    figures = [f for f in page.figures if f["svg"]]
    if len(figures) != storms or len(page.figures) != storms:
        fail(f"{name}: {len(figures)} figures with a chart for {storms} storms")
    summaries = [key for key in page.tables if key.startswith("summary-")]
    if len(summaries) != storms:
        fail(f"{name}: {len(summaries)} summary tables for {storms} storms")
    for key, storm in zip(sorted(summaries), peaks):
        rows = page.tables[key]
        header = rows[0]["cells"]
        column = next((i for i, cell in enumerate(header) if cell.startswith("peak outflow") and "time" not in cell),
                      None)
        outlet = [row for row in rows if "outlet" in row["class"].split()]
        if column is None or len(outlet) != 1:
            fail(f"{name}: {key} has no peak outflow column or not one outlet row")
        if rows[1] is not outlet[0]:
            fail(f"{name}: {key} does not lead with the outlet")
        shown = outlet[0]["cells"][column]
        if shown != peaks[storm]:
            fail(f"{name}: {key} shows the outlet's peak as {shown}, --summary gives {peaks[storm]}")
    if storms > 1 and "peaks" not in page.tables:
        fail(f"{name}: no table of peaks by storm")
    for key in ("inputs-table", "storms-table"):
        if key not in page.tables:
            fail(f"{name}: no {key}")
    digests = [row["cells"][3] for row in page.tables["inputs-table"][1:]]
    if not digests or not all(re.fullmatch(r"[0-9a-f]{64}", d) for d in digests):
        fail(f"{name}: input digests {digests}")


def render(program, report, output, name):
    profile = output / f"{name}-profile"
    dom = browser(program, profile, "--dump-dom", report.as_uri())
    if not isinstance(dom, subprocess.CompletedProcess) or dom.returncode != 0 or "<html" not in dom.stdout:
        print(f"SKIPPED: Chromium ({program}) could not render a page here: {dom}")
        sys.exit(SKIPPED)
    png, pdf = output / f"{name}.png", output / f"{name}.pdf"
    for path in (png, pdf):
        path.unlink(missing_ok=True)
    browser(program, profile, f"--screenshot={png}", "--window-size=1100,2400", "--hide-scrollbars", report.as_uri())
    browser(program, profile, f"--print-to-pdf={pdf}", "--no-pdf-header-footer", report.as_uri())
    if not png.exists() or png.read_bytes()[:8] != b"\x89PNG\r\n\x1a\n" or png.stat().st_size < 20000:
        fail(f"{name}: no PNG of the page")
    if not pdf.exists() or pdf.read_bytes()[:5] != b"%PDF-":
        fail(f"{name}: no PDF of the page")
    pages = len(re.findall(rb"/Type\s*/Page[^s]", pdf.read_bytes()))
    if pages < 2:
        fail(f"{name}: the PDF has {pages} page(s); the report fills several")
    return dom.stdout


def main():
    vesk, examples, output = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
    output.mkdir(parents=True, exist_ok=True)
    program = chromium()
    if program is None:
        print("SKIPPED: no Chromium found (Debian: chromium, installed by scripts/install-deps)")
        return SKIPPED
    storms = output / "idf_storms.csv"
    run([vesk, "storm", "--idf", examples / "idf.csv", "--return-period", "2,10,100", "--duration", "120",
         "--step", "5", "--out", storms], "vesk storm")
    cases = {"one_storm": [examples / "design_storm_2h.csv"], "three_storms": [storms]}
    for name, rains in cases.items():
        report, summary = output / f"{name}.html", output / f"{name}_summary.csv"
        command = [vesk, "run", examples / "basins.csv", "--report", report, "--summary", summary]
        for rain in rains:
            command += ["--rain", rain]
        run(command, f"vesk run ({name})")
        text = report.read_text(encoding="utf-8")
        check_static(text, name)
        peaks = outlet_peaks(summary)
        page = Page()
        page.feed(render(program, report, output, name))
        check_page(page, name, len(peaks), peaks)
        print(f"{name}: {len(page.sections)} sections, {len(page.tables)} tables, {len(page.figures)} figures; "
              f"PNG and PDF in {output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
