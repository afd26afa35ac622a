#!/usr/bin/env python3
"""Checks that the file readers of catalogues/ and orbitdet/ read their number
fields through their formats' field readers, never with a conversion of their
own. A field read with atof, strtod, StrToFloatDot, ValReal and the like
passes every test that has no bad text in that very field: a lone ".", a word
or a blank then reads as 0 without a word to the user.

The field readers, and the few routines that read numbers of another kind
(text the program wrote itself, a sheet's cell), are named below with the
reason each may convert; a conversion anywhere else in the plain libraries of
those folders is a fault, named with its file, line and routine. The dialogs
(ui/) read typed text and are not looked at."""
import os
import re
import sys
import unittest

from code_layout_test import ROOT, program_files, without_comments

FOLDERS = ["catalogues", "orbitdet"]

CONVERSION = re.compile(
    r"(?<![\w.])(?:std::)?(?P<call>atof|atoi|atol|atoll|strtod|strtof|strtold|strtol|strtoll|strtoul|stod|stof|stold|"
    r"stoi|stol|stoll|stoul|sscanf|from_chars|StrToFloatDot|StrToFloatNoBlanks|StrToExtended|ValReal|"
    r"TextToNumberCallback)\s*\(")

# (file, routine): why it may convert.
ALLOWED = {
    ("catalogues/element_lines.cpp", "ReadNumberField"): "the field reader of the element lists and the user catalogue",
    ("catalogues/element_lines.cpp", "TFieldCursor::Integer"): "the whole-number word of a file (Guide's count)",
    ("catalogues/element_lines.cpp", "ParsePerihelionDateText"): "the year and month of a HomePlanet date",
    ("catalogues/circular_import.cpp", "Number"): "the field reader of the circulars (\".\" only, inner blanks go)",
    ("orbitdet/observation_files.cpp", "ParseReal"): "the field reader of the observation files (\".\" only)",
    ("orbitdet/observation_files.cpp", "ParseInt"): "the whole-number reader of the observation files",
    ("orbitdet/observation_files.cpp", "OwnTextObservationLine"): "a writer reading back the hours it formatted",
    ("orbitdet/observations.cpp", "FieldReal"): "the field reader of stations.txt",
    ("orbitdet/orbit_output.cpp", "ParseStateVectorFile"): "the field reader of the state-vector file",
    ("orbitdet/start_values_file.cpp", "ReadNumber"): "the field reader of the start-values file",
    ("orbitdet/state_capture.cpp", "CellNumber"): "a number in a cell of the sheet, not a file's field",
}

# A routine's definition: a line at the left margin (the code is formatted
# so) naming it before its parameter list.
DEFINITION = re.compile(r"^(?!(?:if|for|while|switch|return|namespace|class|struct|enum)\b)[A-Za-z_][\w:<>,\s\*&\[\]]*?"
                        r"\b(?P<name>[A-Za-z_][\w]*(?:::[A-Za-z_~][\w]*)*)\s*\(")


def routine_at(lines, index):
    """The routine whose definition stands nearest above line `index`."""
    for k in range(index, -1, -1):
        m = DEFINITION.match(lines[k])
        if m:
            return m.group("name")
    return ""


def faults_in(path, text):
    """The conversions in C++ `text` (of `path`) outside the allowed routines."""
    faults = []
    lines = without_comments(text).split("\n")
    for index, line in enumerate(lines):
        for m in CONVERSION.finditer(line):
            routine = routine_at(lines, index)
            if (path, routine) not in ALLOWED:
                faults.append(f"{path}:{index + 1}: {m.group('call')} in {routine or 'no routine'}: read the field "
                              "through its format's field reader (ReadNumberField, TFieldReader)")
    return faults


class NumberFields(unittest.TestCase):
    def test_readers_read_number_fields_through_the_field_reader(self):
        faults = []
        for path in program_files(FOLDERS, (".cpp", ".h"), skip={"ui"}):
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                faults += faults_in(path, f.read())
        self.assertEqual(faults, [], "\n" + "\n".join(faults))

    def test_every_allowed_routine_is_there(self):
        missing = []
        for path, routine in ALLOWED:
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                lines = without_comments(f.read()).split("\n")
            if not any((m := DEFINITION.match(line)) and m.group("name") == routine for line in lines):
                missing.append(f"{path}: {routine}")
        self.assertEqual(missing, [], "an allowed routine that is gone is taken off the list")

    def test_the_check_finds_a_conversion_outside_the_field_readers(self):
        reader = "TLineParse ParseNewLine(const std::string& line, TCometElements& e) {\n  e.H = {call}(text);\n}\n"
        for call in ["atof", "std::strtod", "StrToFloatDot", "ValReal", "std::stod", "std::from_chars"]:
            self.assertEqual(len(faults_in("catalogues/new_format.cpp", reader.replace("{call}", call))), 1, call)
        allowed = "bool ReadNumberField(std::string_view text, double& value) {\n  return StrToFloatDot(t, x);\n}\n"
        self.assertEqual(faults_in("catalogues/element_lines.cpp", allowed), [])
        for line in ["  // atof(text) in a comment\n", "  fields.ReadNumberField(text, x);\n", "  MyValReal(x);\n"]:
            self.assertEqual(faults_in("catalogues/new_format.cpp", "void F() {\n" + line + "}\n"), [], line)


if __name__ == "__main__":
    sys.exit(unittest.main())
