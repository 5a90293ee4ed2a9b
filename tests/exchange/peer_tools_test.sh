#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Our exports read by the real peer tools (fcitx5's libime_tabledict, RIME's rime_deployer),
# which must hold exactly our words; the peers' own word lists (../shared/bench/gen_data.py
# beside the project, or $KPX_GEN_DATA) read by us; and kpx-make's refusal of UTF-8 input.
# Usage: peer_tools_test.sh KPX_CONVERT KPX_MAKE SOURCE_DIR. Exit 77 (skipped) without the peers.
set -euo pipefail

convert=$1
make=$2
source_dir=$3
peers=1
for tool in libime_tabledict rime_deployer; do
    if ! command -v "$tool" >/dev/null; then
        echo "note: $tool is missing (Debian: libime-bin, librime-bin; scripts/install-deps.sh installs them)"
        peers=0
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp -r "$source_dir/tests/data" data
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# The word lines of a file, sorted, with LF ends.
words_of() { sed -e 's/\r$//' "$@" | LC_ALL=C sort; }
same() { # what, ours, theirs
    if ! cmp -s "$2" "$3"; then
        fail "$1: $(LC_ALL=C comm -3 "$2" "$3" | head -5 | tr '\n' '|')"
    else
        echo "ok: $1 ($(wc -l <"$2") words)"
    fi
}

# Keys that test the formats' edges: hyphens at the ends and doubled, '#', capitals, Big5 in a
# key, a word beginning with '#'.
printf 'a--b \xa5\xd2\r\n-lead \xa4\x41\r\ntrail- \xa4\x42\r\n\xa5x\xc6W \xa4\x43\r\nAB#c #\xa4\x44\r\ntai5-uan5 \xa5x\xc6W\r\n' \
    >>data/big.txt

if ((peers)); then
# --- fcitx5: our table source compiled by libime_tabledict and dumped back.
(cd data && "$convert" -q big.txt -o ../big.fcitx5.txt --order ty)
libime_tabledict big.fcitx5.txt big.main.dict
libime_tabledict -d big.main.dict big.dump.txt
sed -n '/^\[Data\]$/,$p' big.fcitx5.txt | tail -n +2 | words_of >ours.fcitx5
sed -n '/^\[Data\]$/,$p' big.dump.txt | tail -n +2 | words_of >theirs.fcitx5
same "libime_tabledict holds our fcitx5 words" ours.fcitx5 theirs.fcitx5
# ... and what it dumps comes back to our data lines.
"$convert" -q big.dump.txt --from fcitx5 -o back.txt --keep-case
(cd data && "$convert" -q big.txt -o ../direct.txt)
words_of back.txt >back.sorted
words_of direct.txt >direct.sorted
same "libime's dump reads back as our entries" direct.sorted back.sorted

# --- RIME: our dictionary built by rime_deployer with a minimal schema; it writes the table
# as text. Once with codes as one word each, once as syllables.
for syllables in "" --syllables; do
    rm -rf rime && mkdir -p rime/user rime/shared rime/staging
    (cd data && "$convert" -q big.txt -o ../rime/user/ours.dict.yaml $syllables)
    cat >rime/user/ours.schema.yaml <<'SCHEMA'
schema:
  schema_id: ours
  name: ours
  version: "1"
engine:
  translators:
    - table_translator
translator:
  dictionary: ours
SCHEMA
    rime_deployer --compile rime/user/ours.schema.yaml rime/user rime/shared rime/staging 2>rime/log.txt ||
        { fail "rime_deployer failed: $(tail -3 rime/log.txt)"; continue; }
    sed -n '/^# no comment$/,$p' rime/user/ours.dict.yaml | tail -n +2 | words_of >ours.rime
    # The table's text: a commented syllabary, a blank line, then text<TAB>code<TAB>weight.
    sed -n '/^$/,$p' rime/staging/ours.table.txt | grep -v '^$' | cut -f1,2 | words_of >theirs.rime
    same "rime_deployer holds our RIME words ${syllables:-as one code each}" ours.rime theirs.rime
    "$convert" -q rime/user/ours.dict.yaml -o rime-back.txt --keep-case
    words_of rime-back.txt >rime-back.sorted
    same "our RIME dictionary ${syllables} reads back as our entries" direct.sorted rime-back.sorted
done

fi

# --- A UTF-8 data file and include file: kpx-make names them and writes no table, then
# converts them on request into the table of the same words in Big5.
printf 'tai5-uan5 \xa5x\xc6W\r\n\t#include inc-big5.txt\r\n' >make-big5.txt
printf 'ho2 \xa6n\r\n' >inc-big5.txt
printf '// \xe8\xa8\xbb\r\ntai5-uan5 \xe5\x8f\xb0\xe7\x81\xa3\r\n\t#include inc-utf8.txt\r\nin5 \xf0\xaa\x9c\xb6\r\n' >make-utf8.txt
printf '\xef\xbb\xbfho2 \xe5\xa5\xbd\r\n' >inc-utf8.txt
status=0
"$make" -q make-utf8.txt -o utf8.zd 2>make.err || status=$?
[ "$status" = 1 ] && [ ! -e utf8.zd ] || fail "kpx-make with UTF-8 input: status $status"
[ "$(cat make.err)" = "make-utf8.txt:1: UTF-8 text, not Big5: the file is UTF-8
inc-utf8.txt:1: UTF-8 text, not Big5: the file is UTF-8
kpx-make: table not written: the input is UTF-8 text (--encoding utf-8 converts it)" ] || fail "kpx-make said: $(cat make.err)"
"$make" -q make-utf8.txt -o utf8.zd --encoding utf-8 2>make.err || fail "kpx-make --encoding utf-8 failed"
[ "$(cat make.err)" = "make-utf8.txt:4: 𪜶 (U+2A736) has no Big5 form: line left out" ] || fail "kpx-make --encoding said: $(cat make.err)"
"$make" -q make-big5.txt -o big5.zd || fail "kpx-make on Big5 failed"
cmp -s utf8.zd big5.zd && echo "ok: kpx-make refuses UTF-8 input and converts it on request" ||
    fail "kpx-make --encoding utf-8 made another table than the Big5 files"

# --- The peers' own word lists, written by an independent generator.
gen=${KPX_GEN_DATA:-$source_dir/../shared/bench/gen_data.py}
if [ -f "$gen" ] && command -v python3 >/dev/null; then
    python3 "$gen" 3000 -o gen.txt --format big5
    python3 "$gen" 3000 -o gen.fcitx5.txt --format libime
    python3 "$gen" 3000 -o gen.dict.yaml --format rime
    python3 "$gen" 3000 -o gen-utf8.txt --format utf8
    "$convert" -q gen.txt -o gen-direct.txt
    words_of gen-direct.txt >gen-direct.sorted
    for peer in gen.fcitx5.txt gen.dict.yaml; do
        "$convert" -q "$peer" -o "$peer.back.txt" --keep-case
        words_of "$peer.back.txt" >"$peer.sorted"
        same "$peer (generated) reads as the same entries" gen-direct.sorted "$peer.sorted"
    done
    # libime's own table of the generated list, dumped, reads the same too.
    if ((peers)); then
        libime_tabledict gen.fcitx5.txt gen.main.dict && libime_tabledict -d gen.main.dict gen.dump.txt
        "$convert" -q gen.dump.txt --from fcitx5 -o gen-dump-back.txt --keep-case
        words_of gen-dump-back.txt >gen-dump.sorted
        same "libime's table of the generated list reads as the same entries" gen-direct.sorted gen-dump.sorted
    fi
    # The generator's UTF-8 data file makes, converted, the table of its Big5 one.
    if "$make" -q gen-utf8.txt -o gen-utf8.zd 2>/dev/null || [ -e gen-utf8.zd ]; then
        fail "kpx-make wrote a table from the generated UTF-8 list"
    fi
    "$make" -q gen-utf8.txt -o gen-utf8.zd --encoding utf-8
    "$make" -q gen.txt -o gen-big5.zd
    cmp -s gen-utf8.zd gen-big5.zd && echo "ok: the generated UTF-8 list converted makes the Big5 list's table" ||
        fail "kpx-make --encoding utf-8 made another table than the generated Big5 list"
else
    echo "note: no gen_data.py (set KPX_GEN_DATA): the generated peer lists are not tried"
fi

# --- Characters outside Big5 are named by line, the rest comes in; '-' is a pipe.
printf 'tai5-uan5\t台灣\nin5\t\xf0\xaa\x9c\xb6\nho2\t好\n' >outside.tsv
status=0
"$convert" -q - --from tsv -o - --to big5 <outside.tsv >outside.txt 2>outside.err || status=$?
[ "$status" = 0 ] || fail "import with a character outside Big5 ended with $status"
[ "$(cat outside.err)" = "(standard input):2: 𪜶 (U+2A736) has no Big5 form" ] || fail "import said: $(cat outside.err)"
[ "$(printf 'tai5-uan5 \xa5x\xc6W\r\nho2 \xa6n\r\n')" = "$(cat outside.txt)" ] || fail "import wrote: $(od -c outside.txt)"
status=0
"$convert" -q outside.tsv -o words.list 2>name.err || status=$?
[ "$status" = 2 ] && grep -q -- '--to' name.err || fail "an output name without a format: $status $(cat name.err)"

status=0
"$convert" -q missing.txt -o x.tsv 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "an unreadable input ended with $status"
status=0
"$convert" -q outside.tsv -o no-such-dir/x.txt 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "an output that cannot be written ended with $status"
"$convert" -q outside.txt -o - --to tsv --text-first | head -1 | grep -q "$(printf '^台灣\ttai5-uan5$')" ||
    fail "--text-first"

# --- A csv with chosen columns: keys into form, a variant replaced, every change and refusal named.
printf '\xef\xbb\xbf"id","Poj","Han"\r\n"1","Kut-chhùi-pò͘","骨碎補"\r\n"2","kóe/ké","鷄"\r\n"3","sui2","媠"\r\n' >words.csv
status=0
"$convert" words.csv --key Poj --text 3 -o - --to tsv >csv.tsv 2>csv.err || status=$?
[ "$status" = 0 ] || fail "csv import ended with $status"
[ "$(printf 'kut-chhui3-poo3\t骨碎補\nkoe2\t雞\nke2\t雞')" = "$(cat csv.tsv)" ] || fail "csv import wrote: $(cat csv.tsv)"
grep -qx 'words.csv:3: 鷄 (U+9DC4) -> 雞 (U+96DE)' csv.err &&
    grep -q 'words read: 3; entries made: 3; keys changed: tone marks to digits 2, o͘, ⁿ, ı to letters 1, alternatives split 1, lower-cased 1; characters replaced: 1; words refused: 1' csv.err &&
    grep -qx 'words.csv:4: 媠 (U+5AA0) has no Big5 form' csv.err || fail "csv import said: $(cat csv.err)"
"$convert" -q words.csv --key Poj --text Han -o csv.txt 2>csv-q.err
[ "$(cat csv-q.err)" = "words.csv:4: 媠 (U+5AA0) has no Big5 form" ] || fail "-q said: $(cat csv-q.err)"
status=0
"$convert" -q words.csv --key PojInput --text Han -o nothing.txt 2>column.err || status=$?
[ "$status" = 2 ] && [ ! -e nothing.txt ] && grep -q "no column 'PojInput'.*id, Poj, Han" column.err ||
    fail "a missing column: $status $(cat column.err)"
# --- A data file's keys respelled big5 to big5: comments and include lines stay as they are.
printf '// chhit-tho\r\n#include "x.txt"\r\nChhit-tho5 \xa5\xd2\r\nchheng/chhinn \xa4\x41\r\n' >poj.txt
"$convert" -q poj.txt -o tailo.txt --keys tailo --keep-case
[ "$(printf '// chhit-tho\r\n#include "x.txt"\r\nTshit-tho5 \xa5\xd2\r\ntshing \xa4\x41\r\ntshinn \xa4\x41\r\n')" = "$(cat tailo.txt)" ] ||
    fail "--keys tailo wrote: $(od -c tailo.txt | head)"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
if ((!peers)); then
    echo "SKIP: the peer tools are missing; the other checks passed"
    exit 77
fi
echo "all checks passed"
