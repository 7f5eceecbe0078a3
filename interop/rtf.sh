#!/bin/bash
# The RTF template engine against LibreOffice Writer: a template written in Writer and
# saved as RTF (placeholders typed in one go) is filled by `focaris-tool rtf fill` with two
# records; LibreOffice must open the result, and its text must hold every value in place
# (diacritics included) and no placeholder.
#
#   interop/rtf.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:?usage: rtf.sh BUILD_FOLDER}" && pwd)
tool="$build/src/tool/focaris-tool"
[ -x "$tool" ] || { echo "rtf: $tool not built"; exit 1; }
command -v soffice >/dev/null || { echo "rtf: LibreOffice (soffice) is not installed"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lo() { soffice -env:UserInstallation="file://$work/profile" --headless "$@" >"$work/lo.log" 2>&1; }

# The template as a person would type it in Writer: headings, bold, a table.
cat >"$work/Model.html" <<'HTML'
<html><head><meta charset="utf-8"></head><body>
<h2>DISPOZIȚIE nr. [NR] din [DATA]</h2>
<p>Se acordă ajutorul pentru încălzire doamnei/domnului <b>[NUME]</b>, CNP [CNP],</p>
<p>domiciliat(ă) în [Localitate], strada [Strada].</p>
<table border="1"><tr><td>Luna</td><td>Suma</td></tr><tr><td>[LUNA]</td><td>[SUMA] lei</td></tr></table>
<p>Întocmit, [Intocmit]</p>
</body></html>
HTML
lo --convert-to rtf:"Rich Text Format" --outdir "$work" "$work/Model.html"
[ -s "$work/Model.rtf" ] || { echo "FAIL: Writer did not save the template"; cat "$work/lo.log"; exit 1; }
for key in '\[NR\]' '\[NUME\]' '\[CNP\]' '\[Localitate\]' '\[SUMA\]' '\[Intocmit\]'; do
    grep -q "$key" "$work/Model.rtf" || { echo "FAIL: Writer split the placeholder $key"; exit 1; }
done

cat >"$work/values.csv" <<'CSV'
[NR],[DATA],[NUME],[CNP],[Localitate],[Strada],[LUNA],[SUMA],[Intocmit]
12,01.11.2026,Popescu Ion,1800101123456,Târgu Mureş,Ștefan cel Mare {bloc A},noiembrie,"1.234,50",Ţuţuianu Ana
13,01.11.2026,Ionescu Maria,2850505123456,Sighişoara,,decembrie,310,Ţuţuianu Ana
CSV
"$tool" rtf fill "$work/Model.rtf" "$work/Dispozitie0.rtf" --values "$work/values.csv"

lo --convert-to "txt:Text (encoded):UTF8" --outdir "$work/txt" "$work/Dispozitie0.rtf"
text="$work/txt/Dispozitie0.txt"
[ -s "$text" ] || { echo "FAIL: LibreOffice could not open the filled document"; cat "$work/lo.log"; exit 1; }
failures=0
expect() { grep -qF -- "$1" "$text" || { echo "FAIL: '$1' not in the document"; failures=$((failures + 1)); }; }
expect "POPESCU ION"
expect "IONESCU MARIA"
expect "1800101123456"
expect "Târgu Mureş"
expect "Ştefan cel Mare (bloc A)"
expect "Sighişoara, strada .........."
expect "1.234,50 lei"
expect "Ţuţuianu Ana"
expect "DISPOZIȚIE nr. 12 din 01.11.2026"
if grep -Eq '\[[A-Za-z]+\]' "$text"; then
    echo "FAIL: a placeholder is left in the document"; failures=$((failures + 1))
fi
# Two records, two pages.
lo --convert-to pdf --outdir "$work/pdf" "$work/Dispozitie0.rtf"
if command -v pdfinfo >/dev/null; then
    pages=$(pdfinfo "$work/pdf/Dispozitie0.pdf" | awk '/^Pages:/ {print $2}')
    [ "$pages" = 2 ] || { echo "FAIL: $pages pages instead of 2"; failures=$((failures + 1)); }
fi
[ "$failures" = 0 ] || exit 1
echo "rtf: Writer template filled and read back by LibreOffice"
