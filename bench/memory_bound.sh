#!/usr/bin/env bash
# Runs the Release culvora-cli's reading commands on cookbooks of about 100 MB that are built to
# cost memory (a file of CR bytes, of LF bytes, of "[NAMN]" lines, and one recipe of 100 MB of
# empty ingredient lines) under `ulimit -v` of three times the file, and reports each command's
# peak resident set and whether it finished within the limit.
#
#   bench/memory_bound.sh [BUILD_DIR] [MEGABYTES]
#
# BUILD_DIR is a Release build (default build/release; a sanitizer build cannot run under
# ulimit -v). MEGABYTES is the size of each cookbook (default 100). CULVORA_MEMORY_BOOKS names
# the cookbooks to try (default "cr lf namn record"). The files go under the temporary folder
# and are removed at the end. Exits 1 when a command went over the limit.
set -euo pipefail

build=${1:-build/release}
megabytes=${2:-100}
cli=$build/src/culvora-cli
if [[ ! -x $cli ]]; then
  echo "memory_bound.sh: $cli is missing; build culvora-cli first." >&2
  exit 2
fi
bytes=$((megabytes * 1000 * 1000))

work=$(mktemp -d "${TMPDIR:-/tmp}/culvora-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT

soup=$'[NAMN]\r\nSoup\r\n[PORTIONER]\r\n1\r\n[TID]\r\n1\r\n[IND]\r\nwater\r\n[G\xD6RA]\r\nBoil.\r\n[TYP]\r\nSoups\r\n'
make_book() {  # NAME, then the command that writes the filler
  local dir=$work/$1
  mkdir -p "$dir"
  shift
  { "$@"; printf '%s' "$soup"; } > "$dir/BOOK1.TXT"
  printf 'Soups\r\n' > "$dir/typer.txt"
}
books=(${CULVORA_MEMORY_BOOKS:-cr lf namn record})
wanted() { [[ " ${books[*]} " == *" $1 "* ]]; }
wanted cr && make_book cr bash -c "head -c $bytes /dev/zero | tr '\\0' '\\r'"
wanted lf && make_book lf bash -c "head -c $bytes /dev/zero | tr '\\0' '\\n'"
wanted namn && make_book namn bash -c "yes '[NAMN]' | head -c $bytes | sed 's/\$/\\r/'"
wanted record && make_book record bash -c "printf '[NAMN]\\r\\nStew\\r\\n[PORTIONER]\\r\\n1\\r\\n[TID]\\r\\n1\\r\\n[IND]\\r\\n';
  head -c $((bytes / 2)) /dev/zero | tr '\\0' '\\n' | sed 's/\$/\\r/';
  printf '[G\\xD6RA]\\r\\nStir.\\r\\n[TYP]\\r\\nSoups\\r\\n'"

commands=("list" "index" "show NAME" "view NAME" "search --type Soups --max-time 100"
          "fridge water" "menu --option light --seed 1" "print NAME --pdf $work/out.pdf"
          "html NAME $work/out.html" "archive" "backup $work/copy")
status=0
printf '%-8s %-40s %10s %6s  %s\n' book command "peak MB" "x file" result
for book in "${books[@]}"; do
  dir=$work/$book
  size=$(stat -c %s "$dir/BOOK1.TXT")
  limit_kb=$((3 * size / 1024))
  for command in "${commands[@]}"; do
    # The recipe shown and printed: the huge one in its book, the small one after the filler.
    name=Soup
    [[ $book == record ]] && name=Stew
    command=${command//NAME/$name}
    rm -rf "$dir/html" "$work/copy" && mkdir -p "$work/copy"
    # shellcheck disable=SC2086
    if (ulimit -v "$limit_kb"; /usr/bin/time -f '%M' -o "$work/peak" \
          "$cli" --data-dir "$dir" --book BOOK1.TXT $command >/dev/null 2>"$work/err"); then
      result=ok
    elif grep -q 'bad_alloc\|cannot allocate\|Cannot allocate\|out of memory\|not enough memory' "$work/err"; then
      result="OVER THE LIMIT"
      status=1
    else
      result="refused: $(head -c 70 "$work/err" | tr '\n' ' ')"
    fi
    peak_kb=$(grep -Eo '^[0-9]+$' "$work/peak" | tail -1 || echo 0)
    printf '%-8s %-40s %10d %6.2f  %s\n' "$book" "${command//$work/}" $((peak_kb / 1024)) \
      "$(awk -v peak="$peak_kb" -v size="$size" 'BEGIN { print peak * 1024 / size }')" "$result"
  done
done
exit $status
