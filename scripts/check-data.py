#!/usr/bin/env python3
"""Sanity checker for the shipped installation data QV.ini and QV.tpl.

Reads both files the way the editor's sectioned-file reader does (GBK bytes,
comment lines starting with ';' or a blank, no trimming, first-match key lookup)
and checks every key, range and structural rule that the settings profile and the
template catalogue enforce at start-up, plus a few authoring rules of our own that
keep formats made from the data loadable again (marked "data rule" below).

Usage: scripts/check-data.py [--ini PATH] [--tpl PATH] [-q] [--self-test]
Exit status 0 when no problem was found, 1 otherwise.
Standard library only.
"""

import argparse
import os
import re
import sys

MAX_LINE = 1022  # the reader takes at most this many characters of a line
BUILTIN_UNIT_TYPES = ["Linear", "Angular", "Temperature", "Pressure"]
# unit type numbers as variables and formats use them
UNIT_TYPE_NUMBER = {"Angular": 1, "Linear": 2, "Temperature": 3, "Pressure": 4}
# letters that the older .frt variant accepts for its two unit lines
OLD_VARIANT_LETTERS = {"Linear": "FMX", "Angular": "DGRSX"}
# variables whose reference always gets unit code 12 (an angular unit code)
UNIT_CODE_12_VARIABLES = {21, 22, 24, 609, 631, 632, 633, 634, 655, 658, 901, 953}
# what the older .frt variant can carry
OLD_VARIANT_BLOCKS = [10, 11, 12, 13, 14, 19]
OLD_VARIANT_APPLICATIONS = [101, 102, 103, 104]
NEW_FILE_TEMPLATE = "Kite_Basic"
INSTRUMENT_FIELD_MAX = 8   # 9-byte header field, NUL included
TEMPLATE_FIELD_MAX = 199   # 200-byte header field, NUL included
FORMAT_STRING_MAX = 1927   # text capacity of one format string
DEFAULT_VALUE_MAX = 20     # the default values page limits its edits to 20 characters
MAX_FLAGS = 8              # more flags than this give every variable a flag digit of 0
WIDTH_LIMIT_NO_DOC = 20    # field width limit of the variable page without a document

_INT_RE = re.compile(r"^[+-]?[0-9]+$")
_STRTOL_RE = re.compile(r"^[ \t\n\v\f\r]*([+-]?[0-9]+)")
_FLOAT_RE = re.compile(
    r"^[ \t\n\v\f\r]*[+-]?(?:(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eEdD][+-]?[0-9]+)?|inf(?:inity)?|nan)",
    re.IGNORECASE)
_STRICT_FLOAT_RE = re.compile(r"^[+-]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?$")


def strtol(text):
    """The standard text-to-long conversion: leading digits, else 0."""
    m = _STRTOL_RE.match(text)
    return int(m.group(1)) if m else 0


def scans_as_double(text):
    """True when sscanf("%lf") converts a value from the text."""
    return bool(_FLOAT_RE.match(text[:199]))


def gbk_len(text):
    return len(text.encode("gbk", errors="replace"))


class Report:
    def __init__(self):
        self.problems = []
        self.notes = []

    def problem(self, where, text):
        self.problems.append("%s: %s" % (where, text))

    def note(self, text):
        self.notes.append(text)


class SectionedFile:
    """The editor's sectioned-file reader, plus bookkeeping of what was read."""

    def __init__(self, name, data, report):
        self.name = name
        self.report = report
        self.sections = {}       # header line without brackets -> list of (line no, text)
        self.header_lines = {}   # section -> first line number of its header
        self.loaded = True
        self.read_keys = {}      # section -> set of keys looked up
        self._decode_and_split(data)

    def _problem(self, text):
        self.report.problem(self.name, text)

    def _decode_and_split(self, data):
        if data.startswith(b"\xef\xbb\xbf"):
            self._problem("starts with a UTF-8 byte order mark; the file must be plain GBK "
                          "(the mark would make the first line an entry line and loading fail)")
        if any(b >= 0x80 for b in data):
            try:
                data.decode("utf-8")
                self._problem("the file decodes as UTF-8 with non-ASCII characters: it was not "
                              "converted to GBK (iconv -f UTF-8 -t GBK)")
            except UnicodeDecodeError:
                pass
        try:
            text = data.decode("gbk")
        except UnicodeDecodeError as e:
            self._problem("byte %d is not valid GBK (%s)" % (e.start, e.reason))
            text = data.decode("gbk", errors="replace")
        raw_lines = text.split("\n")
        current = None
        for number, line in enumerate(raw_lines, 1):
            if line.endswith("\r"):
                line = line[:-1]
            if number == len(raw_lines) and line == "":
                break  # the empty read after the final newline
            if gbk_len(line) > MAX_LINE:
                self._problem("line %d is longer than %d bytes" % (number, MAX_LINE))
            if line.startswith(";") or line.startswith(" "):
                continue
            if line.startswith("["):
                if not line.endswith("]"):
                    self._problem("line %d: section header with text after its closing "
                                  "bracket: %r" % (number, line))
                name = line[1:-1] if line.endswith("]") else line[1:]
                if name in self.sections:
                    self._problem("line %d: section [%s] occurs a second time (its lines are "
                                  "merged into the first one)" % (number, name))
                else:
                    self.sections[name] = []
                    self.header_lines[name] = number
                current = name
                continue
            if current is None:
                self._problem("line %d: entry line before the first section header (an empty "
                              "line counts too): loading FAILS" % number)
                self.loaded = False
                return
            if line == "":
                continue
            if line.startswith("\t"):
                self._problem("line %d begins with a tab; it is an entry line that never "
                              "matches a key" % number)
            elif "=" not in line:
                self._problem("line %d in [%s] has no '=': %r" % (number, current, line))
            else:
                key = line.split("=", 1)[0]
                if key != key.strip():
                    self._problem("line %d in [%s]: blank around the key %r (keys are not "
                                  "trimmed, the entry is not found)" % (number, current, key))
            self.sections[current].append((number, line))
        if not self.sections and self.loaded:
            self._problem("the file holds no section")
        for name, lines in self.sections.items():
            seen = {}
            for number, line in lines:
                if "=" in line:
                    key = line.split("=", 1)[0]
                    if key in seen:
                        self._problem("line %d: key %s occurs twice in [%s] (first at line %d)"
                                      % (number, key, name, seen[key]))
                    else:
                        seen[key] = number

    def has_section(self, section):
        self.read_keys.setdefault(section, set())
        return section in self.sections

    def get(self, section, key):
        """Value of the first line 'key=' of the section, or None."""
        self.read_keys.setdefault(section, set()).add(key)
        prefix = key + "="
        for _, line in self.sections.get(section, []):
            if line.startswith(prefix):
                return line[len(prefix):]
        return None

    def unread(self):
        """Sections never looked up and keys that no lookup asked for."""
        out = []
        for section, lines in self.sections.items():
            if section not in self.read_keys:
                out.append("section [%s] (line %d) is never read"
                           % (section, self.header_lines[section]))
                continue
            for number, line in lines:
                key = line.split("=", 1)[0]
                if "=" in line and key not in self.read_keys[section]:
                    out.append("line %d: key %s of [%s] is never read" % (number, key, section))
        return out


def items(list_text):
    """The FirstItem/NextItem loop: items up to the first empty one, not trimmed."""
    out = []
    rest = (list_text or "") + ","
    while True:
        p = rest.find(",")
        if p < 0:
            break
        item, rest = rest[:p], rest[p + 1:]
        if item == "":
            break
        out.append(item)
    return out


class Checker:
    """Shared checked reads; every problem names the section and key."""

    def __init__(self, f, report):
        self.f = f
        self.report = report

    def problem(self, section, key, text):
        where = "%s [%s]" % (self.f.name, section)
        if key:
            where += " " + key
        self.report.problem(where, text)

    def text(self, section, key, required=True, expected=None):
        value = self.f.get(section, key)
        if value is None or value == "":
            if required:
                self.problem(section, key, "missing or empty")
            return "" if value is None else value
        if expected is not None and value != expected:
            self.problem(section, key, "is %r, must be exactly %r" % (value, expected))
        if value != value.rstrip():
            self.problem(section, key, "value ends with blanks %r (values are not trimmed)"
                         % value)
        return value

    def long(self, section, key, lo=None, hi=None, exception=None, required=True):
        value = self.f.get(section, key)
        if value is None or value == "":
            if required:
                self.problem(section, key, "missing or empty (reads as -9999)")
            return -9999
        if not _INT_RE.match(value):
            self.problem(section, key, "%r is not a plain decimal integer (reads as %d)"
                         % (value, strtol(value)))
        n = strtol(value)
        if lo is not None and (n < lo or n > hi) and n != exception:
            extra = " or %d" % exception if exception is not None else ""
            self.problem(section, key, "%d is outside %d..%d%s" % (n, lo, hi, extra))
        return n

    def real(self, section, key):
        value = self.f.get(section, key)
        if value is None or value == "":
            self.problem(section, key, "missing or empty (a real number is required)")
            return None
        if not scans_as_double(value):
            self.problem(section, key, "%r does not scan as a real number" % value)
            return None
        if not _STRICT_FLOAT_RE.match(value):
            self.problem(section, key, "%r has text beyond its number" % value)
        return float(_FLOAT_RE.match(value).group(0))


# ---------------------------------------------------------------- settings profile

PRINTF_KEYS = {
    "String": [("Align", 0, 1), ("Length", None, None), ("Precision", None, None),
               ("FillCharacter", 0, 1)],
    "Integer": [("Align", 0, 1), ("Length", None, None), ("FillCharacter", 0, 1),
                ("Sign", 0, 1), ("Base", 0, 2)],
    "Float": [("Align", 0, 1), ("Length", None, None), ("Precision", None, None),
              ("FillCharacter", 0, 1), ("Sign", 0, 1), ("Representation", 0, 2),
              ("AlternateFormat", 0, 1)],
    "Character": [("Align", 0, 1), ("Length", None, None)],
}
SCANF_KEYS = {
    "String": [],
    "Integer": [("Base", None, None)],
    "Float": [("Representation", 0, 2)],
    "Character": [],
}
KINDS = ["String", "Integer", "Float", "Character"]


def check_profile(f, report):
    """Returns what the catalogue cross-checks need: units, defaults, last template."""
    c = Checker(f, report)
    info = {"units": {}, "printf": {}, "last": None}
    if not f.loaded:
        return info
    c.text("FileHeader", "Type", expected="FRT_INI")
    for key in ("Version", "Company", "Created", "Comment"):
        c.text("FileHeader", key)

    names = items(c.text("UNITS", "List"))
    seen = []
    for name in names:
        if name in seen:
            c.problem("UNITS", "List", "unit type %s listed twice (message 1106)" % name)
            continue
        seen.append(name)
        info["units"][name] = check_unit_type(c, name)
    for name in BUILTIN_UNIT_TYPES:
        if name not in seen:
            c.problem("UNITS", "List", "built-in unit type %s is missing (message 1105)" % name)

    check_flags(c)

    for key in ("Angular", "Linear", "Temperature", "Pressure"):
        c.real("Scalings", key)
    for key in ("FloatValue", "IntegerValue", "StringValue"):
        value = c.text("DefaultValues", key, required=False)
        if gbk_len(value) > DEFAULT_VALUE_MAX:
            c.problem("DefaultValues", key, "data rule: longer than %d bytes, the default "
                      "values page cannot show it" % DEFAULT_VALUE_MAX)

    for kind in KINDS:
        section = "PrintFDefaultSettings_" + kind
        values = {}
        for key, lo, hi in PRINTF_KEYS[kind]:
            values[key] = c.long(section, key, lo, hi)
        info["printf"][kind] = values
        if 0 < values["Length"] and values["Length"] > WIDTH_LIMIT_NO_DOC:
            c.problem(section, "Length", "data rule: above %d, the variable page lowers it"
                      % WIDTH_LIMIT_NO_DOC)
        # An output conversion without a point cannot be parsed back from a saved format.
        if kind in ("String", "Float") and values["Precision"] < 0:
            c.problem(section, "Precision", "data rule: negative precision gives a conversion "
                      "without '.', which a format cannot parse back on loading")
    for kind in KINDS:
        section = "ScanFDefaultSettings_" + kind
        c.long(section, "SubpressAssignment", 0, 1)
        c.long(section, "Length", 1, 20, exception=-1)
        for key, lo, hi in SCANF_KEYS[kind]:
            c.long(section, key, lo, hi)

    if f.has_section("LastActiveTemplate"):
        info["last"] = (c.text("LastActiveTemplate", "Instrument", required=False),
                        c.text("LastActiveTemplate", "Template", required=False))
    return info


def check_unit_type(c, name):
    section = "UNITS_" + name
    if not c.f.has_section(section):
        c.problem(section, None, "section missing")
    units = []
    n = 0
    while True:
        n += 1
        unit = c.f.get(section, "Unit%d" % n)
        if unit is None or unit == "":
            break
        value = c.f.get(section, "Value%d" % n)
        code = c.f.get(section, "Code%d" % n)
        if value is None or value == "" or code is None or code == "":
            c.problem(section, "Unit%d" % n, "Value%d and Code%d are required (message 1010; "
                      "the unit list ends before unit %d)" % (n, n, n))
            break
        code = c.long(section, "Code%d" % n)
        units.append((unit, value, code))
        # A format keeps one character per unit type and looks it up by Value.
        if len(value) != 1:
            c.problem(section, "Value%d" % n, "data rule: %r must be exactly one character, "
                      "the unit letter of a .frt file" % value)
        elif value == "0":
            c.problem(section, "Value%d" % n, "data rule: '0' means the instrument's own units")
        number = UNIT_TYPE_NUMBER.get(name)
        if number and not 10 * number <= code <= 10 * number + 9:
            c.problem(section, "Code%d" % n, "data rule: %d is outside %d..%d, the unit codes "
                      "of this unit type" % (code, 10 * number, 10 * number + 9))
    for i, (unit, value, code) in enumerate(units):
        for j in range(i):
            if units[j][0] == unit:
                c.problem(section, "Unit%d" % (i + 1), "data rule: name %s repeats Unit%d"
                          % (unit, j + 1))
            if units[j][1] == value:
                c.problem(section, "Value%d" % (i + 1), "data rule: letter %s repeats Value%d "
                          "(only the first can ever be chosen)" % (value, j + 1))
            if units[j][2] == code:
                c.problem(section, "Code%d" % (i + 1), "data rule: code %d repeats Code%d"
                          % (code, j + 1))
    if c.f.get(section, "Unit%d" % (len(units) + 2)) is not None:
        c.problem(section, "Unit%d" % (len(units) + 2), "data rule: unreachable, the unit "
                  "list ends at Unit%d" % (len(units) + 1))
    c.long(section, "Selected", 1, max(len(units), 1) if units else 0)
    if not units:
        c.problem(section, None, "no units: Selected can never be in range")
    return units


def check_flags(c):
    section = "FLAGS"
    if not c.f.has_section(section):
        c.problem(section, None, "data rule: no FLAGS section, variables get no flags")
        return
    names = []
    mask = 0
    n = 0
    while True:
        n += 1
        value = c.f.get(section, "Value%d" % n)
        if value not in ("0", "1"):
            if value is not None and value != "" and strtol(value) in (0, 1):
                c.problem(section, "Value%d" % n, "%r is not a plain 0 or 1" % value)
            elif value is not None:
                c.problem(section, "Value%d" % n, "%r is neither 0 nor 1: the flag list ends "
                          "before flag %d" % (value, n))
            break
        name = c.text(section, "Flag%d" % n)
        c.long(section, "Valid%d" % n, 0, 1)
        if name in names:
            c.problem(section, "Flag%d" % n, "flag name %s repeats: the settings load fails "
                      "without a message" % name)
        names.append(name)
        mask |= int(value) << (n - 1)
    if c.f.get(section, "Flag%d" % n) not in (None, ""):
        c.problem(section, "Flag%d" % n, "data rule: unreachable, the flag list ended")
    if len(names) > MAX_FLAGS:
        c.problem(section, None, "more than %d flags: every variable gets flag digit 0"
                  % MAX_FLAGS)
    if len(names) <= MAX_FLAGS and mask > 9:
        c.problem(section, None, "data rule: the flags that are on make mask %d, more than the "
                  "one flag digit holds: no variable can be inserted" % mask)
    if len(names) != 4:
        c.problem(section, None, "data rule: expected the four flags of the option bits "
                  "1, 2, 4, 8, found %d" % len(names))


# ---------------------------------------------------------------- template catalogue

def check_catalogue(f, report, profile_info):
    c = Checker(f, report)
    cat = {"pool": {}, "templates": [], "instruments": []}
    if not f.loaded:
        return cat
    c.text("FileHeader", "Type", expected="FRT_TPL")
    c.text("FileHeader", "Version")
    for key in ("Company", "Created", "Comment"):
        c.text("FileHeader", key, required=False)

    pool = check_pool(c)
    cat["pool"] = pool

    instruments = items(c.text("Instruments", "InstrumentList"))
    cat["instruments"] = instruments
    if len(set(instruments)) != len(instruments):
        c.problem("Instruments", "InstrumentList", "an instrument is listed twice")
    names_seen = {}
    for ins in instruments:
        if gbk_len(ins) > INSTRUMENT_FIELD_MAX:
            c.problem("Instruments", "InstrumentList", "data rule: instrument %s is longer "
                      "than %d bytes, the .frt header cuts it and the file no longer opens"
                      % (ins, INSTRUMENT_FIELD_MAX))
        for tname in items(c.text("TemplateList", "Template_" + ins)):
            if tname in names_seen:
                c.problem("TemplateList", "Template_" + ins, "template %s also belongs to %s; "
                          "only the first can be found" % (tname, names_seen[tname]))
            names_seen[tname] = ins
            if gbk_len(tname) > TEMPLATE_FIELD_MAX:
                c.problem("TemplateList", "Template_" + ins, "template name %s too long" % tname)
            cat["templates"].append(check_template(c, tname, ins, pool))
    if not cat["templates"]:
        c.problem("TemplateList", None, "no template at all (message 1010)")
    check_catalogue_wide_rules(c, cat, profile_info)
    return cat


def check_pool(c):
    pool = {}
    names = set()
    i = 0
    while True:
        i += 1
        name = c.f.get("Variables", "Name%d" % i)
        if name is None or name == "":
            break
        code = c.long("Variables", "Code%d" % i, 0, 999)
        typ = c.long("Variables", "Type%d" % i, 1, 12, required=False)
        unit_type = c.long("Variables", "UnitType%d" % i, 0, 4, required=False)
        for key, value in (("Type%d" % i, typ), ("UnitType%d" % i, unit_type)):
            if value == -9999:
                c.problem("Variables", key, "missing or empty: the variable loads, but no "
                          "variable reference can be made of it, so it is never offered for "
                          "insertion")
        default = c.text("Variables", "Default%d" % i)
        key = "Name%d" % i
        if code in pool:
            c.problem("Variables", key, "code %d repeats %s (message 1010)"
                      % (code, pool[code]["name"]))
        if name in names:
            c.problem("Variables", key, "name %s repeats (message 1010)" % name)
        if code <= 0:
            c.problem("Variables", "Code%d" % i, "data rule: code 0 can never be allowed in "
                      "a block (it ends a variable list)")
        if code in UNIT_CODE_12_VARIABLES and unit_type not in (0, 1):
            c.problem("Variables", "UnitType%d" % i, "data rule: variable %d always gets unit "
                      "code 12, so it must be angular (1) or without unit (0)" % code)
        check_default(c, i, typ, default)
        names.add(name)
        pool.setdefault(code, {"name": name, "type": typ, "unit": unit_type,
                               "default": default})
    if c.f.get("Variables", "Name%d" % (i + 1)) is not None:
        c.problem("Variables", "Name%d" % (i + 1), "data rule: unreachable, the pool ends at "
                  "the missing Name%d" % i)
    if not pool:
        c.problem("Variables", None, "the variable pool is empty")
    return pool


def check_default(c, i, typ, default):
    key = "Default%d" % i
    if 1 <= typ <= 7 and not _INT_RE.match(default):
        c.problem("Variables", key, "data rule: integer variable with default %r" % default)
    elif 8 <= typ <= 10 and not _STRICT_FLOAT_RE.match(default):
        c.problem("Variables", key, "data rule: floating variable with default %r" % default)
    elif typ == 12 and gbk_len(default) != 1:
        c.problem("Variables", key, "data rule: character variable needs a one-byte "
                  "default, not %r" % default)


def check_template(c, tname, ins, pool):
    t = {"name": tname, "instrument": ins, "apps": [], "exports": [], "imports": [],
         "ok": True}
    gen = tname + "_Generalities"
    if not c.f.has_section(gen):
        c.problem(gen, None, "section missing")
    g = {}
    for key, hi in (("StrLength", 10000), ("FileHeader", 1), ("FileHeaderLength", 10000),
                    ("FileFooter", 1), ("FileFooterLength", 10000),
                    ("PrintFDefaultStrings", 1)):
        g[key] = c.long(gen, key, 0, hi)
    t["gen"] = g
    for flag, length in (("FileHeader", "FileHeaderLength"), ("FileFooter", "FileFooterLength")):
        if (g[flag] == 1) != (g[length] > 0):
            c.problem(gen, length, "data rule: %s=%d does not fit %s=%d"
                      % (flag, g[flag], length, g[length]))
    if g["StrLength"] < 1:
        c.problem(gen, "StrLength", "data rule: the field width limit must be at least 1")

    for item in items(c.text(tname + "_Applications", "List")):
        section = tname + "_Application_" + item
        if not c.f.has_section(section):
            c.problem(section, None, "section missing")
        app = {"item": item, "id": c.long(section, "Id", 0, 999),
               "header": c.long(section, "Header", 0, 10000)}
        for other in t["apps"]:
            if other["id"] == app["id"]:
                c.problem(section, "Id", "data rule: number %d repeats application %s"
                          % (app["id"], other["item"]))
            if other["item"] == item:
                c.problem(tname + "_Applications", "List", "item %s listed twice" % item)
        t["apps"].append(app)

    lists = tname + "_Formatstring_List"
    for kind, direction in (("Export", "exports"), ("Import", "imports")):
        for item in items(c.text(lists, kind, required=False)):
            d = check_definition(c, tname, kind, item, pool, g["PrintFDefaultStrings"])
            for other in t[direction]:
                if other["id"] == d["id"]:
                    c.problem(d["section"], "ID", "block type %d is also %s (message 1010)"
                              % (d["id"], other["item"]))
            if not t["apps"] and d["strcount"] != 0:
                c.problem(d["section"], "StrCount", "string count %d in a template without "
                          "applications (message 1010)" % d["strcount"])
            if kind == "Export" and t["apps"] and d["strcount"] > len(t["apps"]):
                c.problem(d["section"], "StrCount", "data rule: more strings than "
                          "applications, each application uses at most one string per block")
            if d["length"] > FORMAT_STRING_MAX:
                c.problem(d["section"], "Length", "data rule: above the format string "
                          "capacity %d" % FORMAT_STRING_MAX)
            t[direction].append(d)
    if not t["exports"] and not t["imports"]:
        c.problem(lists, None, "template %s has no definition (message 1010)" % tname)
    t["count_strings"] = count_strings(t)
    return t


def check_definition(c, tname, kind, item, pool, default_strings):
    section = "%s_%s_%s" % (tname, kind, item)
    if not c.f.has_section(section):
        c.problem(section, None, "section missing")
    d = {"item": item, "kind": kind, "section": section,
         "id": c.long(section, "ID", 0, 99),
         "length": c.long(section, "Length", 0, 10000),
         "strcount": c.long(section, "StrCount", 0, 10000),
         "varcount": c.long(section, "VarCount", 0, 10000),
         "header": c.long(section, "Header", 0, 10000),
         "restriction": 0, "codes": []}
    if kind == "Import":
        d["restriction"] = c.long(section, "Restriction", 0, 1)
        if d["header"] not in (0, 1):
            c.problem(section, "Header", "data rule: an import header is 0 or 1")
    vsection = section + "_Variables"
    j = 0
    while True:
        j += 1
        value = c.f.get(vsection, "Code%d" % j)
        if value is None or value == "" or strtol(value) <= 0:
            if value not in (None, ""):
                c.problem(vsection, "Code%d" % j, "data rule: %r ends the list" % value)
            break
        code = c.long(vsection, "Code%d" % j, 0, 999)
        if code not in pool:
            c.problem(vsection, "Code%d" % j, "code %d is not in the variable pool "
                      "(message 1010)" % code)
            break
        if code in d["codes"]:
            c.problem(vsection, "Code%d" % j, "data rule: code %d listed twice" % code)
        d["codes"].append(code)
    if c.f.get(vsection, "Code%d" % (j + 1)) is not None:
        c.problem(vsection, "Code%d" % (j + 1), "data rule: unreachable, the list ended at "
                  "Code%d" % j)
    if d["strcount"] <= 0 and d["header"] <= 0 and default_strings <= 0:
        c.problem(section, None, "string count, header and default strings flag are all 0 "
                  "(message 1010)")
    if not d["codes"] and d["varcount"] > 0:
        c.problem(vsection, None, "data rule: VarCount %d but no allowed variable"
                  % d["varcount"])
    if d["codes"] and d["varcount"] <= 0:
        c.problem(section, "VarCount", "data rule: allowed variables but VarCount 0")
    return d


def count_strings(t):
    n = (t["gen"]["FileHeader"] == 1) + (t["gen"]["FileFooter"] == 1)
    n += sum(1 for a in t["apps"] if a["header"] > 0)
    for d in t["exports"]:
        n += (d["header"] > 0) + d["strcount"] + (t["gen"]["PrintFDefaultStrings"] == 1)
    for d in t["imports"]:
        n += d["strcount"] + (d["restriction"] == 1) + (d["header"] == 1)
    return n


def check_catalogue_wide_rules(c, cat, profile_info):
    templates = {t["name"]: t for t in reversed(cat["templates"])}
    basic = templates.get(NEW_FILE_TEMPLATE)
    if basic is None:
        c.problem("TemplateList", None, "no template %s: the new-file command does nothing"
                  % NEW_FILE_TEMPLATE)
    else:
        blocks = {d["id"] for d in basic["exports"]}
        missing = [b for b in OLD_VARIANT_BLOCKS if b not in blocks]
        if missing:
            c.problem(NEW_FILE_TEMPLATE + "_Formatstring_List", "Export", "data rule: export "
                      "block types %s of the older .frt variant are missing" % missing)
        ids = {a["id"] for a in basic["apps"]}
        missing = [a for a in OLD_VARIANT_APPLICATIONS if a not in ids]
        if missing:
            c.problem(NEW_FILE_TEMPLATE + "_Applications", "List", "data rule: applications "
                      "%s of the older .frt variant are missing" % missing)
    if cat["templates"] and not any(t["gen"]["PrintFDefaultStrings"] == 1
                                    for t in cat["templates"]):
        c.problem("TemplateList", None, "data rule: no template has PrintFDefaultStrings=1")
    used = {code for t in cat["templates"] for d in t["exports"] + t["imports"]
            for code in d["codes"]}
    for code, v in sorted(cat["pool"].items()):
        if code not in used:
            c.problem("Variables", None, "data rule: variable %d %s is allowed in no block"
                      % (code, v["name"]))
    # printf default widths above a template's limit are lowered by the variable page
    for t in cat["templates"]:
        limit = t["gen"]["StrLength"]
        for kind, values in profile_info.get("printf", {}).items():
            if values.get("Length", 0) > limit:
                c.problem(t["name"] + "_Generalities", "StrLength", "data rule: below the "
                          "default %s width %d of QV.ini" % (kind, values["Length"]))
    last = profile_info.get("last")
    if last and (last[0] or last[1]):
        t = templates.get(last[1])
        if t is None or t["instrument"] != last[0]:
            c.report.problem("QV.ini [LastActiveTemplate]", "data rule: %s/%s is no template "
                             "of the catalogue" % last)


# ---------------------------------------------------------------- driver

def run_checks(ini_data, tpl_data):
    report = Report()
    ini = SectionedFile("QV.ini", ini_data, report)
    profile_info = check_profile(ini, report)
    tpl = SectionedFile("QV.tpl", tpl_data, report)
    cat = check_catalogue(tpl, report, profile_info)
    for f in (ini, tpl):
        if f.loaded:
            for text in f.unread():
                report.problem(f.name, "data rule: " + text)
    for name, units in profile_info["units"].items():
        letters = OLD_VARIANT_LETTERS.get(name)
        if letters:
            odd = [v for _, v, _ in units if v not in letters]
            if odd:
                report.note("%s units %s cannot be written to an older-variant .frt file"
                            % (name, ",".join(odd)))
    for t in cat["templates"]:
        report.note("template %s (%s): %d applications, %d export and %d import definitions, "
                    "at most %d format strings" % (t["name"], t["instrument"], len(t["apps"]),
                                                   len(t["exports"]), len(t["imports"]),
                                                   t["count_strings"]))
    report.note("variable pool: %d variables" % len(cat["pool"]))
    return report


def self_test(ini_data, tpl_data):
    """Each broken variant of the shipped data must be reported with the given text."""
    ini = ini_data.decode("gbk")
    tpl = tpl_data.decode("gbk")

    def enc(text):
        return text.encode("gbk")

    def one(old, new, text):
        assert old in text, old
        return text.replace(old, new, 1)

    cases = [
        ("blank first line", enc("\n" + ini), enc(tpl), "before the first section header"),
        ("utf-8 file", ini.encode("utf-8"), enc(tpl), "not converted to GBK"),
        ("byte order mark", b"\xef\xbb\xbf" + enc(ini), enc(tpl), "byte order mark"),
        ("ini type", enc(one("Type=FRT_INI", "Type=FRT_TPL", ini)), enc(tpl), "must be exactly"),
        ("blank around =", enc(one("Version=1.00", "Version = 1.00", ini)), enc(tpl),
         "blank around the key"),
        ("unit type twice", enc(one("List=Linear,", "List=Linear,Linear,", ini)), enc(tpl),
         "listed twice"),
        ("unit type missing", enc(one("List=Linear,Angular,", "List=Linear,,Angular,", ini)),
         enc(tpl), "is missing (message 1105)"),
        ("selected out of range", enc(one("Selected=1", "Selected=9", ini)), enc(tpl),
         "outside 1.."),
        ("two-letter unit", enc(one("Value1=M", "Value1=MM", ini)), enc(tpl),
         "exactly one character"),
        ("missing unit value", enc(one("Value2=F\n", "", ini)), enc(tpl), "are required"),
        ("bad scale", enc(one("Linear=1.0", "Linear=eins", ini)), enc(tpl),
         "does not scan as a real number"),
        ("scanf length", enc(one("SubpressAssignment=0\nLength=-1",
                                 "SubpressAssignment=0\nLength=21", ini)), enc(tpl),
         "outside 1..20 or -1"),
        ("string precision", enc(one("Precision=0", "Precision=-1", ini)), enc(tpl),
         "negative precision"),
        ("flag mask", enc(one("Value2=0", "Value2=1", one("Value4=0", "Value4=1", ini))),
         enc(tpl), "flag digit holds"),
        ("flag repeat", enc(one("Flag2=", "Flag2=按比例因子缩放\nX=", ini)), enc(tpl),
         "repeats"),
        ("tpl type", enc(ini), enc(one("Type=FRT_TPL", "Type=FRT_TPL ", tpl)),
         "must be exactly"),
        ("pool code repeat", enc(ini), enc(one("Code2=2\n", "Code2=1\n", tpl)), "repeats"),
        ("pool gap", enc(ini), enc(one("Name3=", "Gone3=", tpl)), "unreachable"),
        ("type range", enc(ini), enc(one("Type1=11", "Type1=13", tpl)), "outside 1..12"),
        ("type missing", enc(ini), enc(one("UnitType1=0\n", "", tpl)), "never offered"),
        ("unit code 12 rule", enc(ini), enc(one("UnitType17=1", "UnitType17=2", tpl)),
         "must be angular"),
        ("code not in pool", enc(ini), enc(one("Code1=1\nCode2=2\nCode3=3\nCode4=4\nCode5=11",
                                               "Code1=1\nCode2=2\nCode3=3\nCode4=4\nCode5=998",
                                               tpl)), "not in the variable pool"),
        ("block type twice", enc(ini), enc(one("ID=11", "ID=10", tpl)), "is also"),
        ("no Kite_Basic", enc(ini), enc(tpl.replace("Kite_Basic", "Kite_Plain")), "Kite_Basic"),
        ("instrument too long", enc(ini), enc(tpl.replace("GC-Q3", "GC-Q3-ROVER")),
         "longer than 8 bytes"),
        ("nothing to hold", enc(ini), enc(one("StrCount=2\nVarCount=8\nHeader=0",
                                              "StrCount=0\nVarCount=8\nHeader=0",
                                              tpl.replace("PrintFDefaultStrings=1",
                                                          "PrintFDefaultStrings=0"))),
         "are all 0"),
        ("no applications", enc(ini),
         enc(one("[Kite_GNSS_Lite_Applications]\nList=点测量",
                 "[Kite_GNSS_Lite_Applications]\nList=", tpl)), "without applications"),
    ]
    failures = 0
    for name, ini_case, tpl_case, expected in cases:
        report = run_checks(ini_case, tpl_case)
        if not any(expected in p for p in report.problems):
            failures += 1
            print("self-test %s: expected a problem with %r, got:" % (name, expected))
            for p in report.problems[:10]:
                print("    " + p)
    clean = run_checks(ini_data, tpl_data)
    print("self-test: %d of %d broken variants detected; shipped data %s"
          % (len(cases) - failures, len(cases),
             "clean" if not clean.problems else "has %d problems" % len(clean.problems)))
    return failures == 0


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--ini", default=os.path.join(root, "data", "Global", "QV.ini"))
    parser.add_argument("--tpl", default=os.path.join(root, "data", "Templates", "Quarvel",
                                                      "QV.tpl"))
    parser.add_argument("-q", "--quiet", action="store_true", help="print problems only")
    parser.add_argument("--self-test", action="store_true",
                        help="check that broken variants of the data are caught")
    args = parser.parse_args()
    try:
        with open(args.ini, "rb") as fh:
            ini_data = fh.read()
        with open(args.tpl, "rb") as fh:
            tpl_data = fh.read()
    except OSError as e:
        print("cannot read %s: %s" % (e.filename, e.strerror), file=sys.stderr)
        return 1
    if args.self_test:
        return 0 if self_test(ini_data, tpl_data) else 1
    report = run_checks(ini_data, tpl_data)
    if not args.quiet:
        for note in report.notes:
            print("note: " + note)
    for p in report.problems:
        print("problem: " + p)
    if report.problems:
        print("%d problem(s) found" % len(report.problems))
        return 1
    if not args.quiet:
        print("ok: %s and %s pass" % (args.ini, args.tpl))
    return 0


if __name__ == "__main__":
    sys.exit(main())
