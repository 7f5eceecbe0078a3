#!/bin/bash
# The county agency's annexes and the supplier workbooks of the hand-worked test folder
# as LibreOffice sees them: every .xls and .xlsx must open and convert to PDF, no marker
# may remain visible, and the first page of each annex becomes
# docs/samples/reports/<folder>_<name>.png.
#
#   interop/reports.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:?usage: reports.sh BUILD_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
tests="$build/tests/reports/reports_tests"
[ -x "$tests" ] || { echo "reports: $tests not built"; exit 1; }
command -v soffice >/dev/null || { echo "reports: LibreOffice (soffice) is not installed"; exit 1; }
command -v pdftoppm >/dev/null || { echo "reports: pdftoppm (poppler-utils) is not installed"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
profile="file://$work/profile"
FOCARIS_REPORT_SAMPLES="$work/out" FOCARIS_TOOL="$build/src/tool/focaris-tool" QT_QPA_PLATFORM=offscreen \
    "$tests" --gtest_filter='SampleOutputTest.*' >"$work/tests.log" 2>&1 || { cat "$work/tests.log"; exit 1; }

lo() { soffice -env:UserInstallation="$profile" --headless "$@" >"$work/lo.log" 2>&1; }

failures=0
count=0
mkdir -p "$work/pdf" "$here/docs/samples/reports"
while IFS= read -r -d '' doc; do
    count=$((count + 1))
    rel=${doc#"$work/out/"}
    folder=$(dirname "$rel" | tr '/ ' '__' | tr -d "'")
    name=$(basename "$doc")
    base=${name%.*}
    rm -f "$work/pdf"/*.pdf
    lo --convert-to pdf --outdir "$work/pdf" "$doc" || true
    pdf="$work/pdf/$base.pdf"
    if [ ! -s "$pdf" ]; then
        echo "FAIL $rel: LibreOffice could not convert it"; cat "$work/lo.log"
        failures=$((failures + 1)); continue
    fi
    if pdftotext "$pdf" - | grep -Eq '#DBF|%NRCRT|#[A-Z_]{3,}|\[[A-Z][A-Za-z_0-9]+\]'; then
        echo "FAIL $rel: an unfilled marker is visible"; failures=$((failures + 1))
    fi
    png="$here/docs/samples/reports/$(echo "${folder}_$base" | tr -d "'" | tr ' ' '_')"
    pdftoppm -f 1 -l 1 -r 60 -png -singlefile "$pdf" "$png"
    echo "ok   $rel"
done < <(find "$work/out" -type f \( -name '*.xls' -o -name '*.xlsx' \) -print0 | sort -z)
[ "$count" -gt 0 ] || { echo "reports: no workbook was written"; exit 1; }
echo "reports: $count workbooks, $failures failures"
[ "$failures" -eq 0 ]
