#!/bin/bash
# Workbook checks against other programs (not part of `make test`):
#  1. a filled payment statement opens in LibreOffice and shows the filled values and the
#     recalculated totals;
#  2. every test workbook, written anew by the engine, reads the same in LibreOffice as
#     the original;
#  3. the reference corpus ../shared/corpus/xls: every workbook the engine opens is saved
#     back and python3-xlrd reads the same cells from the copy; the others are refused
#     with a clear error and no crash.
# Usage: interop/xls.sh BUILD_FOLDER
set -u
build=$(cd "${1:?build folder}" && pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)
tool="$build/src/tool/focaris-tool"
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

soffice_csv() { # FILE OUTDIR: every cell's value, UTF-8, numbers unformatted
  timeout 180 soffice -env:UserInstallation=file://$work/profile --headless \
    --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false' \
    --outdir "$2" "$1" >/dev/null 2>&1
}

if ! command -v soffice >/dev/null; then
  echo "LibreOffice (soffice) is not installed: skipping the LibreOffice checks"
else
  # 1. Three records into the statement template, read back by LibreOffice.
  data="$work/data"
  mkdir -p "$data"
  "$tool" sql "$data" 'CREATE TABLE "Cereri.dbf" (SUBSEMN CHAR(32), CNP CHAR(13), NR_DISP CHAR(10), DATADISP DATE, ADRESA CHAR(60), CUANTUM DECIMAL(5,0), NR_LUNI DECIMAL(2,0), SUMAL DECIMAL(10,2), SUMAG DECIMAL(10,2), SUMAT DECIMAL(10,2), SUMAE DECIMAL(10,2))' >/dev/null
  for i in 1 2 3; do
    "$tool" sql "$data" "INSERT INTO \"Cereri.dbf\" (SUBSEMN, CNP, NR_DISP, DATADISP, ADRESA, CUANTUM, NR_LUNI, SUMAL, SUMAG, SUMAT, SUMAE) VALUES (\"TITULAR $i\", \"180010112345$i\", \"1$i\", \"01.12.2023\", \"Str. Lunga $i\", 30, 5, $i.5, 0, 2, 1)" >/dev/null
  done
  "$tool" xls fill "$repo/tests/data/good/xls/stat.xls" "$work/filled.xls" \
    --replace '#JUDET' 'Judet   26 - Mureş' --data "$data" \
    --query 'SELECT NR_DISP AS NRDISP, SUBSEMN AS TITULAR, CNP, DATADISP, ADRESA, CUANTUM, NR_LUNI, SUMAL, SUMAG, SUMAT, SUMAE FROM "Cereri.dbf" ORDER BY TITULAR'
  mkdir -p "$work/csv"
  if soffice_csv "$work/filled.xls" "$work/csv" && $python - "$work/csv/filled.csv" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding='utf-8')))
def cell(r, c):
    return rows[r - 1][c - 1] if r <= len(rows) and c <= len(rows[r - 1]) else ''
want = {(2, 1): 'Judet   26 - Mureş', (11, 1): '1', (13, 1): '3', (12, 2): 'TITULAR 2',
        (13, 9): '3.5', (13, 13): '6.5', (14, 6): 'TOTAL GENERAL', (14, 9): '7.5',
        (14, 11): '6', (14, 13): '16.5', (17, 5): '#P1'}
bad = ['R%dC%d %r != %r' % (r, c, cell(r, c), v) for (r, c), v in want.items() if cell(r, c) != v]
print('\n'.join(bad))
sys.exit(1 if bad else 0)
PY
  then echo "ok: the filled statement opens in LibreOffice with the filled values and totals"
  else echo "FAILED: the filled statement in LibreOffice"; failed=1; fi

  # 2. The test workbooks, written anew, read the same in LibreOffice.
  mkdir -p "$work/a" "$work/b"
  for f in "$repo"/tests/data/good/xls/*.xls; do
    name=$(basename "$f")
    "$tool" xls copy "$f" "$work/b/$name" --rewrite
    cp "$f" "$work/a/$name"
    soffice_csv "$work/a/$name" "$work/a" && soffice_csv "$work/b/$name" "$work/b"
    if cmp -s "$work/a/${name%.xls}.csv" "$work/b/${name%.xls}.csv"; then
      echo "ok: $name reads the same in LibreOffice after a rewrite"
    else
      echo "FAILED: $name reads differently in LibreOffice after a rewrite"; failed=1
    fi
  done
fi

# 3. The reference corpus.
corpus="$repo/../shared/corpus/xls"
if [ ! -d "$corpus" ]; then
  echo "no reference corpus at $corpus: skipping the corpus round trip"
else
  same=0; refused=0; differ=0; unreadable=0; crashed=0
  for f in "$corpus"/*.xls; do
    if timeout 30 "$tool" xls copy "$f" "$work/copy.xls" 2>"$work/err"; then
      if ! timeout 120 $python -c 'import sys, xlrd; xlrd.open_workbook(sys.argv[1], formatting_info=True)' "$f" >/dev/null 2>&1; then
        unreadable=$((unreadable + 1)); continue   # xlrd cannot read the original either
      fi
      if timeout 300 $python "$repo/tests/xls/compare_xls.py" "$f" "$work/copy.xls" >"$work/cmp" 2>&1; then
        same=$((same + 1))
      else
        differ=$((differ + 1)); echo "DIFFERS: $(basename "$f"): $(head -2 "$work/cmp")"
      fi
    else
      rc=$?
      if [ $rc -eq 1 ] && grep -q '^focaris-tool: ' "$work/err"; then
        refused=$((refused + 1))
      else
        crashed=$((crashed + 1)); echo "CRASHED ($rc): $(basename "$f")"
      fi
    fi
  done
  echo "corpus: $same round-trip unchanged, $refused refused with an error, $differ differ, $crashed crashed, $unreadable unreadable by xlrd"
  [ $differ -eq 0 ] && [ $crashed -eq 0 ] || failed=1
fi
exit $failed
