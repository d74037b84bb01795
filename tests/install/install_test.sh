#!/usr/bin/env bash
# Installs the build into a fresh prefix, as a packager would, and checks that the installed
# programs are complete and work from there: the files in their places, the delivered data
# whole, the desktop entry valid, the icons the sizes they say, the program answering --version
# and --help without a display, and the programs seeding an empty data folder from the
# installed data (not from the source tree it was built from) with only the files a user
# changes; help pages and pictures stay in share/culvora, where the program reads them.
#
#   install_test.sh CMAKE BUILD_DIR SOURCE_DIR GUI(ON|OFF)
set -euo pipefail

cmake="$1"
build="$2"
source="$3"
gui="$4"

work="$(mktemp -d "${TMPDIR:-/tmp}/culvora-install-test.XXXXXX")"
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP
prefix="$work/prefix"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
}

# --- the files in their places ---------------------------------------------------------------
programs=(bin/culvora-cli)
if [ "$gui" = "ON" ]; then programs+=(bin/culvora); fi
expected=(
  share/culvora/BOOK1.TXT
  share/culvora/bocker.txt
  share/culvora/typer.txt
  share/culvora/exchange-server/exchange_server.py
  share/culvora/exchange-server/README.md
  share/applications/org.example.culvora.desktop
  share/metainfo/org.example.culvora.metainfo.xml
  share/icons/hicolor/scalable/apps/culvora.svg
  share/man/man1/culvora-cli.1.gz
  share/doc/culvora/copyright
)
icon_sizes=(16x16 24x24 32x32 48x48 64x64 128x128 256x256)
for size in "${icon_sizes[@]}"; do expected+=("share/icons/hicolor/$size/apps/culvora.png"); done
if [ "$gui" = "ON" ]; then expected+=(share/man/man1/culvora.1.gz); fi
for file in "${programs[@]}" "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for program in "${programs[@]}" share/culvora/exchange-server/exchange_server.py; do
  [ -x "$prefix/$program" ] || fail "$program is not executable"
done

# Every delivered file arrives unchanged, and nothing that is not delivered comes along (the
# exchange server's folder beside them is checked above).
(cd "$source/data" && find . -type f | sort) \
  >"$work/delivered.txt"
(cd "$prefix/share/culvora" && find . -path ./exchange-server -prune -o -type f -print | sort) \
  >"$work/installed.txt"
if ! diff -u "$work/delivered.txt" "$work/installed.txt" >"$work/data.diff"; then
  cat "$work/data.diff" >&2
  fail "share/culvora does not hold exactly the delivered files"
fi
while read -r file; do
  cmp -s "$source/data/$file" "$prefix/share/culvora/$file" || fail "share/culvora/$file differs"
done <"$work/delivered.txt"

# The icon folders promise a size; a PNG's width and height are bytes 16..23 of its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216 + $2*65536 + $3*256 + $4,
                                                     $5*16777216 + $6*65536 + $7*256 + $8 }'
}
for size in "${icon_sizes[@]}"; do
  icon="$prefix/share/icons/hicolor/$size/apps/culvora.png"
  if [ -f "$icon" ] && [ "$(png_size "$icon")" != "$size" ]; then
    fail "the $size icon is $(png_size "$icon") pixels"
  fi
done

desktop="$prefix/share/applications/org.example.culvora.desktop"
if [ -f "$desktop" ]; then
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
  else
    fail "desktop-file-validate is missing (package desktop-file-utils; scripts/setup installs it)"
  fi
  for line in 'Name=Culvora' 'Exec=culvora' 'Icon=culvora' 'Type=Application'; do
    grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
  done
fi

# --- the installed programs at work ----------------------------------------------------------
# --version and --help are answered with no display at all, as packaging tools ask them.
if [ "$gui" = "ON" ]; then
  no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
  version="$("${no_display[@]}" "$prefix/bin/culvora" --version 2>&1)" ||
    fail "bin/culvora --version failed: $version"
  [[ "$version" =~ ^Culvora\ [0-9]+\.[0-9]+ ]] || fail "bin/culvora --version printed: $version"
  help="$("${no_display[@]}" "$prefix/bin/culvora" --help 2>&1)" ||
    fail "bin/culvora --help failed: $help"
  [[ "$help" == *"--data-dir <folder>"* && "$help" == *"--version"* ]] ||
    fail "bin/culvora --help printed: $help"
fi

# What a new data folder holds after the first start: the files a user changes, and the lock
# a program may leave; no help pages, pictures or credits.
seeded=(BOOK1.TXT bocker.txt drinkar.txt exchange.ini index.txt sok.txt tavendi.ini typer.txt)
check_seeded() {
  local folder="$1" who="$2" name
  for name in "${seeded[@]}"; do
    cmp -s "$source/data/$name" "$folder/$name" || fail "$who did not seed $name"
  done
  while read -r name; do
    case " ${seeded[*]} culvora.lock " in
    *" $name "*) ;;
    *) fail "$who copied $name into the data folder" ;;
    esac
  done < <(cd "$folder" && find . -mindepth 1 -maxdepth 1 -printf '%P\n')
}

# An empty data folder is filled from the installed data, and the delivered cookbook list
# names the standard cookbook.
data="$work/data"
mkdir "$data"
if books="$("$prefix/bin/culvora-cli" --data-dir "$data" books 2>"$work/cli.err")"; then
  # One line a cookbook: its title, then a tab and its file.
  grep -qP '^Standard(\t|$)' <<<"$books" || fail "culvora-cli books printed: $books"
  check_seeded "$data" culvora-cli
else
  fail "culvora-cli --data-dir EMPTY books failed: $(cat "$work/cli.err")"
fi

# The program starts on a new data folder, seeds it the same way, shows its main window and
# (asked to by CULVORA_STARTUP_TIME) ends.
if [ "$gui" = "ON" ]; then
  gui_data="$work/gui-data"
  if shown="$(QT_QPA_PLATFORM=offscreen CULVORA_STARTUP_TIME=quit timeout 60 \
    "$prefix/bin/culvora" --data-dir "$gui_data" 2>"$work/gui.err")"; then
    [[ "$shown" == *"main window shown"* ]] || fail "bin/culvora printed: $shown"
    check_seeded "$gui_data" "bin/culvora"
  else
    fail "bin/culvora --data-dir EMPTY failed: $(cat "$work/gui.err")"
  fi
fi

# The installed data is what it takes, not the source tree: a cookbook listed only in the
# installed copy shows up in a second empty folder.
printf 'Installed only\r\nBOOK1.TXT\r\n' >>"$prefix/share/culvora/bocker.txt"
data2="$work/data2"
mkdir "$data2"
if books="$("$prefix/bin/culvora-cli" --data-dir "$data2" books 2>"$work/cli.err")"; then
  grep -qP '^Installed only(\t|$)' <<<"$books" ||
    fail "culvora-cli took its data from elsewhere than <prefix>/share/culvora: $books"
else
  fail "culvora-cli --data-dir EMPTY books failed: $(cat "$work/cli.err")"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install: all checks passed"
