#!/bin/bash
# Grid export checks against LibreOffice (not part of `make test`): a small table with
# Romanian letters, a CNP and codes with leading zeros is exported in each of the six
# formats through `focaris-tool grid export`; LibreOffice must open every file (converted
# to PDF without a prompt) and read the workbook back with the same values.
# Usage: interop/periphery.sh BUILD_FOLDER
set -u
build=$(cd "${1:?build folder}" && pwd)
tool="$build/src/tool/focaris-tool"
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

if ! command -v soffice >/dev/null; then
  echo "LibreOffice (soffice) is not installed: skipping the grid export checks"
  exit 0
fi
mkdir -p "$work/data"
"$python" - "$work/data/Grila.dbf" <<'PY'
import sys, dbf
t = dbf.Table(sys.argv[1], 'NUME C(40); CNP C(13); COD C(6); TOTAL N(10,2)', codepage='cp1250')
t.open(dbf.READ_WRITE)
t.append(('ŞTEFĂNESCU ÎONUŢ', '0610712265478', '007', 1769.5))
t.append(('POP & <FIUL> "ANA"; ION', '2850101123456', '0042', 80.25))
t.close()
PY
for f in xls html csv txt rtf doc; do
  if ! "$tool" grid export "$work/data" 'SELECT * FROM "Grila.dbf"' --format $f --out "$work/g.$f" >/dev/null; then
    echo "FAIL: export $f"; failed=1; continue
  fi
  rm -f "$work/g.pdf"
  timeout 180 soffice -env:UserInstallation=file://$work/profile --headless --convert-to pdf \
    --outdir "$work" "$work/g.$f" >/dev/null 2>&1
  if [ -s "$work/g.pdf" ]; then echo "ok: LibreOffice opens the $f export"; else echo "FAIL: LibreOffice did not open g.$f"; failed=1; fi
done
timeout 180 soffice -env:UserInstallation=file://$work/profile --headless \
  --convert-to 'csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,false' --outdir "$work/csv" "$work/g.xls" >/dev/null 2>&1
if grep -q '^ŞTEFĂNESCU ÎONUŢ;0610712265478;007;1769.5' "$work/csv/g.csv"; then
  echo "ok: the workbook reads back with its text codes and numbers"
else
  echo "FAIL: the workbook read back as:"; cat "$work/csv/g.csv"; failed=1
fi
exit $failed
