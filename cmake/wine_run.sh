#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, creating the prefix on first use.
#
#   wine_run.sh WINE PREFIX PROGRAM [ARGUMENTS...]
#
# Nothing of the user's own Wine setup is read or changed. Several tests may start at once:
# the first creates the prefix while the others wait for it.
set -u
if [[ $# -lt 3 ]]; then
  echo "usage: $0 WINE PREFIX PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi
wine=$1 prefix=$2
shift 2
export WINEPREFIX=$prefix WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the programs here need neither.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
if [[ ! -f $prefix/.numvex-ready ]]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [[ ! -f $prefix/.numvex-ready ]]; then
    "$wine" wineboot -i >/dev/null 2>&1 || { echo "wineboot -i failed in $prefix" >&2; exit 2; }
    # Windows without an X server: the null display driver still keeps windows and their
    # messages, which is all the tests ask of it.
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    # wineboot returns before the registry is written out; the server's end waits for it.
    WINEPREFIX=$prefix "$(dirname "$wine")/wineserver" -w 2>/dev/null || true
    touch "$prefix/.numvex-ready"
  fi
  exec 9>&-
fi
exec "$wine" "$@"
