#!/usr/bin/python3
"""Several focaris-tool processes writing one data folder at the same time.

For each pair of writing operations (add x add, add x numbering, modify x numbering,
add x copy, add x import, delete x add) N processes (2..4) run a bounded number of
commands on one folder; afterwards the tables are read with dbfread, which shares no code
with the program, and checked: every save the tool reported is there with its values, no
key is given twice, no member is left without its application, and the log holds an entry
for every reported save.

Usage: pairs.py --tool FOCARIS_TOOL [--rounds R] [--rows K] [--procs N] [--pairs P,...] [--workdir DIR]
Exit status 0 when every round of every pair found nothing wrong.
"""
import argparse
import collections
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

import dbfread

MONTH = "11.2025"
SOURCE_MONTH = "10.2025"
COMMAND_TIMEOUT = 120
HERE = os.path.dirname(os.path.abspath(__file__))
ARCHIVE_WRITER = os.path.join(HERE, "..", "periods", "register_archive.py")

_serial = collections.Counter()
_serial_lock = threading.Lock()


def cnp(n):
    """A valid personal code, different for every n below 13440."""
    yy = 50 + (n // 336) % 40
    mm = (n // 28) % 12 + 1
    dd = n % 28 + 1
    first = "1%02d%02d%02d12%03d" % (yy, mm, dd, (n // 13440) % 1000)
    weights = [2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9]
    r = sum(int(c) * w for c, w in zip(first, weights)) % 11
    return first + str(1 if r == 10 else r)


def next_number():
    with _serial_lock:
        _serial["n"] += 1
        return _serial["n"]


class Folder:
    def __init__(self, tool, root):
        self.tool = tool
        self.path = os.path.join(root, "data")
        self.work = os.path.join(root, "work")
        os.makedirs(self.path)
        os.makedirs(self.work)
        self.run(["store", "init", self.path], check=True)
        self.run(["setting", "set", os.path.join(self.path, "Focaris.set"), "VARIABILE", "LUNA_LUCRU", MONTH],
                 check=True)
        # The months the commands name are the folder's listed months.
        with open(os.path.join(self.path, "Luni.lst"), "wb") as f:
            f.write(("%s\r\n%s\r\n" % (MONTH, SOURCE_MONTH)).encode("cp1250"))

    def run(self, args, check=False):
        env = dict(os.environ, FOCARIS_SAVE_ROOTS="", QT_QPA_PLATFORM="offscreen")
        p = subprocess.run([self.tool] + args, capture_output=True, text=True, timeout=COMMAND_TIMEOUT, env=env)
        if check and p.returncode != 0:
            raise RuntimeError("%s: %s%s" % (" ".join(args), p.stdout, p.stderr))
        return p

    def json_file(self, obj):
        path = os.path.join(self.work, "j%d.json" % next_number())
        with open(path, "w", encoding="utf-8") as f:
            json.dump(obj, f)
        return path


class Ledger:
    """What the processes were told was saved."""

    def __init__(self):
        self.lock = threading.Lock()
        self.added = {}          # nrcrt -> (name, member count)
        self.modified = {}       # nrcrt -> last address reported saved
        self.deleted = set()
        self.refused = 0
        self.failed = []
        self.ops = 0
        self.log = collections.Counter()


def application(n):
    name = "CLIENT %05d" % n
    return {
        "CNPSol": cnp(n), "SubSemn": name, "Nr_Cere": str(n), "DataCereD": "03.11.2025", "AnulDec": "2025",
        "Localit": "ORAS", "Adresa": "STR %d" % n, "Furnizor": "TERMO SA", "Tarif": 300, "NrCam": "2",
        "SupL": True, "Actualizare": True,
        "members": [{"Titular": name, "CNP": cnp(n), "Venit": "500"},
                    {"Titular": "RUDA %05d" % n, "CNP": cnp(n + 6000), "Venit": 300, "Calitate": "partener"}],
    }


def add(folder, ledger, month=MONTH):
    n = next_number()
    obj = application(n)
    p = folder.run(["application", "add", folder.path, "--yes", "--month", month, "--from", folder.json_file(obj)])
    m = re.search(r"nrcrt=(\d+)", p.stdout)
    with ledger.lock:
        ledger.ops += 1
        if p.returncode == 0 and m:
            ledger.added[int(m.group(1))] = (obj["SubSemn"], 2)
            ledger.log["Adaugare Cerere"] += 1
        elif "folosita" in p.stdout + p.stderr:
            ledger.refused += 1
        else:
            ledger.failed.append("add: " + (p.stdout + p.stderr).strip()[-300:])


def modify(folder, ledger, nrcrt):
    address = "MOD %d" % next_number()
    p = folder.run(["application", "modify", folder.path, str(nrcrt), "--yes", "--month", MONTH, "--from",
                    folder.json_file({"Adresa": address})])
    with ledger.lock:
        ledger.ops += 1
        if p.returncode == 0:
            ledger.modified[nrcrt] = address
            ledger.log["Modificare Cerere"] += 1
        elif "folosita" in p.stdout + p.stderr:
            ledger.refused += 1
        else:
            ledger.failed.append("modify: " + (p.stdout + p.stderr).strip()[-300:])


def delete(folder, ledger, nrcrt):
    p = folder.run(["application", "delete", folder.path, str(nrcrt), "--yes", "--month", MONTH])
    with ledger.lock:
        ledger.ops += 1
        if p.returncode == 0:
            ledger.deleted.add(nrcrt)
            ledger.log["Stergere Cerere"] += 1
        elif "folosita" in p.stdout + p.stderr:
            ledger.refused += 1
        else:
            ledger.failed.append("delete: " + (p.stdout + p.stderr).strip()[-300:])


def month_operation(folder, ledger, args):
    p = folder.run(args)
    with ledger.lock:
        ledger.ops += 1
        if p.returncode != 0 and "folosita" not in p.stdout + p.stderr:
            ledger.failed.append(args[1] + ": " + (p.stdout + p.stderr).strip()[-300:])


def numbering(folder, ledger):
    month_operation(folder, ledger, ["applications", "number", folder.path, "--from", "1", "--to", "999999", "--start",
                                     "1", "--date", "20.11.2025", "--category", "all", "--yes", "--month", MONTH])


def copy(folder, ledger):
    month_operation(folder, ledger, ["applications", "copy", folder.path, "--from", SOURCE_MONTH, "--yes",
                                     "--month", MONTH])


def register_archive(folder, count):
    files, inquiries, members = [], [], []
    for i in range(1, count + 1):
        files.append([i, 100 + i, "2024-01-15", "IMPORT %d" % i, cnp(9000 + i), "Unirii", "7", "C2", "B", "1", "14",
                      "DEVA", "M", "", "X", 3, "X", "ACTIVA"])
        inquiries.append([1000 + i, i, "2024-03-03", 1])
        members.append([i, 1000 + i, "IMPORT %d" % i, cnp(9000 + i), 100.0, 10.0, 1])
    spec = {"tables": [
        {"name": "Cereri.dbf", "rows": files,
         "fields": "IDCERERE N(10,0); CERENR N(10,0); CEREDATA D; NUME C(40); CNP C(13); STRADA C(40); "
                   "STRNR C(10); BLOC C(10); SCARA C(5); ETAJ C(5); APT C(5); LOCALIT C(40); STCIV C(2); "
                   "SITSCOL C(2); L416 C(1); NRCAMERE N(3,0); ASIG C(1); STARE C(12)"},
        {"name": "Anchete.dbf", "rows": inquiries, "fields": "IDANCHET N(10,0); IDCERERE N(10,0); LADATA D; TMEMBRI N(3,0)"},
        {"name": "Oameni.dbf", "rows": members,
         "fields": "IDCERERE N(10,0); IDANCHET N(10,0); NUME C(40); CNPDATA C(13); CUANTUMV N(10,2); "
                   "CUANTUMA N(10,2); RUDACOD N(2,0)"}]}
    spec_path = folder.json_file(spec)
    out = os.path.join(folder.work, "asf.as2")
    subprocess.run(["/usr/bin/python3", ARCHIVE_WRITER, spec_path, out], check=True, capture_output=True)
    return out


def read_table(folder, name):
    path = os.path.join(folder.path, name)
    return list(dbfread.DBF(path, encoding="cp1250", char_decode_errors="replace", ignore_missing_memofile=True))


def check(folder, ledger, expect_source_rows=0):
    """The faults an independent reader finds; figures by kind."""
    apps = read_table(folder, "Cereri.dbf")
    people = read_table(folder, "Oameni.dbf")
    log = read_table(folder, "Log.dbf")
    faults = collections.Counter()
    detail = []
    keys = collections.Counter(int(r["NRCRT"]) for r in apps if r["NRCRT"] is not None)
    faults["keys twice"] += sum(c - 1 for c in keys.values() if c > 1)
    member_keys = collections.Counter(int(r["NROM"]) for r in people if r["NROM"] is not None)
    faults["keys twice"] += sum(c - 1 for c in member_keys.values() if c > 1)
    log_keys = collections.Counter(int(r["IDLOG"]) for r in log if r["IDLOG"] is not None)
    faults["keys twice"] += sum(c - 1 for c in log_keys.values() if c > 1)
    by_key = {int(r["NRCRT"]): r for r in apps if r["NRCRT"] is not None}
    members_of = collections.Counter(int(r["NRCRT"]) for r in people if r["NRCRT"] is not None)
    faults["members without application"] = sum(c for k, c in members_of.items() if k not in keys)
    for nrcrt, (name, count) in ledger.added.items():
        if nrcrt in ledger.deleted:
            continue
        row = by_key.get(nrcrt)
        if row is None or (row["SUBSEMN"] or "").strip() != name:
            faults["saves lost"] += 1
            detail.append("added %d (%s) missing or changed" % (nrcrt, name))
        elif keys[nrcrt] == 1 and members_of[nrcrt] != count:
            faults["saves lost"] += 1
            detail.append("added %d has %d members" % (nrcrt, members_of[nrcrt]))
    for nrcrt, address in ledger.modified.items():
        row = by_key.get(nrcrt)
        if row is None or (row["ADRESA"] or "").strip() != address:
            faults["updates lost"] += 1
            detail.append("modified %d: %r, not %r" % (nrcrt, row and row["ADRESA"], address))
    for nrcrt in ledger.deleted:
        if nrcrt in keys or members_of[nrcrt]:
            faults["saves lost"] += 1
            detail.append("deleted %d still there" % nrcrt)
    actions = collections.Counter()
    for r in log:
        text = (r["ACTIUNE"] or "").strip()
        for kind in ("Adaugare Cerere", "Modificare Cerere", "Stergere Cerere"):
            if text.startswith(kind):
                actions[kind] += 1
    for kind, count in ledger.log.items():
        if actions[kind] < count:
            faults["log entries missing"] += count - actions[kind]
    faults["failed commands"] = len(ledger.failed)
    detail.extend(ledger.failed[:5])
    return faults, detail


def run_pair(tool, pair, procs, rows, workdir):
    root = tempfile.mkdtemp(prefix="pair-", dir=workdir)
    folder = Folder(tool, root)
    ledger = Ledger()
    setup = Ledger()
    # Rows the second operation works on, stored before the processes start.
    if pair in ("modify x numbering", "delete x add"):
        for _ in range(rows):
            add(folder, setup)
    if pair == "add x copy":
        for _ in range(rows):
            add(folder, setup, SOURCE_MONTH)
    ledger.log.update(setup.log)
    for k, v in setup.added.items():
        ledger.added[k] = v
    existing = sorted(k for k in setup.added)
    others = max(1, procs - 1)

    def adders(count):
        return [lambda i=i: [add(folder, ledger) for _ in range(count)] for i in range(others)]

    work = []
    if pair == "add x add":
        work = [lambda: [add(folder, ledger) for _ in range(rows)] for _ in range(procs)]
    elif pair == "add x numbering":
        work = adders(rows) + [lambda: [numbering(folder, ledger) for _ in range(max(2, rows // 3))]]
    elif pair == "modify x numbering":
        share = [existing[i::others] for i in range(others)]
        work = [lambda keys=keys: [modify(folder, ledger, k) for k in keys + keys] for keys in share]
        work.append(lambda: [numbering(folder, ledger) for _ in range(max(2, rows // 2))])
    elif pair == "add x copy":
        work = adders(rows) + [lambda: copy(folder, ledger)]
    elif pair == "add x import":
        archive = register_archive(folder, rows)
        work = adders(rows) + [lambda: month_operation(folder, ledger, ["import", "asf", folder.path, archive])]
    elif pair == "delete x add":
        share = [existing[i::others] for i in range(others)]
        work = adders(rows) + [lambda keys=keys: [delete(folder, ledger, k) for k in keys] for keys in share]
    threads = [threading.Thread(target=w) for w in work]
    start = time.monotonic()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    seconds = time.monotonic() - start
    faults, detail = check(folder, ledger)
    shutil.rmtree(root, ignore_errors=True)
    return ledger, faults, detail, seconds


PAIRS = ["add x add", "add x numbering", "modify x numbering", "add x copy", "add x import", "delete x add"]
COLUMNS = ["keys twice", "updates lost", "saves lost", "members without application", "log entries missing",
           "failed commands"]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tool", required=True)
    ap.add_argument("--rounds", type=int, default=1)
    ap.add_argument("--rows", type=int, default=6)
    ap.add_argument("--procs", type=int, default=0, help="0: 2, 3 and 4 in turn, by pair and round")
    ap.add_argument("--pairs", default=",".join(PAIRS))
    ap.add_argument("--workdir", default=None, help="where the data folders are made (a mounted share)")
    args = ap.parse_args()
    workdir = tempfile.mkdtemp(prefix="concurrency-", dir=args.workdir)
    total = collections.Counter()
    print("%-20s %6s %5s %7s %6s %s" % ("pair", "rounds", "ops", "refused", "secs", "  ".join(COLUMNS)))
    try:
        for number, pair in enumerate(args.pairs.split(",")):
            figures = collections.Counter()
            ops = refused = 0
            seconds = 0.0
            for r in range(args.rounds):
                procs = args.procs or 2 + (number + r) % 3
                ledger, faults, detail, secs = run_pair(args.tool, pair, procs, args.rows, workdir)
                figures.update(faults)
                ops += ledger.ops
                refused += ledger.refused
                seconds += secs
                for d in detail[:5]:
                    print("   %s round %d: %s" % (pair, r + 1, d))
            total.update(figures)
            print("%-20s %6d %5d %7d %6.1f %s" % (pair, args.rounds, ops, refused, seconds,
                                                 "  ".join("%*d" % (len(c), figures[c]) for c in COLUMNS)))
            sys.stdout.flush()
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    return 1 if sum(total.values()) else 0


if __name__ == "__main__":
    sys.exit(main())
