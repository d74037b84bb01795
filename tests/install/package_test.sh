#!/usr/bin/env bash
# Builds the Debian package from a Release build, as a packager would, checks it with lintian
# (an error fails), appstreamcli and desktop-file-validate, unpacks it into a scratch root and
# runs the programs from there: they answer --version without a display, and culvora-cli fills
# an empty data folder from the unpacked share/culvora, found beside it.
#
#   package_test.sh CMAKE CPACK SOURCE_DIR RELEASE_BUILD_DIR GENERATOR VERSION
#
# RELEASE_BUILD_DIR is kept between runs, so a second run builds only what changed.
set -euo pipefail

cmake="$1"
cpack="$2"
source="$3"
build="$4"
generator="$5"
version="$6"

work="$(mktemp -d "${TMPDIR:-/tmp}/culvora-package-test.XXXXXX")"
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
need() {
  command -v "$1" >/dev/null ||
    { echo "FAIL: $1 is missing (package $2; scripts/setup test installs it)" >&2; exit 1; }
}
need dpkg-shlibdeps dpkg-dev
need lintian lintian
need appstreamcli appstream
need desktop-file-validate desktop-file-utils

# --- the package -----------------------------------------------------------------------------
# The sanitizer settings of the test run are not the package's.
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
"$cmake" -S "$source" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
  -DCULVORA_TESTS=OFF -DCULVORA_BENCH=OFF -DCULVORA_SANITIZE=OFF >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log" >&2; echo "FAIL: configuring $build failed" >&2; exit 1; }
"$cmake" --build "$build" >"$work/build.log" 2>&1 ||
  { tail -50 "$work/build.log" >&2; echo "FAIL: the Release build failed" >&2; exit 1; }
rm -f "$build"/culvora_*.deb
(cd "$build" && "$cpack" -G DEB) >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; echo "FAIL: cpack -G DEB failed" >&2; exit 1; }
debs=("$build"/culvora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] ||
  { echo "FAIL: cpack made no single culvora_*.deb: ${debs[*]}" >&2; exit 1; }
deb="${debs[0]}"
echo "package: $deb"

# The name says what it is; the fields a package manager and a user see.
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "culvora_${version}-1_${arch}.deb" ] ||
  fail "the package is named $(basename "$deb"), not culvora_${version}-1_${arch}.deb"
[ "$(dpkg-deb -f "$deb" Package)" = culvora ] || fail "the package is not named culvora"
[ "$(dpkg-deb -f "$deb" Version)" = "${version}-1" ] || fail "the package's version is not ${version}-1"
depends="$(dpkg-deb -f "$deb" Depends)"
# libcurl is opened with dlopen, so it is named by hand; the Qt libraries come from
# dpkg-shlibdeps, with the versions the programs were linked against.
for package in libcurl4 libqt6widgets6 libqt6printsupport6 libstdc++6; do
  tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$package" ||
    fail "Depends lacks $package: $depends"
done
grep -q 'qt6-image-formats-plugins' <<<"$(dpkg-deb -f "$deb" Recommends)" ||
  fail "Recommends lacks qt6-image-formats-plugins"

# lintian: no errors. Its warnings are shown; the test fails on errors only.
if ! lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1; then
  fail "lintian found errors"
fi
grep -v 'root privileges is not recommended' "$work/lintian.log" >&2 || true

# --- unpacked into a scratch root ------------------------------------------------------------
root="$work/root"
dpkg -x "$deb" "$root"
usr="$root/usr"
expected=(
  bin/culvora bin/culvora-cli
  share/applications/org.example.culvora.desktop
  share/metainfo/org.example.culvora.metainfo.xml
  share/icons/hicolor/scalable/apps/culvora.svg
  share/man/man1/culvora.1.gz share/man/man1/culvora-cli.1.gz
  share/doc/culvora/copyright share/doc/culvora/changelog.Debian.gz
  share/culvora/exchange-server/exchange_server.py share/culvora/exchange-server/README.md
  share/culvora/exchange/tavendi/network.txt
  share/culvora/help/index.html
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/culvora.png")
done
for file in "${expected[@]}"; do
  [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
for program in bin/culvora bin/culvora-cli share/culvora/exchange-server/exchange_server.py; do
  [ -x "$usr/$program" ] || fail "/usr/$program is not executable"
done

metainfo="$usr/share/metainfo/org.example.culvora.metainfo.xml"
# --no-net: the addresses are the project's web site, which this check does not fetch.
if [ -f "$metainfo" ] && ! appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1
then
  cat "$work/appstream.log" >&2
  fail "appstreamcli validate failed"
fi
# Every screenshot it names is one the source holds, for the web site to publish.
if [ -f "$metainfo" ]; then
  while read -r url; do
    [ -f "$source/dist/screenshots/$(basename "$url")" ] ||
      fail "the metainfo names a screenshot that dist/screenshots/ lacks: $url"
  done < <(grep -oP '<image>\K[^<]+' "$metainfo")
  grep -q '<image>' "$metainfo" || fail "the metainfo names no screenshot"
fi
desktop="$usr/share/applications/org.example.culvora.desktop"
if [ -f "$desktop" ] && ! desktop-file-validate "$desktop"; then
  fail "the desktop entry does not validate"
fi

# Both man pages read without complaint from man.
for page in culvora culvora-cli; do
  file="$usr/share/man/man1/$page.1.gz"
  [ -f "$file" ] || continue
  if command -v man >/dev/null; then
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)" ||
      fail "man could not show $page(1)"
    [ -z "$warnings" ] || fail "man warns about $page(1): $warnings"
  fi
  zcat "$file" | grep -q '^\.SH NAME' || fail "$page(1) has no NAME section"
  zcat "$file" | grep -q "^\.TH .*$version" || fail "$page(1) does not name version $version"
done

# --- the unpacked programs at work -----------------------------------------------------------
# No display at all: packaging tools and scripts ask this way.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
if out="$("${no_display[@]}" "$usr/bin/culvora" --version 2>&1)"; then
  [ "$out" = "Culvora $version" ] || fail "culvora --version printed: $out"
else
  fail "culvora --version failed: $out"
fi
if out="$("${no_display[@]}" "$usr/bin/culvora-cli" --version 2>&1)"; then
  [[ "$out" == *"$version"* ]] || fail "culvora-cli --version printed: $out"
else
  fail "culvora-cli --version failed: $out"
fi

# An empty data folder is filled from the unpacked share/culvora, which the program finds
# beside itself: a cookbook listed only in the unpacked copy shows up.
printf 'Unpacked only\r\nBOOK1.TXT\r\n' >>"$usr/share/culvora/bocker.txt"
data="$work/data"
mkdir "$data"
if books="$("$usr/bin/culvora-cli" --data-dir "$data" books 2>"$work/cli.err")"; then
  grep -qP '^Standard(\t|$)' <<<"$books" || fail "culvora-cli books printed: $books"
  grep -qP '^Unpacked only(\t|$)' <<<"$books" ||
    fail "culvora-cli took its data from elsewhere than the unpacked share/culvora: $books"
  [ -f "$data/BOOK1.TXT" ] || fail "culvora-cli did not seed BOOK1.TXT"
else
  fail "culvora-cli --data-dir EMPTY books failed: $(cat "$work/cli.err")"
fi

# --- memory ------------------------------------------------------------------------------------
# The reading commands of the Release build stay within three times the cookbook on files of
# empty lines (CR alone and LF alone), under `ulimit -v` (a sanitizer build cannot run there).
if ! CULVORA_MEMORY_BOOKS="cr lf" bash "$source/bench/memory_bound.sh" "$build" 40 \
  >"$work/memory.out" 2>&1; then
  fail "a command went over three times the cookbook's size: $(cat "$work/memory.out")"
fi
# A cookbook too large for the memory allowed: a plain refusal (exit 1), not an abort.
mkdir "$work/huge"
head -c 40000000 /dev/zero | tr '\0' '\r' >"$work/huge/BOOK1.TXT"
status=0
(ulimit -v 30000; "$build/src/culvora-cli" --data-dir "$work/huge" --book BOOK1.TXT show Soup \
  >/dev/null 2>"$work/huge.err") || status=$?
[ "$status" = 1 ] && grep -q 'not enough memory' "$work/huge.err" ||
  fail "show without the memory for the cookbook exited $status: $(head -c 300 "$work/huge.err")"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package: all checks passed"
