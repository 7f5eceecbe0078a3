#!/bin/bash
# The built-in templates as the offices receive them: every template is filled with
# realistic records through the program's RTF and workbook engines
# (templates_fill_samples), then LibreOffice must open each document without complaint
# and turn it into a PDF; the first page of each becomes docs/samples/<name>.png.
# The totals of the payment statement are recomputed by LibreOffice and compared with
# the sum of the filled rows.
#
#   interop/templates.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:?usage: templates.sh BUILD_FOLDER}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
filler="$build/tests/templates/templates_fill_samples"
[ -x "$filler" ] || { echo "templates: $filler not built (needs the workbook engine)"; exit 1; }
command -v soffice >/dev/null || { echo "templates: LibreOffice (soffice) is not installed"; exit 1; }
command -v pdftoppm >/dev/null || { echo "templates: pdftoppm (poppler-utils) is not installed"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
profile="file://$work/profile"
"$filler" "$here/resources/files" "$work/filled"

lo() { soffice -env:UserInstallation="$profile" --headless "$@" >"$work/lo.log" 2>&1; }

failures=0
mkdir -p "$work/pdf" "$here/docs/samples"
for doc in "$work"/filled/*; do
    name=$(basename "$doc")
    base=${name%.*}
    lo --convert-to pdf --outdir "$work/pdf" "$doc" || true
    pdf="$work/pdf/$base.pdf"
    if [ ! -s "$pdf" ]; then
        echo "FAIL $name: LibreOffice could not convert it"; cat "$work/lo.log"
        failures=$((failures + 1)); continue
    fi
    pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
    # A filled document shows no marker or placeholder that the engines should have
    # replaced (the RTF text is checked on its PDF rendering).
    if pdftotext "$pdf" - | grep -Eq '#DBF|%NRCRT|\[[A-Z][A-Za-z_0-9]+\]'; then
        echo "FAIL $name: an unfilled marker is visible"; failures=$((failures + 1))
    fi
    sample=$(echo "$base" | tr ' ' '_')
    # The documents of the month take their samples from the operations on the test
    # folder (interop/document_samples.sh); these renderings are only checked.
    case "$sample" in
    Stabilire|Modificare|Respingere|Referat|ModCerere|ModCerereS|Ancheta|StabilireU|Stat)
        echo "ok   $name ($pages pages)"; continue ;;
    esac
    pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$pdf" "$here/docs/samples/$sample"
    echo "ok   $name ($pages pages) -> docs/samples/$sample.png"
done

# Payment statement: LibreOffice recalculates the total row, which must sum the
# inserted data rows (the total moves from row 12 to row 14 for three records).
lo --convert-to csv:"Text - txt - csv (StarCalc)":44,34,76,1,,0,false,true,false,false,false,1 \
   --outdir "$work/csv" "$work/filled/Stat.xls" || true
csv=$(ls "$work"/csv/Stat*.csv 2>/dev/null | head -1)
if [ -n "$csv" ] && python3 - "$csv" <<'EOF'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], encoding="utf-8")))
data = [r for r in rows[10:13]]
total = rows[13]
num = lambda s: float(s.replace(",", ".") or 0)
ok = total[5] == "TOTAL GENERAL" and all(
    abs(num(total[c]) - sum(num(r[c]) for r in data)) < 0.005 for c in range(8, 13))
print("ok   Stat.xls totals" if ok else "FAIL Stat.xls totals: %r" % total)
sys.exit(0 if ok else 1)
EOF
then :; else failures=$((failures + 1)); fi

# Persons list: LibreOffice computes birth date and age from the CNP; a foreign resident
# (first digit 8) is born in the 1900s, a child with first digit 5 or 6 in the 2000s.
lo --convert-to csv --outdir "$work/csv" "$work/filled/ListaPers.xls" || true
if python3 - "$work/csv/ListaPers.csv" <<'EOF'
import csv, sys
def day(text):  # the export writes dates as month/day/year or as day.month.year
    if "/" in text:
        m, d, y = text.split("/")
        return "%s.%s.%s" % (d, m, y)
    return text
born = {r[2]: day(r[6]) for r in csv.reader(open(sys.argv[1], encoding="utf-8",
                                                 errors="replace")) if len(r) > 6}
want = {"8550101264517": "01.01.1955", "5100512264512": "12.05.2010",
        "6080330264513": "30.03.2008", "1670312264511": "12.03.1967"}
bad = {k: born.get(k) for k, v in want.items() if born.get(k) != v}
print("FAIL ListaPers.xls birth dates: %r" % bad if bad else "ok   ListaPers.xls birth dates")
sys.exit(1 if bad else 0)
EOF
then :; else failures=$((failures + 1)); fi

# The E.ON import workbook: row 1 holds the 27 headers in order.
lo --convert-to csv --outdir "$work/csv" "$here/resources/files/MODEL/EONGaz.xlsx" || true
expected="CRC,Primarie,Nr Dispozitie,Ajutor Total,Ajutor Stat,Ajutor Local,Cod Abonat,\
Nume Titular,Prenume Titular,Tip Client,Nume Beneficiar,Prenume Beneficiar,CNP Beneficiar,\
Judet,Cod Loc,Localitate,Cod Str,Strada,Numar,Supliment,Bloc,AP,Punct Consum,Instalatie,\
Numar Membri,Venit Membru,Luna Ajutor"
if [ "$(head -1 "$work/csv/EONGaz.csv" 2>/dev/null | tr -d '\r')" = "$expected" ]; then
    echo "ok   EONGaz.xlsx headers"
else
    echo "FAIL EONGaz.xlsx headers"; failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || { echo "templates: $failures failure(s)"; exit 1; }
