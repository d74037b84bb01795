#!/usr/bin/env bash
# Runs scripts/setup against stand-ins for dpkg-query, apt-get, id and sudo, and checks what it
# would install and how: as root apt-get itself, otherwise through sudo, and without sudo a
# clear word that it needs root (exit 1) and no apt-get; "run" leaves the test tools out.
#
#   setup_test.sh SOURCE_DIR
set -euo pipefail

setup="$1/scripts/setup"
work="$(mktemp -d "${TMPDIR:-/tmp}/culvora-setup-test.XXXXXX")"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# A PATH with only the stand-ins and the few real tools the script uses, so no real sudo or
# apt-get can be reached.
tools="$work/tools"
mkdir "$tools"
for tool in bash env grep cat; do ln -s "$(command -v "$tool")" "$tools/$tool"; done
# dpkg-query: the packages named in $work/installed are installed.
cat >"$tools/dpkg-query" <<EOF
#!$(command -v bash)
package="\${@: -1}"
if grep -qxF "\$package" "$work/installed" 2>/dev/null; then
  printf 'install ok installed'
else
  exit 1
fi
EOF
cat >"$tools/apt-get" <<EOF
#!$(command -v bash)
echo "\${SUDO_USED:-direct} DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-} apt-get \$*" >>"$work/apt.log"
EOF
cat >"$tools/id" <<EOF
#!$(command -v bash)
echo "\$FAKE_UID"
EOF
cat >"$tools/sudo.stand-in" <<EOF
#!$(command -v bash)
SUDO_USED=sudo exec "\$@"
EOF
chmod +x "$tools"/*

# run_setup UID WITH_SUDO ARGS...: the exit code; the output in $work/out, apt-get's calls in
# $work/apt.log.
run_setup() {
  local uid="$1" with_sudo="$2" status=0
  shift 2
  rm -f "$work/apt.log" "$tools/sudo"
  if [ "$with_sudo" = yes ]; then cp "$tools/sudo.stand-in" "$tools/sudo"; fi
  PATH="$tools" FAKE_UID="$uid" bash "$setup" "$@" >"$work/out" 2>&1 || status=$?
  echo "$status"
}
installs() { grep -q "apt-get install .* $1\( \|$\)" "$work/apt.log" 2>/dev/null; }

# Nothing installed yet. As root: apt-get itself, non-interactive, update first.
rm -f "$work/installed"
status="$(run_setup 0 no test)"
[ "$status" = 0 ] || fail "setup test as root exited $status: $(cat "$work/out")"
[ "$(head -1 "$work/apt.log" 2>/dev/null)" = "direct DEBIAN_FRONTEND=noninteractive apt-get update -qq" ] ||
  fail "setup as root did not update first with apt-get itself: $(cat "$work/apt.log" 2>/dev/null)"
for package in qt6-base-dev libgtest-dev libbenchmark-dev clang-16 poppler-utils lintian \
  appstream dpkg-dev desktop-file-utils python3-pyftpdlib; do
  installs "$package" || fail "setup test does not install $package"
done

# The run set-up: what building and running needs, none of the test tools.
status="$(run_setup 0 no run)"
[ "$status" = 0 ] || fail "setup run as root exited $status: $(cat "$work/out")"
for package in cmake g++ qt6-base-dev libcurl4-openssl-dev qt6-image-formats-plugins \
  fonts-liberation python3-pyftpdlib; do
  installs "$package" || fail "setup run does not install $package"
done
for package in libgtest-dev libgmock-dev libbenchmark-dev clang-16 libclang-rt-16-dev lintian \
  appstream poppler-utils; do
  installs "$package" && fail "setup run installs $package, which only the tests need"
done
# No argument is the run set-up.
run_setup 0 no >/dev/null
installs libgtest-dev && fail "setup without an argument installs the test tools"

# Not root, sudo there: through sudo.
status="$(run_setup 1000 yes run)"
[ "$status" = 0 ] || fail "setup as a user with sudo exited $status: $(cat "$work/out")"
grep -q '^sudo DEBIAN_FRONTEND=noninteractive apt-get install' "$work/apt.log" 2>/dev/null ||
  fail "setup as a user did not install through sudo: $(cat "$work/apt.log" 2>/dev/null)"

# Not root, no sudo: says it needs root and which packages, installs nothing, fails.
status="$(run_setup 1000 no run)"
[ "$status" = 1 ] || fail "setup as a user without sudo exited $status"
[ ! -f "$work/apt.log" ] || fail "setup as a user without sudo ran apt-get"
grep -q 'needs root' "$work/out" || fail "setup without sudo did not say it needs root: $(cat "$work/out")"
grep -q 'qt6-base-dev' "$work/out" || fail "setup without sudo did not name the packages"

# All there: quick, quiet, no apt-get, even for a user without sudo.
printf '%s\n' cmake ninja-build g++ pkg-config ccache qt6-base-dev libgl-dev \
  libcurl4-openssl-dev nlohmann-json3-dev qt6-image-formats-plugins fonts-dejavu-core \
  fonts-dancingscript fonts-liberation python3-pyftpdlib >"$work/installed"
status="$(run_setup 1000 no run)"
[ "$status" = 0 ] || fail "setup run with everything installed exited $status: $(cat "$work/out")"
[ ! -f "$work/apt.log" ] || fail "setup run with everything installed ran apt-get"
[ ! -s "$work/out" ] || fail "setup run with everything installed printed: $(cat "$work/out")"

# A mode it does not know is a usage error.
status="$(run_setup 0 no tests)"
[ "$status" = 2 ] || fail "setup tests (a typo) exited $status"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "setup: all checks passed"
