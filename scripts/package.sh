#!/usr/bin/env bash
# Builds txtppt2's packages into dist/:
#
#   scripts/package.sh deb     # the Debian binary packages (debian/) into
#                              # dist/, their debug symbols into dist/debug/;
#                              # then lintian on them, where it is installed
#   scripts/package.sh wheel   # a Python wheel for Debian's python3 (pip wheel .)
#
# Like the other scripts it first checks the Debian packages it needs
# (scripts/install-deps.sh package or python): as root it installs the
# missing ones, otherwise it prints the command that does and stops.
#
# The Debian build runs in a copy of the source tree (dist/deb-build/), so
# that neither the tree nor the folder above it gets the build's files. The
# package build's own tests run there too; the tests of the shared corpus
# skip in it (it is not beside the copy).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
export LC_ALL=C.UTF-8
unset LANGUAGE

deb() {
  scripts/install-deps.sh package
  local version work source
  version=$(dpkg-parsechangelog -S Version)
  work=dist/deb-build
  source=$work/txtppt2-$version
  rm -rf "$work"
  mkdir -p "$source"
  # The tracked sources where there is git, else the tree without builds.
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
      tar --null -T - -cf - | tar -xf - -C "$source"
  else
    tar --exclude='./build*' --exclude=./dist --exclude=./.git -cf - . |
      tar -xf - -C "$source"
  fi
  echo "package.sh: building the Debian packages in $source" \
    "(build log: $work/build.log)" >&2
  (cd "$source" && env -u CI DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
    dpkg-buildpackage -b -us -uc) >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; exit 1; }
  # lintian's errors fail the script, once the packages are in dist/.
  local lintian_status=0
  if command -v lintian >/dev/null; then
    echo "package.sh: lintian (errors, warnings, information, pedantic)" >&2
    lintian --display-info --pedantic "$work"/*.changes || lintian_status=$?
  fi
  # The packages in dist/, their debug symbols in dist/debug/: so that
  # apt-get install ./dist/*.deb installs the four packages alone.
  rm -rf dist/*.deb dist/debug
  mkdir -p dist/debug
  mv "$work"/*-dbgsym_*.deb dist/debug/
  mv "$work"/*.deb dist/
  ls -l dist/*.deb
  return "$lintian_status"
}

# The wheel is built by the pip of a scratch virtual environment (Debian's
# python3 has no pip of its own without python3-pip), offline.
wheel() {
  scripts/install-deps.sh python
  local env=dist/wheel-env
  rm -rf "$env"
  /usr/bin/python3 -m venv "$env"
  "$env/bin/pip" wheel --no-index --no-deps -w dist .
  rm -rf "$env"
  ls -l dist/*.whl
}

case ${1:-} in
  deb) deb ;;
  wheel) wheel ;;
  *)
    echo "usage: $0 deb|wheel" >&2
    exit 2
    ;;
esac
