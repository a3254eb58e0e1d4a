#!/usr/bin/env python3
"""Writes the texts of the installed program that are made from other texts, so that none of
them can drift from its source:

  man         a manual page from a program's --help (and, for orbivex-cli, each command's)
  completion  the bash completion of orbivex-cli from the --help of each of its commands
  releases    the AppStream metainfo, its <releases> made from NEWS.md
  changelog   the Debian changelog of the package, made from NEWS.md
  copyright   the Debian copyright file, with the licence's full text

Each fails, naming what is wrong, when its sources disagree: NEWS.md's first version must be
the program's, and every value that the completion offers must be one the option's help names.
"""

import argparse
import gzip
import html
import re
import subprocess
import sys
import textwrap
from datetime import datetime, timezone
from email.utils import format_datetime
from pathlib import Path


def fail(message):
    sys.exit(f"package_texts: {message}")


# --- NEWS.md -------------------------------------------------------------------------------

RELEASE_HEADING = re.compile(r"^## (\d+\.\d+\.\d+) \((\d{4}-\d{2}-\d{2})\)$")


def read_news(path):
    """The releases of NEWS.md, newest first: (version, date, paragraphs, items)."""
    releases = []
    current = None
    apart = True
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        heading = RELEASE_HEADING.match(line)
        if heading:
            current = {"version": heading[1], "date": heading[2], "paragraphs": [], "items": []}
            releases.append(current)
            apart = True
        elif current is None:
            continue
        elif not line.strip():
            apart = True
        elif line.startswith("- "):
            current["items"].append(line[2:].strip())
        elif line.startswith("  ") and current["items"]:
            current["items"][-1] += " " + line.strip()
        elif current["items"]:
            fail(f"{path}: text after a release's list: {line!r}")
        elif current["paragraphs"] and not apart:
            current["paragraphs"][-1] += " " + line.strip()
        else:
            current["paragraphs"].append(line.strip())
            apart = False
    if not releases:
        fail(f"{path} names no release as '## X.Y.Z (YYYY-MM-DD)'")
    return releases


def checked_news(path, version):
    releases = read_news(path)
    if releases[0]["version"] != version:
        fail(f"the program is version {version}, but the newest release of {path} is "
             f"{releases[0]['version']}")
    return releases


def plain(text):
    """Markdown's inline code marks dropped: the targets have no such markup."""
    return text.replace("`", "")


# --- --help ------------------------------------------------------------------------------

def run_help(program, *arguments):
    result = subprocess.run([program, *arguments, "--help"], capture_output=True, text=True,
                            check=False)
    if result.returncode != 0:
        fail(f"{program} {' '.join(arguments)} --help ended with {result.returncode}: "
             f"{result.stderr.strip()}")
    return result.stdout


def parse_help(text):
    """Splits a --help text into its usage, paragraphs, option items, command items and the
    paragraphs after the lists. Items are (term, description)."""
    lines = text.rstrip("\n").split("\n")
    if not lines[0].startswith("Usage:"):
        fail(f"a --help that does not begin with its usage: {lines[0]!r}")
    help = {"usage": [], "paragraphs": [], "options": [], "commands": [], "after": []}
    first = lines[0].removeprefix("Usage:").strip()
    help["usage"] = [first] if first else []
    rest = lines[1:]
    while not first and rest and rest[0].startswith(" "):
        help["usage"].append(rest.pop(0).strip())
    section = "paragraphs"
    apart = True
    for line in rest:
        if not line.strip():
            if section in ("options", "commands"):
                section = "after"
            apart = True
            continue
        if line in ("Options:", "Commands:"):
            section = line[:-1].lower()
            continue
        if section in ("options", "commands"):
            term, _, description = line.strip().partition("  ")
            if line.startswith(" " * 6) and help[section]:
                term, description = help[section][-1]
                help[section][-1] = (term, f"{description} {line.strip()}")
            else:
                help[section].append((term, description.strip()))
        elif apart or help[section][-1].endswith((".", ":")):
            # A line that ends a sentence ends its paragraph; other lines were wrapped.
            help[section].append(line.strip())
            apart = False
        else:
            help[section][-1] += " " + line.strip()
    return help


# --- Manual pages ------------------------------------------------------------------------

def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return re.sub(r"^([.'])", r"\\&\1", text)


def usage_lines(usage):
    return "\n.br\n".join(f".B {roff(line)}" for line in usage).split("\n")


def roff_items(items):
    out = []
    for term, description in items:
        out += [".TP", f".B {roff(term)}", roff(description)]
    return out


def write_man(args):
    release = checked_news(args.news, args.version)[0]
    name = Path(args.program).name
    top = parse_help(run_help(args.program))
    page = [
        f'.TH {name.upper()} 1 "{release["date"]}" "{name} {args.version}" "User Commands"',
        ".SH NAME",
        f"{name} \\- {roff(args.summary)}",
        ".SH SYNOPSIS",
        *usage_lines(top["usage"]),
        ".SH DESCRIPTION",
    ]
    # The extra text up to its first section goes on the description; its sections follow the
    # generated ones.
    extra = Path(args.extra).read_text(encoding="utf-8").rstrip("\n").split("\n")
    start = next((i for i, line in enumerate(extra) if line.startswith(".SH")), len(extra))
    for paragraph in top["paragraphs"]:
        page += [".PP", roff(paragraph)]
    page += extra[:start]
    if top["options"]:
        page += [".SH OPTIONS"] + roff_items(top["options"])
        for paragraph in top["after"]:
            page += [".PP", roff(paragraph)]
    if top["commands"]:
        page += [".SH COMMANDS",
                 f"Each command takes the options below; {roff(name + ' COMMAND --help')} "
                 "prints them."]
        for command, summary in top["commands"]:
            help = parse_help(run_help(args.program, command))
            page += [f".SS {roff(command)}", roff(summary[0].upper() + summary[1:]) + ".",
                     ".PP", *usage_lines(help["usage"])]
            for paragraph in help["paragraphs"]:
                page += [".PP", roff(paragraph)]
            page += [".PP", "Options:", ".RS"] + roff_items(help["options"]) + [".RE"]
    page += extra[start:]
    with gzip.GzipFile(args.output, "wb", compresslevel=9, mtime=0) as out:
        out.write(("\n".join(page) + "\n").encode("utf-8"))


# --- Bash completion -----------------------------------------------------------------------

# The values the shell offers after an option; each must be named by the option's help.
OPTION_VALUES = {
    "--mode": "world natal1 natal2 personal1 personal2 synastry",
    "--calendar": "gregorian julian auto",
    "--zodiac": "j2000 date",
    "--style": "classic modern",
    "--theme": "light dark",
    "--step": "halfhour day week month year",
    "--sort": "exactness aspect planet natal transiting beginning ending duration",
    "--format": "jsonl csv",
}
FILE_OPTIONS = ("--state", "--in", "--out")
ZONE_OPTIONS = ("--zone",)

COMPLETION = r"""# bash completion for orbivex-cli, written by the build from the --help of its commands.

# The zone names of the system's time-zone database, links included.
_orbivex_cli_zones() {
    local zones=/usr/share/zoneinfo/tzdata.zi
    if [[ -r $zones ]]; then
        awk '$1 == "Z" { print $2 } $1 == "L" { print $3 }' "$zones"
    fi
}

_orbivex_cli() {
    local cur prev words cword split
    _init_completion -s || return

    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "@COMMANDS@ --help --version" -- "$cur")
        return
    fi

    local options valued
    case ${words[1]} in
@CASES@
        *) return ;;
    esac

    case $prev in
@VALUES@
        @FILES@)
            _filedir
            return
            ;;
        @ZONES@)
            mapfile -t COMPREPLY < <(compgen -W "GMT $(_orbivex_cli_zones)" -- "$cur")
            return
            ;;
    esac
    # Any other option that takes a value: a date, a number, a name the shell cannot know.
    if [[ " $valued " == *" $prev "* ]]; then
        return
    fi
    $split && return
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
}

complete -F _orbivex_cli orbivex-cli
"""


def write_completion(args):
    top = parse_help(run_help(args.program))
    commands = [command for command, _ in top["commands"]]
    cases = []
    offered = set()
    for command in commands:
        options, valued = [], []
        for term, description in parse_help(run_help(args.program, command))["options"]:
            names = [name.strip() for name in term.split("<")[0].split(",")]
            long = [name for name in names if name.startswith("--")]
            options += long
            if "<" in term:
                valued += long
                for name in long:
                    for value in OPTION_VALUES.get(name, "").split():
                        if not re.search(rf"\b{re.escape(value)}\b", description, re.I):
                            fail(f"the completion offers {value} for {command} {name}, whose "
                                 f"help does not name it: {description!r}")
                    offered.add(name)
        cases.append(f'        {command})\n            options="{" ".join(options)}"\n'
                     f'            valued="{" ".join(valued)}"\n            ;;')
    values = [f'        {name})\n            mapfile -t COMPREPLY < <(compgen -W "{words}" -- '
              f'"$cur")\n            return\n            ;;'
              for name, words in OPTION_VALUES.items() if name in offered]
    text = (COMPLETION.replace("@COMMANDS@", " ".join(commands))
            .replace("@CASES@", "\n".join(cases))
            .replace("@VALUES@", "\n".join(values))
            .replace("@FILES@", "|".join(FILE_OPTIONS))
            .replace("@ZONES@", "|".join(ZONE_OPTIONS)))
    Path(args.output).write_text(text, encoding="utf-8")


# --- AppStream, changelog, copyright -------------------------------------------------------

def write_releases(args):
    releases = checked_news(args.news, args.version)
    lines = []
    for release in releases:
        lines.append(f'    <release version="{release["version"]}" date="{release["date"]}">')
        lines.append("      <description>")
        for paragraph in release["paragraphs"]:
            lines.append(f"        <p>{html.escape(plain(paragraph), quote=False)}</p>")
        if release["items"]:
            lines.append("        <ul>")
            lines += [f"          <li>{html.escape(plain(item), quote=False)}</li>"
                      for item in release["items"]]
            lines.append("        </ul>")
        lines += ["      </description>", "    </release>"]
    template = Path(args.template).read_text(encoding="utf-8")
    text = (template.replace("@RELEASES@", "\n".join(lines))
            .replace("@HOMEPAGE@", args.homepage))
    Path(args.output).write_text(text, encoding="utf-8")


def write_changelog(args):
    entries = []
    for release in checked_news(args.news, args.version):
        lines = [f"orbivex ({release['version']}) unstable; urgency=medium", ""]
        for text in release["paragraphs"] + release["items"]:
            lines += textwrap.wrap(plain(text), 78, initial_indent="  * ",
                                   subsequent_indent="    ")
        day = datetime.fromisoformat(release["date"]).replace(tzinfo=timezone.utc)
        lines += ["", f" -- {args.maintainer}  {format_datetime(day)}"]
        entries.append("\n".join(lines))
    with gzip.GzipFile(args.output, "wb", compresslevel=9, mtime=0) as out:
        out.write(("\n\n".join(entries) + "\n").encode("utf-8"))


def write_copyright(args):
    licence = []
    for line in Path(args.licence).read_text(encoding="utf-8").rstrip("\n").split("\n"):
        licence.append(" " + line.rstrip() if line.strip() else " .")
    template = Path(args.template).read_text(encoding="utf-8")
    text = (template.replace("@HOMEPAGE@", args.homepage)
            .replace("@LICENCE@", "\n".join(licence)))
    Path(args.output).write_text(text, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    man = commands.add_parser("man")
    man.add_argument("program")
    man.add_argument("--summary", required=True)
    man.add_argument("--extra", required=True,
                     help="roff for the description, then sections after the generated ones")
    completion = commands.add_parser("completion")
    completion.add_argument("program")
    releases = commands.add_parser("releases")
    releases.add_argument("template")
    changelog = commands.add_parser("changelog")
    changelog.add_argument("--maintainer", required=True)
    copyright = commands.add_parser("copyright")
    copyright.add_argument("template")
    copyright.add_argument("licence")
    for command in (man, releases, changelog):
        command.add_argument("--news", required=True)
        command.add_argument("--version", required=True)
    for command in (releases, copyright):
        command.add_argument("--homepage", required=True)
    for command in (man, completion, releases, changelog, copyright):
        command.add_argument("--output", required=True)
    args = parser.parse_args()
    {"man": write_man, "completion": write_completion, "releases": write_releases,
     "changelog": write_changelog, "copyright": write_copyright}[args.command](args)


if __name__ == "__main__":
    main()
