#!/bin/sh
# Reads every table of the reference corpus (tables of many dBase and FoxPro levels written
# by other programs, each with a summary of its fields and record count) and checks that
# focaris-tool sees the same fields and record count, and that every record decodes.
# Usage: interop/dbase.sh BUILD_FOLDER
set -u
build=${1:?usage: interop/dbase.sh BUILD_FOLDER}
repo=$(cd "$(dirname "$0")/.." && pwd)
corpus="$repo/../shared/corpus/dbf"
tool="$build/src/tool/focaris-tool"
if [ ! -d "$corpus" ]; then
    echo "dbase interop: no reference corpus at $corpus, skipped"
    exit 0
fi
if [ ! -x "$tool" ]; then
    echo "dbase interop: $tool is missing (build first)" >&2
    exit 1
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
checked=0
failed=0
for summary in "$corpus"/*_summary.txt; do
    [ -e "$summary" ] || continue
    table="${summary%_summary.txt}.dbf"
    name=$(basename "$table")
    if [ ! -f "$table" ]; then
        echo "FAIL $name: table missing beside its summary"
        failed=$((failed + 1))
        continue
    fi
    # The summary: "Records: N", then one line per field after the dashes.
    sed -n 's/^Records: *//p' "$summary" > "$tmp/want"
    awk 'f && NF >= 4 { print $1, $2, $3, $4 } /^-----/ { f = 1 }' "$summary" >> "$tmp/want"
    if ! "$tool" dbf info "$table" > "$tmp/info" 2> "$tmp/err"; then
        echo "FAIL $name: $(cat "$tmp/err")"
        failed=$((failed + 1))
        continue
    fi
    sed -n 's/^Records: *//p' "$tmp/info" > "$tmp/got"
    awk 'f { print } /^Fields:/ { f = 1 }' "$tmp/info" >> "$tmp/got"
    # The corpus summaries give every dBase II field 0 decimals, while the descriptors
    # (byte 15) and the stored values ("6.000") carry them; compare without decimals there.
    if grep -q '^Version byte: 0x02$' "$tmp/info"; then
        for f in want got; do
            awk 'NR == 1 { print; next } { print $1, $2, $3 }' "$tmp/$f" > "$tmp/$f.cut" && mv "$tmp/$f.cut" "$tmp/$f"
        done
    fi
    if ! cmp -s "$tmp/want" "$tmp/got"; then
        echo "FAIL $name: fields or record count differ from the summary"
        diff "$tmp/want" "$tmp/got" | sed 's/^/    /'
        failed=$((failed + 1))
        continue
    fi
    if ! "$tool" dbf dump "$table" > "$tmp/csv" 2> "$tmp/err"; then
        echo "FAIL $name: dump: $(cat "$tmp/err")"
        failed=$((failed + 1))
        continue
    fi
    echo "ok   $name: $(head -n 1 "$tmp/want") records, $(($(wc -l < "$tmp/want") - 1)) fields, $(($(wc -l < "$tmp/csv") - 1)) live rows dumped"
    checked=$((checked + 1))
done
echo "dbase interop: $checked tables match their summaries, $failed failed"
[ "$failed" -eq 0 ]
