"""Checks the JSON of orbivex-cli against the schemas in docs/schema/.

Runs each command with --json over a table of charts and dates, and validates every output
against the schema its "format" names; validates every example of docs/json.md the same way;
and makes sure that the check fails for documents that break the schemas. Exits 1 with the
reasons when anything does not validate.

Usage: check_json.py ORBIVEX_CLI DOCS_FOLDER
"""

import copy
import json
import os
import re
import subprocess
import sys
import tempfile

import jsonschema

RUNS = [
    ["positions", "--date", "2000-01-01"],
    ["positions", "--date", "1500-06-01", "--time", "00:30", "--zone", "GMT+5:45"],
    ["positions", "--from", "2199-12-30", "--days", "4", "--zone", "EST/CDT"],
    ["positions", "--from", "2026-01-01", "--days", "2", "--zodiac", "date"],
    ["date", "--year", "2024", "--month", "Jan", "--day", "5", "--hour", "13:30"],
    ["date", "--year", "1", "--month", "1", "--day", "1", "--zone", "+14:00"],
    ["chart", "--mode", "world", "--world", "2024-03-20 12:00 GMT"],
    ["chart", "--mode", "world", "--world", "1609-06-15 12:00 GMT"],
    ["chart", "--mode", "natal1", "--birth1", "1970-06-15 06:30 GMT+1:00"],
    ["chart", "--mode", "natal2", "--birth2", "2250-01-01"],
    ["chart", "--mode", "personal1", "--world", "2024-03-20", "--birth1", "1970-06-15"],
    ["chart", "--mode", "personal2", "--world", "1599-12-31", "--birth2", "1985-11-02"],
    ["chart", "--mode", "synastry", "--birth1", "1970-06-15", "--birth2", "1985-11-02"],
    ["chart", "--mode", "personal1", "--world", "2799-03-20", "--birth1", "1600-01-01",
     "--zodiac", "date"],
    ["durations", "--mode", "world", "--world", "2199-06-15"],
    ["durations", "--mode", "personal1", "--world", "2024-03-20", "--birth1", "1970-06-15"],
    ["durations", "--mode", "synastry", "--birth1", "1970-06-15", "--birth2", "1985-11-02"],
    ["durations", "--mode", "world", "--world", "0001-01-01 12:00 GMT"],
    ["durations", "--mode", "world", "--world", "2799-12-31 12:00 GMT"],
    ["durations", "--mode", "world", "--world", "0001-01-01 00:00 +14:00", "--calendar", "julian"],
    ["date", "--year", "2799", "--month", "12", "--day", "31", "--hour", "23:59", "--zone",
     "-11:00", "--calendar", "julian"],
    ["chart", "--mode", "world", "--world", "0001-01-01 00:00 +14:00", "--calendar", "julian"],
    ["aspectarian", "--from", "2799-12-30", "--to", "2799-12-31", "--zone", "-11:00",
     "--calendar", "julian"],
    ["run", "--pattern", "grand trine", "--world", "2024-03-01 12:00 GMT"],
    ["aspectarian", "--from", "2027-01-01", "--to", "2027-01-10"],
    ["aspectarian", "--from", "2199-12-20", "--to", "2200-01-10", "--zone", "GMT+13:45"],
    ["aspectarian", "--from", "2027-01-01", "--to", "2027-01-02", "--aspects", "trine",
     "--bodies", "Uranus,Neptune"],
    ["run", "--pattern", "6-stellium", "--world", "2024-01-01", "--max-steps", "3"],
    ["places", "Springfield", "--limit", "5"],
    ["date", "--year", "1850", "--month", "3", "--day", "1", "--place", "Lyon"],
    ["positions", "--date", "1970-07-14", "--place", "46.2044N 6.1432E Europe/Zurich"],
]

# batch writes JSON Lines, each line checked against orbivex.batch.v2: charts of every mode
# and error records.
BATCH_INPUT = "\n".join([
    '{"id": 1, "mode": "world", "world": "1609-06-15 12:00 GMT"}',
    '{"id": "two", "mode": "natal2", "birth2": "2250-01-01"}',
    '{"id": [3], "mode": "personal1", "world": "2024-03-20", "birth1": "1970-06-15"}',
    '{"mode": "synastry", "birth1": "1970-06-15", "birth2": "1985-11-02"}',
    '{"id": 5, "mode": "natal1", "birth1": "1970-02-30"}',
    'not json',
]) + "\n"
BATCH_FORMAT = "orbivex.batch.v2"


def breakages(document):
    """Copies of a valid document, each broken in one way its schema must refuse."""
    broken = []

    def variant(change):
        other = copy.deepcopy(document)
        change(other)
        broken.append(other)

    variant(lambda d: d.update(format=d["format"][:-1] + ("1" if d["format"][-1] != "1" else "2")))
    variant(lambda d: d.update(unexpected=True))
    fmt = document["format"]
    if fmt == "orbivex.chart.v2":
        variant(lambda d: d["positions"]["first"][0].update(longitude="75"))
        variant(lambda d: d["positions"]["first"][0].update(longitude=None))
        variant(lambda d: d["counts"].pop("total"))
        variant(lambda d: next(iter(d["dates"].values())).pop("place"))
        variant(lambda d: next(iter(d["dates"].values())).update(localMeanTime=None))
        if document["aspects"]:
            variant(lambda d: d["aspects"][0].update(first=1))
            variant(lambda d: d["aspects"][0].update(motion="+"))
    elif fmt == "orbivex.positions.v2" and "positions" in document:
        variant(lambda d: d["positions"].pop())
        variant(lambda d: d["date"].update(text="January 1, 2000"))
    elif fmt == "orbivex.durations.v2" and document["records"]:
        variant(lambda d: d["records"][0].update(aspect="Sxt"))
        variant(lambda d: d["records"][0].update(beginning=2451547))
        variant(lambda d: d["records"][0].pop("exact"))
    elif fmt == "orbivex.aspectarian.v2" and document["events"]:
        variant(lambda d: d["events"][0].update(aspect="Sqr"))
        variant(lambda d: d["events"][0].pop("julianDay"))
        variant(lambda d: d["events"][0].update(time="2027-01-01"))
    elif fmt == "orbivex.run.v2":
        variant(lambda d: d.update(date=d["date"]["text"]))
        variant(lambda d: d["date"].pop("localMeanTime"))
    elif fmt == "orbivex.date.v2":
        variant(lambda d: d.pop("localJulianDay"))
        variant(lambda d: d.pop("place"))
        variant(lambda d: d.update(place="Lyon"))
    elif fmt == "orbivex.library.v1" and document["charts"]:
        variant(lambda d: d["charts"][0].update(rating="Q"))
        variant(lambda d: d["charts"][0].update(tags="a,b"))
        variant(lambda d: d["charts"][0].pop("julianDay"))
        variant(lambda d: d["charts"][0].update(date="December 10, 1815"))
    elif fmt == "orbivex.places.v1" and document["places"]:
        variant(lambda d: d["places"][0].update(latitude=91))
        variant(lambda d: d["places"][0].pop("zone"))
    return broken


def batch_breakages(record):
    """Copies of a valid batch line, each broken in one way its schema must refuse."""
    broken = []
    for change in (lambda d: d.pop("line"), lambda d: d.pop("id"),
                   lambda d: d.update(line=0), lambda d: d.update(unexpected=True)):
        other = copy.deepcopy(record)
        change(other)
        broken.append(other)
    if "error" in record:
        broken.append({**record, "error": ""})
        broken.append({**record, "format": "orbivex.chart.v2"})
    else:
        broken.append({**record, "aspects": [{"first": 1}]})
        broken.append({key: value for key, value in record.items() if key != "report"})
    return broken


def main():
    cli, docs = sys.argv[1], sys.argv[2]
    folder = os.path.join(docs, "schema")
    schemas = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), encoding="utf-8") as file:
            schemas[name.removesuffix(".schema.json")] = json.load(file)
    # A schema may refer to another by its file name (the batch line to the chart's parts).
    store = {schema["$id"]: schema for schema in schemas.values()}
    validators = {}
    for name, schema in schemas.items():
        jsonschema.Draft202012Validator.check_schema(schema)
        resolver = jsonschema.RefResolver(schema["$id"], schema, store=store)
        validators[name] = jsonschema.Draft202012Validator(schema, resolver=resolver)
    faults = []

    def errors_of(document):
        validator = validators.get(document.get("format") if isinstance(document, dict) else None)
        if validator is None:
            return ["no schema for this format"]
        return [f"{'/'.join(map(str, e.absolute_path))}: {e.message}"
                for e in validator.iter_errors(document)]

    documents = []
    environment = dict(os.environ, TZ="UTC")
    for arguments in RUNS:
        what = " ".join(arguments)
        done = subprocess.run([cli, *arguments, "--json"], capture_output=True, text=True,
                              env=environment, timeout=60, check=False)
        if done.returncode not in (0, 1):
            faults.append(f"{what}: exit status {done.returncode}: {done.stderr}")
            continue
        document = json.loads(done.stdout)
        documents.append(document)
        faults += [f"{what}: {error}" for error in errors_of(document)]

    # The chart library: charts added to a library of its own, then listed and shown, and a
    # chart computed from one of them.
    with tempfile.TemporaryDirectory() as folder:
        library = ["--library", os.path.join(folder, "charts.sqlite")]
        for add in (["--name", "Ada", "--date", "1815-12-10 13:00 Europe/London", "--rating",
                     "AA", "--tags", "science,math", "--notes", "first program"],
                    ["--name", "Kepler", "--date", "1571-12-27", "--calendar", "julian"],
                    ["--name", "Zone", "--date", "1970-06-15 06:30 +05:30", "--place", "Pune"]):
            done = subprocess.run([cli, "library", "add", *add, *library], capture_output=True,
                                  text=True, env=environment, timeout=60, check=False)
            if done.returncode != 0:
                faults.append(f"library add {' '.join(add)}: {done.returncode}: {done.stderr}")
        for arguments in (["library", "list"], ["library", "show", "ada"],
                          ["library", "list", "--tag", "none"],
                          ["chart", "--mode", "natal1", "--birth1", "@Kepler"]):
            what = " ".join(arguments)
            done = subprocess.run([cli, *arguments, *library, "--json"], capture_output=True,
                                  text=True, env=environment, timeout=60, check=False)
            if done.returncode != 0:
                faults.append(f"{what}: exit status {done.returncode}: {done.stderr}")
                continue
            document = json.loads(done.stdout)
            documents.append(document)
            faults += [f"{what}: {error}" for error in errors_of(document)]

    def batch_errors_of(record):
        return [f"{'/'.join(map(str, e.absolute_path))}: {e.message}"
                for e in validators[BATCH_FORMAT].iter_errors(record)]

    batch_records = []
    done = subprocess.run([cli, "batch"], input=BATCH_INPUT, capture_output=True, text=True,
                          env=environment, timeout=60, check=False)
    if done.returncode != 5:
        faults.append(f"batch: exit status {done.returncode}, expected 5: {done.stderr}")
    batch_records += [json.loads(line) for line in done.stdout.splitlines()]
    if len(batch_records) != BATCH_INPUT.count("\n"):
        faults.append(f"batch: {len(batch_records)} lines for {BATCH_INPUT.count(chr(10))}")

    with open(os.path.join(docs, "json.md"), encoding="utf-8") as file:
        text = file.read()
    examples = re.findall(r"```json\n(.*?)```", text, re.S)
    formats = set()
    for example in re.findall(r"```jsonl\n(.*?)```", text, re.S):
        batch_records += [json.loads(line) for line in example.splitlines()]
        formats.add(BATCH_FORMAT)
    for number, record in enumerate(batch_records, 1):
        errors = batch_errors_of(record)
        faults += [f"batch line {number}: {error}" for error in errors]
        if not errors:
            faults += [f"a broken batch line {number} passes its schema"
                       for broken in batch_breakages(record) if not batch_errors_of(broken)]
    for number, example in enumerate(examples, 1):
        document = json.loads(example)
        formats.add(document.get("format"))
        documents.append(document)
        faults += [f"json.md example {number}: {error}" for error in errors_of(document)]
    faults += [f"json.md has no example of {name}" for name in validators if name not in formats]

    for document in documents:
        if errors_of(document):
            continue  # already a fault
        for broken in breakages(document):
            if not errors_of(broken):
                faults.append(f"a broken {document['format']} document passes its schema")

    for fault in faults:
        print(fault)
    print(f"{len(documents)} documents checked against {len(validators)} schemas, "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
