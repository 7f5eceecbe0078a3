#!/bin/bash
# The documents of the month filled from the hand-worked test folder of
# month_documents_tests, rendered by LibreOffice: the first page of each becomes
# docs/samples/<name>.png (the built-in templates' samples of the same name are replaced).
#
#   interop/document_samples.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:?usage: document_samples.sh BUILD_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
tests="$build/tests/documents/month_documents_tests"
[ -x "$tests" ] || { echo "document samples: $tests not built"; exit 1; }
command -v soffice >/dev/null || { echo "document samples: LibreOffice (soffice) is not installed"; exit 1; }
command -v pdftoppm >/dev/null || { echo "document samples: pdftoppm (poppler-utils) is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
FOCARIS_SAMPLES="$work/filled" QT_QPA_PLATFORM=offscreen FOCARIS_TEST_DATA="$here/tests/data" \
    "$tests" --gtest_filter='RtfDocuments.BuiltIn*:WorkbookDocuments.SingleDispositionSheets*:WorkbookDocuments.PaymentStatement*' >/dev/null
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to pdf --outdir "$work/pdf" \
    "$work"/filled/* >/dev/null 2>&1
for pdf in "$work"/pdf/*.pdf; do
    base=$(basename "$pdf" .pdf)
    pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$pdf" "$here/docs/samples/$base"
    echo "docs/samples/$base.png"
done
