#!/usr/bin/env bash
# Proves the packages and the Quick start on bare Debian 12 roots, as root,
# with mmdebstrap (slow: a few minutes per root and a mirror; not for CI).
#
#   tools/bare_root_proof.sh build BUILD_ROOT      # in one fresh root
#   tools/bare_root_proof.sh install INSTALL_ROOT  # in another, after build
#
# build: copies the tracked sources to BUILD_ROOT/src; as nobody,
# scripts/txtppt2.sh must stop and print the apt-get command; as root it
# must print the sample's text; then scripts/package.sh deb, and, with the
# network cut off, `python3 -m venv env && env/bin/pip install .`, the
# module's import, version, `python3 -m txtppt2`, `pip uninstall` and
# `pip wheel .`. The packages are copied to dist/ beside this tree.
# install: `apt-get install ./dist/*.deb` in INSTALL_ROOT, then the command,
# `man txtppt2`, `import txtppt2` under /usr/bin/python3, a C program built
# with pkg-config, and `apt-get remove`, which must leave nothing behind.
# A root is made with: mmdebstrap --variant=apt bookworm ROOT
set -euo pipefail
project="$(cd "$(dirname "$0")/.." && pwd)"
mode=$1 root=$2

in_root() {
  env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin chroot "$root" "$@"
}
step() { printf '\n== %s\n' "$*"; }

mount_root() {
  mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
  mountpoint -q "$root/dev/pts" ||
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  trap 'umount "$root/dev/pts" "$root/proc"' EXIT
}

build() {
  mount_root
  rm -rf "$root/src"
  mkdir -p "$root/src"
  git -C "$project" ls-files -z | (cd "$project" && tar --null -T - -cf -) |
    tar -xf - -C "$root/src"

  step "as nobody: scripts/txtppt2.sh examples/sample.ppt (no packages yet)"
  local status=0
  env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin chroot --userspec=65534:65534 \
    "$root" /bin/bash -c 'cd /src && scripts/txtppt2.sh examples/sample.ppt' ||
    status=$?
  echo "exit status $status (1 expected)"
  ((status == 1))

  step "as root: scripts/txtppt2.sh examples/sample.ppt"
  in_root /bin/bash -c 'cd /src && scripts/txtppt2.sh examples/sample.ppt' |
    tee >(cat >&2) | cmp - "$project/examples/sample.expected.txt"
  echo "the text is examples/sample.expected.txt"

  step "as root: scripts/package.sh deb"
  in_root /bin/bash -c 'cd /src && scripts/package.sh deb'
  rm -rf "$project/dist/bare-root"
  mkdir -p "$project/dist/bare-root"
  cp "$root"/src/dist/*.deb "$project/dist/bare-root/"

  step "offline: python3 -m venv env && env/bin/pip install . (and pip wheel .)"
  in_root /bin/bash -c 'cd /src && scripts/install-deps.sh python'
  unshare -n env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin chroot "$root" \
    /bin/bash -ec '
      cd /src && rm -rf /tmp/env /tmp/wheels && python3 -m venv /tmp/env
      /tmp/env/bin/pip install --no-index . 2>&1 | tail -n 2
      cd /tmp
      /tmp/env/bin/python -c "import importlib.metadata as m, txtppt2
print(txtppt2.__file__, m.version(\"txtppt2\"))"
      /tmp/env/bin/python -m txtppt2 /src/examples/sample.ppt |
        cmp - /src/examples/sample.expected.txt && echo "python3 -m txtppt2: the sample text"
      /tmp/env/bin/pip uninstall -y txtppt2 | tail -n 1
      ! /tmp/env/bin/python -c "import txtppt2" 2>/dev/null && echo "uninstalled: no module"
      cd /src && /tmp/env/bin/pip wheel --no-index --no-deps -w /tmp/wheels . 2>&1 | tail -n 1
      ls /tmp/wheels'
}

install() {
  mount_root
  rm -rf "$root/work"
  mkdir -p "$root/work/dist"
  cp "$project"/dist/bare-root/*.deb "$root/work/dist/"
  cp "$project/examples/sample.ppt" "$project/examples/sample.expected.txt" \
    "$project/tests/install/consumer.c" "$root/work/"

  step "apt-get install ./dist/*.deb (and man-db, gcc, pkg-config)"
  in_root apt-get -q update >/dev/null
  in_root /bin/bash -c 'cd /work && DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends ./dist/*.deb man-db gcc libc6-dev pkg-config' |
    grep -E '^(Setting up|Unpacking) .*txtppt2|newly installed'

  step "the command, the manual pages, Python, a C program"
  in_root /bin/bash -ec '
    cd /work
    txtppt2 sample.ppt | cmp - sample.expected.txt && echo "txtppt2: the sample text"
    txtppt2 --version | head -n 1
    MANWIDTH=72 man txtppt2 2>&1 | head -n 12
    MANWIDTH=72 man 3 libtxtppt2 2>&1 | sed -n "/^SYNOPSIS/,+3p"
    /usr/bin/python3 -c "import txtppt2, sys
sys.stdout.write(txtppt2.extract_text(\"sample.ppt\"))" | cmp - sample.expected.txt &&
      echo "python3: import txtppt2, the sample text"
    cc consumer.c $(pkg-config --cflags --libs txtppt2) -o consumer
    ./consumer sample.ppt | cmp - <(txtppt2 --encoding cp1252 sample.ppt) &&
      echo "C program (pkg-config --cflags --libs txtppt2): the sample text"'

  step "apt-get remove"
  in_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q \
    txtppt2 python3-txtppt2 libtxtppt2-dev libtxtppt2-2 | grep -E '^Removing|removed'
  in_root /bin/bash -c '
    left=$(dpkg -l "*txtppt2*" 2>/dev/null | grep "^[ir]" || true)
    files=$(ls /usr/bin/txtppt2 /usr/lib/x86_64-linux-gnu/libtxtppt2* \
      /usr/include/txtppt2.h /usr/lib/python3/dist-packages/txtppt2 \
      /usr/share/man/man1/txtppt2.1.gz 2>/dev/null || true)
    if [[ -z $left && -z $files ]]; then echo "nothing of txtppt2 is left"
    else echo "LEFT: $left $files"; exit 1; fi'
}

case $mode in
  build) build ;;
  install) install ;;
  *) echo "usage: $0 build|install ROOT" >&2; exit 2 ;;
esac
