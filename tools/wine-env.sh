# Sourced by the Wine tools (wine-run, wine-prefix, test): where wine and
# wineserver are, and what the wineserver of a prefix is doing.

# QM_WINE_BIN and QM_WINESERVER_BIN replace them, for the tools' own tests.
wine_bin=$(command -v wine64 || command -v wine || true)
[[ -x /usr/lib/wine/wine64 ]] && wine_bin=/usr/lib/wine/wine64
wine_bin=${QM_WINE_BIN:-$wine_bin}
wineserver_bin=${QM_WINESERVER_BIN:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

# The folder that holds the socket and lock of the wineserver of prefix $1.
# Wine names it for the prefix's device and inode, under /tmp/.wine-UID;
# Debian's Wine puts it under the /tmp folder named in $1/wineserver instead.
wine_server_dir() {
  local dev ino base
  read -r dev ino < <(stat -c '%D %i' "$1" 2>/dev/null) || return 1
  base=/tmp/.wine-$(id -u)
  [[ -s $1/wineserver ]] && base=/tmp/$(<"$1/wineserver")
  printf '%s/server-%s-%x\n' "$base" "$dev" "$ino"
}

# The process id of the wineserver of prefix $1, or nothing: the server keeps
# a write lock on its lock file for as long as it runs.
wine_server_pid() {
  local dir ino
  dir=$(wine_server_dir "$1") || return 0
  ino=$(stat -c %i "$dir/lock" 2>/dev/null) || return 0
  awk -v ino="$ino" '{ n = split($6, id, ":"); if (id[n] == ino) { print $5; exit } }' /proc/locks
}

# One line about the wineserver of prefix $1: its process and how long it
# stays once its last program has ended.
wine_server_state() {
  local pid args stay
  pid=$(wine_server_pid "$1")
  if [[ -z $pid ]]; then
    echo "no wineserver running"
    return
  fi
  # The last -p option counts; Debian's wrapper puts -p0 before the caller's.
  stay="3 s after its last program (Wine's default)"
  args=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)
  for arg in $args; do
    case $arg in
      -p) stay="persistent" ;;
      -p[0-9]*) stay="${arg#-p} s after its last program" ;;
    esac
  done
  echo "wineserver $pid running, $stay"
}
