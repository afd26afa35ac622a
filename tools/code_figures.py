#!/usr/bin/env python3
"""Prints figures on the shape of the program code (the folders of the
README's layout table from platform/ to app/), for one git revision:

  - include arrows inside app/ that close a cycle: a module (a header with
    the source file of the same name) that the main window reaches through
    its includes and that includes the window back; and every arrow that
    lies on a cycle between two or more modules of app/ (an upward arrow
    with the ones it closes the cycle with);
  - include loops between modules of every folder: the sets of modules
    that reach each other through their includes (a loop of two or more),
    counted by folder;
  - files that include app/ui/main_window.h (program code, then tests and
    benchmarks) and files of app/ that take the window (`TMainForm&`);
  - declarations of functions and constructors with ten or more parameters
    (a declaration in a header and its definition count once);
  - mutable variables at namespace scope, and how many are declared extern;
  - pairs of repeated blocks that `duplicates` finds, all and identical text.

Usage: tools/code_figures.py [REV] (default HEAD; run inside the checkout).
The figures come from reading the text, not from a compiler: they are for
comparing one revision with another, not exact counts.
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile

PROGRAM_FOLDERS = ["platform", "core", "theories", "engine", "catalogues", "setup", "tables", "eclipses",
                   "events", "orbitdet", "app"]
WINDOW = "app/ui/main_window"


def git(*args):
    return subprocess.run(["git", *args], capture_output=True, text=True, check=True).stdout


def source_files(rev, folders):
    names = git("ls-tree", "-r", "--name-only", rev, "--", *folders).split()
    return [n for n in names if n.endswith((".h", ".cpp", ".inc"))]


def read(rev, name):
    return git("show", f"{rev}:{name}")


# --- text without comments and literals --------------------------------------

TOKEN = re.compile(r"""
    (?P<skip>//[^\n]*|/\*.*?\*/|\#(?:[^\n\\]|\\.|\\\n)*)
  | (?P<str>R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)"|"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*')
  | (?P<word>[A-Za-z_]\w*)
  | (?P<num>\d[\w.']*)
  | (?P<op>::|->|&&|\|\||<<=|>>=|[-+*/%&|^!=<>]=|\S)
""", re.S | re.X)


def tokens(text):
    out = []
    for m in TOKEN.finditer(text):
        if m.lastgroup == "skip":
            continue
        out.append("\"\"" if m.group("str") else m.group(0))
    return out


KEYWORDS = {"return", "new", "delete", "else", "case", "throw", "sizeof", "co_return", "do", "if", "while",
            "for", "switch", "catch", "alignof", "decltype", "noexcept", "static_assert", "operator", "using",
            "typedef", "template", "typename", "goto", "co_await", "co_yield", "requires", "and", "or", "not"}
SCOPE_WORDS = {"namespace", "class", "struct", "union", "enum"}
AFTER_DECLARATOR = {";", "{", "const", "override", "noexcept", "final", "=", "->", ":", "&", "&&", "[", "volatile"}


def matching(toks, i, open_, close):
    depth = 0
    for j in range(i, len(toks)):
        if toks[j] == open_:
            depth += 1
        elif toks[j] == close:
            depth -= 1
            if depth == 0:
                return j
    return len(toks) - 1


def count_parameters(toks, start, end):
    """Top-level parameters between the parentheses at start and end."""
    inner = toks[start + 1:end]
    if not inner or inner == ["void"]:
        return 0
    depth = 0
    angle = 0
    count = 1
    for k, t in enumerate(inner):
        if t in "([{":
            depth += 1
        elif t in ")]}":
            depth -= 1
        elif t == "<" and k > 0 and re.match(r"\w", inner[k - 1]) and depth == 0:
            angle += 1
        elif t == ">" and angle > 0 and depth == 0:
            angle -= 1
        elif t == "," and depth == 0 and angle == 0:
            count += 1
    return count


def scopes(toks):
    """For each '{', whether it opens a namespace or class scope (True) or a
    block (False), with the class name where there is one."""
    kinds = {}
    for i, t in enumerate(toks):
        if t != "{":
            continue
        j = i - 1
        name = ""
        kind = None
        # Walk back over the head of the scope: 'class X final : public Y {'.
        while j >= 0 and toks[j] not in (";", "{", "}", ")"):
            if toks[j] in SCOPE_WORDS:
                kind = toks[j]
                if j + 1 < i and re.match(r"[A-Za-z_]", toks[j + 1]):
                    name = toks[j + 1]
            j -= 1
        if kind is None and j >= 0 and toks[j] == ")" and i >= 3 and toks[i - 1] == "\"\"" and toks[i - 2] == "extern":
            kind = "namespace"
        if kind is None and i >= 2 and toks[i - 1] == "\"\"" and toks[i - 2] == "extern":
            kind = "namespace"
        kinds[i] = (kind is not None and kind != "enum", name if kind in ("class", "struct", "union") else "")
    return kinds


def declarations(toks):
    """(class, name, parameter count) of every function or constructor
    declared or defined at namespace or class scope."""
    kinds = scopes(toks)
    stack = []  # (is_scope, class name)
    found = []
    i = 0
    while i < len(toks):
        t = toks[i]
        if t == "{":
            stack.append(kinds.get(i, (False, "")))
        elif t == "}":
            if stack:
                stack.pop()
        elif t == "(" and all(s for s, _ in stack) and i > 0 and re.match(r"~?[A-Za-z_]\w*$", toks[i - 1]) \
                and toks[i - 1] not in KEYWORDS:
            close = matching(toks, i, "(", ")")
            after = toks[close + 1] if close + 1 < len(toks) else ";"
            # The qualified name before the parenthesis.
            j = i - 1
            parts = [toks[j]]
            while j >= 2 and toks[j - 1] == "::":
                j -= 2
                parts.insert(0, toks[j])
            if j >= 1 and toks[j - 1] == "~":
                j -= 1
            before = toks[j - 1] if j >= 1 else ";"
            enclosing = next((n for s, n in reversed(stack) if n), "")
            is_ctor = (len(parts) >= 2 and parts[-1] == parts[-2]) or parts[-1] == enclosing
            typed = (re.match(r"[A-Za-z_]", before) and before not in KEYWORDS) or before in (">", "*", "&", "&&")
            if (typed or (is_ctor and before in (";", "{", "}", ":", "explicit"))) and after in AFTER_DECLARATOR:
                owner = parts[-2] if len(parts) >= 2 else enclosing
                found.append((owner, parts[-1], count_parameters(toks, i, close)))
                i = close
        i += 1
    return found


def mutable_globals(toks):
    """(name, extern) of every variable at namespace scope that is not const."""
    kinds = scopes(toks)
    stack = []
    result = []
    statement = []
    i = 0
    while i < len(toks):
        t = toks[i]
        at_namespace = all(s for s, n in stack) and not any(n for s, n in stack)
        if t == "{":
            kind = kinds.get(i, (False, ""))
            if at_namespace and not kind[0]:
                # A function body or a brace initialiser at namespace scope.
                close = matching(toks, i, "{", "}")
                if "(" in statement and "=" not in statement[:statement.index("(")]:
                    statement = []  # function definition
                else:
                    statement.append("{}")
                i = close + 1
                continue
            stack.append(kind)
            statement = []
        elif t == "}":
            if stack:
                stack.pop()
            statement = []
        elif t == ";":
            if at_namespace and statement:
                variable = classify(statement)
                if variable:
                    result.append(variable)
            statement = []
        elif at_namespace:
            statement.append(t)
        i += 1
    return result


def classify(statement):
    first = statement[0]
    if first in ("using", "typedef", "template", "friend", "static_assert", "namespace", "class", "struct",
                 "union", "enum", "public", "private", "protected", "concept") or first.startswith("Q_"):
        return None
    cut = len(statement)
    for k, t in enumerate(statement):
        if t in ("=", "{}", "["):
            cut = k
            break
    head = statement[:cut]
    if "(" in head or "operator" in head:
        return None  # a function declaration
    if "const" in head or "constexpr" in head:
        # A pointer to const data stays mutable: 'const char* p'.
        if not ("*" in head and head[-2:-1] == ["*"]) or "constexpr" in head or head[-2:-1] == ["const"]:
            return None
    names = [t for t in head if re.match(r"[A-Za-z_]\w*$", t)]
    if len(names) < 2:
        return None
    return (head[-1], "extern" in head)


# --- the include graph of app/ -------------------------------------------------

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def app_figures(rev, texts):
    def module(name):
        return name.rsplit(".", 1)[0]

    edges = set()
    for name, text in texts.items():
        if not name.startswith("app/"):
            continue
        for target in INCLUDE.findall(text):
            if target.startswith("app/") and module(target) != module(name):
                edges.add((module(name), module(target)))
    adjacent = collections.defaultdict(set)
    for a, b in edges:
        adjacent[a].add(b)
    reached, todo = set(), [WINDOW]
    while todo:
        for b in adjacent[todo.pop()]:
            if b not in reached:
                reached.add(b)
                todo.append(b)
    upward = sorted(a for a, b in edges if b == WINDOW and a in reached)

    def reaches(start, goal):
        seen, todo = set(), [start]
        while todo:
            for b in adjacent[todo.pop()]:
                if b == goal:
                    return True
                if b not in seen:
                    seen.add(b)
                    todo.append(b)
        return False

    # Every arrow that lies on a cycle between modules of app/: one of them
    # points upward, against the order the others set.
    cyclic = sorted(f"{a} -> {b}" for a, b in edges if reaches(b, a))
    return upward, cyclic


def include_loops(texts):
    """The include loops between modules (a header with the source file of
    the same name) of the program code: each a sorted list of two or more
    modules that all reach each other."""
    def module(name):
        return name.rsplit(".", 1)[0]

    adjacent = collections.defaultdict(set)
    for name, text in texts.items():
        for target in INCLUDE.findall(text):
            if target in texts and module(target) != module(name):
                adjacent[module(name)].add(module(target))
    modules = sorted({module(n) for n in texts})

    # Tarjan's strongly connected components, without recursion.
    index, low, on_stack, stack, loops = {}, {}, set(), [], []
    for root in modules:
        if root in index:
            continue
        work = [(root, iter(sorted(adjacent[root])))]
        index[root] = low[root] = len(index)
        stack.append(root)
        on_stack.add(root)
        while work:
            node, successors = work[-1]
            advanced = False
            for nxt in successors:
                if nxt not in index:
                    index[nxt] = low[nxt] = len(index)
                    stack.append(nxt)
                    on_stack.add(nxt)
                    work.append((nxt, iter(sorted(adjacent[nxt]))))
                    advanced = True
                    break
                if nxt in on_stack:
                    low[node] = min(low[node], index[nxt])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    loops.append(sorted(component))
    return sorted(loops)


def duplicate_figures(rev):
    folder = tempfile.mkdtemp(prefix="kvx-figures-")
    try:
        archive = subprocess.run(["git", "archive", rev, "--", *PROGRAM_FOLDERS], capture_output=True, check=True)
        subprocess.run(["tar", "-x", "-C", folder], input=archive.stdout, check=True)
        line = subprocess.run(["duplicates", "--most", "1", "--seconds", "300"], cwd=folder, capture_output=True,
                              text=True).stdout.splitlines()[0]
    except (OSError, subprocess.CalledProcessError, IndexError):
        return None
    finally:
        shutil.rmtree(folder)
    m = re.match(r"(\d+) pairs.*?\((\d+) by shape alone", line)
    if not m:
        return None
    pairs, shape = int(m.group(1)), int(m.group(2))
    return pairs, pairs - shape


def main():
    rev = sys.argv[1] if len(sys.argv) > 1 else "HEAD"
    names = source_files(rev, PROGRAM_FOLDERS)
    texts = {n: read(rev, n) for n in names}

    upward, cyclic = app_figures(rev, texts)
    print(f"include arrows inside app/ that close a cycle through the window: {len(upward)}")
    print(f"include arrows inside app/ on a cycle between modules: {len(cyclic)}")
    loops = include_loops(texts)
    by_folder = collections.Counter(loop[0].rsplit("/", 1)[0] for loop in loops)
    folders = ", ".join(f"{folder} {count}" for folder, count in sorted(by_folder.items()))
    print(f"include loops between modules: {len(loops)}" + (f" ({folders})" if folders else ""))

    window_header = f'#include "{WINDOW}.h"'
    including = [n for n, t in texts.items() if window_header in t and not n.startswith(WINDOW)]
    others = [n for n in source_files(rev, ["tests", "bench"]) if window_header in read(rev, n)]
    taking = [n for n, t in texts.items() if n.startswith("app/") and re.search(r"TMainForm\s*&", t)]
    print(f"files that include {WINDOW}.h: {len(including)} of the program code, {len(others)} tests and benchmarks")
    print(f"files of app/ that take the window (TMainForm&): {len(taking)}")

    long_declarations = set()
    variables = {}
    for name, text in texts.items():
        toks = tokens(text)
        for owner, function, count in declarations(toks):
            if count >= 10:
                long_declarations.add((owner, function, count))
        if name.endswith((".h", ".cpp")):
            for variable, extern in mutable_globals(toks):
                variables.setdefault(variable, False)
                variables[variable] |= extern
    print(f"declarations with 10 or more parameters: {len(long_declarations)}")
    print(f"mutable variables at namespace scope: {len(variables)} ({sum(variables.values())} declared extern)")

    duplicates = duplicate_figures(rev)
    if duplicates:
        print(f"repeated pairs (duplicates): {duplicates[0]}, {duplicates[1]} of them identical text")
    else:
        print("repeated pairs: the duplicates command did not answer")
    if os.environ.get("KVX_FIGURES_LIST"):
        print("\n".join(["", "cycle arrows:", *upward, "", "arrows on a cycle between modules:", *cyclic, "",
                         "include loops:", *(" ".join(loop) for loop in loops), "",
                         "long declarations:",
                         *sorted(f"{o}::{f} ({c})" for o, f, c in long_declarations), "", "variables:",
                         *sorted(f"{v}{' (extern)' if e else ''}" for v, e in variables.items())]))


if __name__ == "__main__":
    main()
