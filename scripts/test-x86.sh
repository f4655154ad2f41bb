#!/usr/bin/env bash
# The 32-bit builds and their tests:
#   1. txtppt2.dll for 32-bit Windows, cross-built with MinGW-w64 (the
#      "windows-x86" preset, into build-windows-x86/): its export and import
#      tables are checked, and the Windows tests run under 32-bit Wine where
#      this machine can run 32-bit Windows programs (Debian's wine32, of the
#      i386 architecture). Where it cannot, the script says why and skips
#      that stage; the table check still runs.
#   2. The library, the command and the whole test suite as 32-bit Linux
#      programs (-m32, the "linux-x86" preset, into build-x86/), under
#      AddressSanitizer and UndefinedBehaviorSanitizer, GoogleTest built from
#      its sources for the target.
#
# Run as root on a fresh Debian machine, it first installs what is missing
# (scripts/install-deps.sh x86) and makes one attempt to install wine32,
# undone when it fails; otherwise it names what to install and fails.
#
# The corpus tests skip outside CI and fail in CI (CI=true) when
# ../shared/corpus is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
phase() { echo "== $* [$((SECONDS - started)) s]"; }
jobs=$(nproc)

phase "checking the multilib and MinGW-w64 i686 packages"
scripts/install-deps.sh x86

phase "cross-building the 32-bit txtppt2.dll and its tests (build-windows-x86)"
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j "$jobs"

# Whether wine32:i386 is installed; as root, one attempt to install it,
# leaving the machine as it was when the attempt fails. Sets wine32_problem
# to the reason when there is no 32-bit Wine.
wine32_problem=""
wine32_log=$PWD/build-windows-x86/wine32-install.log
wine32_installed() {
  [[ $(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null) == "install ok installed" ]]
}
try_to_install_wine32() {
  local added=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    added=1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # The update may fail on the i386 indexes alone; the install decides.
  apt-get -o DPkg::Lock::Timeout=600 update -qq >"$wine32_log" 2>&1 || true
  if apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends \
       wine32:i386 >>"$wine32_log" 2>&1; then
    return 0
  fi
  if ((added)) && ! dpkg -l | awk '$4 == "i386"' | grep -q .; then
    dpkg --remove-architecture i386
    apt-get -o DPkg::Lock::Timeout=600 update -qq >>"$wine32_log" 2>&1 || true
  fi
  return 1
}
if ! wine32_installed; then
  if [[ $(id -u) -ne 0 ]]; then
    wine32_problem="wine32:i386 is not installed (and this script is not root, so it did not try)"
  else
    phase "trying to install 32-bit Wine (wine32:i386)"
    if ! try_to_install_wine32; then
      # apt's last word, and the first dependency it could not meet.
      reason=$(grep -E '^E: ' "$wine32_log" | tail -n 1 | sed 's/^E: //; s/\.$//' || true)
      example=$(grep -m1 -E 'Depends: .* but .* installed' "$wine32_log" | sed 's/^ *//' || true)
      wine32_problem="wine32:i386 cannot be installed from this machine's Debian mirror (apt-get: ${reason:-failed}${example:+; e.g. $example}); see $wine32_log"
    fi
  fi
fi

status=0
if [[ -z $wine32_problem ]]; then
  phase "32-bit Windows tests under Wine"
  # The test programs make their Wine prefix (build-windows-x86/wineprefix)
  # on first use.
  ctest --preset windows-x86 -j "$jobs" || status=$?
  x86_windows_note="the 32-bit DLL ran under 32-bit Wine: unit tests, corpus host test, tables"
else
  phase "32-bit DLL tables only"
  ctest --preset windows-x86 -R '^windows\.dll_tables$' || status=$?
  echo "SKIPPED: the 32-bit Windows tests under Wine. $wine32_problem."
  x86_windows_note="the 32-bit DLL's tables were checked; it did NOT run under Wine: $wine32_problem"
fi

phase "32-bit Linux build (-m32) and the whole test suite (build-x86)"
cmake --preset linux-x86 >/dev/null
cmake --build --preset linux-x86 -j "$jobs"
ctest --preset linux-x86 -j "$jobs" || status=$?

echo "scripts/test-x86.sh took $((SECONDS - started)) s; $x86_windows_note"
exit "$status"
