#!/bin/sh
# Rebuilds the test workbooks of tests/data/good/xls from the sources in this folder:
# LibreOffice converts the flat OpenDocument files to Excel 97-2003, python3-xlwt writes
# the others. The results are kept in the repository, so the tests need neither program.
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$here")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
/usr/bin/python3 "$here/make_fods.py" "$tmp"
soffice -env:UserInstallation=file://$tmp/profile --headless \
  --convert-to 'xls:MS Excel 97' --outdir "$out" "$tmp/stat.fods" "$tmp/mixed.fods"
/usr/bin/python3 "$here/xlwt_workbooks.py" "$out"
