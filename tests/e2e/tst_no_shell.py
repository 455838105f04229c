#!/usr/bin/env python3
"""Fails when the sources could start a program through a shell: system(), popen, "sh -c", a shell
named as the program to run, exec* of a shell, QProcess::startCommand, or a QProcess start with a
single string and no argument list. The program hands addresses to the desktop through
QDesktopServices and starts nothing else.

Usage: tst_no_shell.py <folder>...   (every .cpp, .h, .hpp, .cc and .c file below them)
Before scanning, the rules are run over a table of snippets that they must and must not flag.
"""

import pathlib
import re
import sys

SUFFIXES = {".cpp", ".h", ".hpp", ".cc", ".c", ".cxx", ".hxx"}
SHELL_LITERAL = re.compile(r'"(?:/usr)?(?:/bin/)?(?:ba|da|z|k|c|tc)?sh"')


def strip_comments(text):
    """The text with every comment blanked out (newlines kept, so line numbers hold); string and
    character literals stay, raw strings included."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(" " * (end - i))
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i + 2)
            delimiter = text[i + 2:open_paren]
            end = text.find(")" + delimiter + '"', open_paren)
            end = n if end < 0 else end + len(delimiter) + 2
            out.append(text[i:end])
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def arguments(code, open_paren):
    """The top-level arguments of the call whose "(" is at `open_paren` (empty list for none)."""
    depth, i, start, args = 0, open_paren, open_paren + 1, []
    while i < len(code):
        c = code[i]
        if c in "\"'":
            j = i + 1
            while j < len(code) and code[j] != c:
                j += 2 if code[j] == "\\" else 1
            i = j
        elif c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                args.append(code[start:i])
                break
        elif c == "," and depth == 1:
            args.append(code[start:i])
            start = i + 1
        i += 1
    args = [a.strip() for a in args]
    return [] if args == [""] else args


def process_names(code):
    """Names of QProcess objects declared in the code: variables, members, pointers, new QProcess."""
    names = set(re.findall(r"\bQProcess\s*[*&]?\s*(?:const\s*)?([A-Za-z_]\w*)\s*[;({=,)]", code))
    names |= set(re.findall(r"([A-Za-z_]\w*)\s*(?:=|\{)\s*"
                            r"(?:new\s+QProcess\b|std::make_unique\s*<\s*QProcess\s*>)", code))
    names |= set(re.findall(r"<\s*QProcess\s*>\s*([A-Za-z_]\w*)", code))
    return names - {"QProcess"}


def findings(code, processes):
    """(offset, reason) for every way of going through a shell in comment-free code."""
    found = []
    for m in re.finditer(r"\bsystem\s*\(", code):
        before = code[:m.start()].rstrip()
        if before.endswith(".") or before.endswith("->"):
            continue  # a member function of that name
        if before.endswith("::"):
            owner = re.search(r"([A-Za-z_]\w*)\s*$", before[:-2])
            if owner and owner.group(1) != "std":
                continue  # QLocale::system() and the like
        found.append((m.start(), "system()"))
    for m in re.finditer(r"\b_?popen\b", code):
        found.append((m.start(), "popen"))
    for m in re.finditer(r"\bsh\s+-c\b", code):
        found.append((m.start(), '"sh -c"'))
    for m in SHELL_LITERAL.finditer(code):
        found.append((m.start(), f"a shell named as a program: {m.group(0)}"))
    for m in re.finditer(r"\b(?:exec[lv]p?e?|posix_spawnp?)\s*\(", code):
        args = arguments(code, m.end() - 1)
        if any(re.search(r'"[^"]*\b(?:ba|da|z|k|c|tc)?sh"', a) for a in args[:2]):
            found.append((m.start(), "exec of a shell"))
    for m in re.finditer(r"\bstartCommand\s*\(", code):
        found.append((m.start(), "QProcess::startCommand"))
    pattern = (r"(?:\bQProcess\s*::\s*|\b(?P<object>[A-Za-z_]\w*)\s*(?:\.|->)\s*)"
               r"(?P<call>startDetached|start|execute)\s*\(")
    for m in re.finditer(pattern, code):
        if m.group("object") is not None and m.group("object") not in processes:
            continue  # not a process: a timer's start() and the like
        if len(arguments(code, m.end() - 1)) == 1:
            found.append((m.start(), f"QProcess {m.group('call')}() with one string and no argument list"))
    return found


# Snippets the rules must flag, and snippets they must leave alone.
MUST_FLAG = [
    'system("xdg-open http://x");',
    'std::system(command.c_str());',
    '::system (command);',
    'FILE* f = popen("ls", "r");',
    'QProcess::startDetached("sh", {"-c", command});',
    'const char* shell = "/bin/bash";',
    'execlp("sh", "sh", "-c", command, nullptr);',
    'execv("/bin/sh", argv);',
    'QString line = "sh -c xdg-open";',
    'process.startCommand(line);',
    'QProcess::startDetached(commandLine);',
    'QProcess::execute(QStringLiteral("notepad.exe serolis.txt"));',
    'QProcess p; p.start(commandLine);',
    'auto* editor = new QProcess(this);\n editor->start(\n QStringLiteral("gedit serolis.txt"));',
    'std::unique_ptr<QProcess> FEditor; void f() { FEditor->startDetached(line); }',
]
MUST_PASS = [
    'gSettings = FromQLocale(QLocale::system());',
    '// the packed date-and-time of the FAT file system (two-second resolution)',
    '/* never popen, never system("...") */',
    'FTimer->start(); timer.start(500); QTimer::singleShot(0, f);',
    'QDesktopServices::openUrl(QUrl::fromEncoded(address));',
    'QProcess::startDetached(program, {path});',
    'QProcess p; p.start(program, QStringList{path}); p.start();',
    'QString shown = "fresh"; const char* verb = "push"; fetch("-c");',
    'QString s = QStringLiteral("a, b"); filesystem(s);',
]


def self_test():
    problems = []
    for snippet in MUST_FLAG:
        code = strip_comments(snippet)
        if not findings(code, process_names(code)):
            problems.append(f"not flagged: {snippet!r}")
    for snippet in MUST_PASS:
        code = strip_comments(snippet)
        if findings(code, process_names(code)):
            problems.append(f"flagged wrongly: {snippet!r} ({findings(code, process_names(code))})")
    return problems


def main(folders):
    problems = self_test()
    if problems:
        print("the rules themselves are wrong:\n  " + "\n  ".join(problems))
        return 2
    files = sorted(p for folder in folders for p in pathlib.Path(folder).rglob("*") if p.suffix in SUFFIXES)
    if not files:
        print(f"no source files under {' '.join(folders)}")
        return 2
    codes = {path: strip_comments(path.read_text(encoding="utf-8", errors="replace")) for path in files}
    processes = set().union(*(process_names(code) for code in codes.values()))
    failures = []
    for path, code in codes.items():
        for offset, reason in sorted(findings(code, processes)):
            line = code.count("\n", 0, offset) + 1
            failures.append(f"{path}:{line}: {reason}: {code.splitlines()[line - 1].strip()}")
    if failures:
        print("going through a shell:\n  " + "\n  ".join(failures))
        return 1
    print(f"{len(files)} files, {len(MUST_FLAG)} + {len(MUST_PASS)} rule cases: no way through a shell")
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1:]))
