#!/usr/bin/env python3
"""Every option the README shows on a program's command line must appear in that program's --help
(for vorpadctl, in its own or the command's --help).

usage: readme_options.py README.md PROGRAM=PATH...
"""
import re
import shlex
import subprocess
import sys


def command_lines(readme):
    """The README's commands: indented or fenced code lines and inline code spans, comments cut."""
    fenced = False
    for line in readme.splitlines():
        if line.startswith("```"):
            fenced = not fenced
        elif fenced or line.startswith("    "):
            yield re.split(r"\s#", line, maxsplit=1)[0]
        else:
            yield from re.findall(r"`([^`]+)`", line)


def shown_options(readme, programs):
    """(program, command or None, option) for each option following a program's name."""
    for line in command_lines(readme):
        try:
            words = shlex.split(line)
        except ValueError:
            words = line.split()
        for at, word in enumerate(words):
            program = word.rsplit("/", 1)[-1]
            if program not in programs:
                continue
            rest = words[at + 1:]
            command = next((w for w in rest if not w.startswith("-")), None) if program == "vorpadctl" else None
            for option in rest:
                shown = re.match(r"\[?(--[A-Za-z][\w-]*)", option)
                if shown:
                    yield program, command, shown.group(1)


def help_text(path, command):
    arguments = [path] + ([command] if command else []) + ["--help"]
    run = subprocess.run(arguments, capture_output=True, text=True, timeout=30)
    return run.stdout + run.stderr if run.returncode == 0 else None


def main():
    readme = open(sys.argv[1], encoding="utf-8").read()
    programs = dict(argument.split("=", 1) for argument in sys.argv[2:])
    missing = []
    checked = 0
    for program, command, option in sorted(set(shown_options(readme, programs)), key=str):
        texts = [help_text(programs[program], None)]
        if command:
            texts.append(help_text(programs[program], command))
        if texts[0] is None:
            missing.append(f"{program}: --help failed")
            continue
        if not any(text and re.search(re.escape(option) + r"\b", text) for text in texts):
            missing.append(f"{program} {command or ''}: {option} is not in --help".replace("  ", " "))
        checked += 1
    for line in dict.fromkeys(missing):
        print(line)
    print(f"{checked} options checked, {len(missing)} missing")
    return 1 if missing or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
