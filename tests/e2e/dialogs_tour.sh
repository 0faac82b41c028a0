#!/usr/bin/env bash
# Each dialog of the window tools on the real program: quillmar.exe captures
# the fixture's disabled button by dragging, then every dialog command is
# posted in turn; each dialog must show under its caption and close again on
# Escape. With QM_E2E_SHOTS set, a screenshot of each is written there (the
# README's pictures).
# Usage: dialogs_tour.sh quillmar.exe fixture_dialog.exe tree_reader.exe source-dir
set -u
quillmar=$1 fixture=$2 reader=$3 src=$4
source "$src/tests/e2e/session.sh"
shots=${QM_E2E_SHOTS:-$work}

start_with_fixture || exit 1
run "$reader" command 5001 || { echo "could not post 5001"; exit 1; }
sleep 1
press_and_release "$x" "$y"
root_until "$(printf 'HWND: [0x%08x]' "$button")" || { echo "the capture failed: $root_text"; exit 1; }

# Waits up to ten seconds for a visible window whose title is $1; sets id.
window_until() {  # title
  id=""
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [[ -n $id ]] && return 0
    sleep 0.2
  done
  return 1
}

# Answers the open-file dialog a command shows as a person would: types the
# path into its name box and presses Enter.
choose_file() {  # command windows-path
  local id=""
  window_until "Open" || { echo "$1: no open-file dialog"; return 1; }
  sleep 0.5
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool type --delay 20 "$2"
  xdotool key --clearmodifiers Return
}

# Opens a dialog by its command (through the open-file dialog when a path is
# given), waits for its caption, takes its picture and closes it with
# Escape; fails when it never shows or does not close.
tour() {  # command caption picture [windows-path [keys]]
  local id=""
  run "$reader" command "$1" || { echo "could not post $1"; return 1; }
  if [[ -n ${4:-} ]]; then choose_file "$1" "$4" || return 1; fi
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -n 1)
    [[ -n $id ]] && break
    sleep 0.2
  done
  [[ -n $id ]] || { echo "$1: no window \"$2\""; return 1; }
  sleep 1
  # Keys pressed in the dialog first (moving through a tree, say).
  if [[ -n ${5:-} ]]; then
    xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
    # shellcheck disable=SC2086 # one word per key
    xdotool key --clearmodifiers --delay 150 $5
    sleep 1
  fi
  # The open-file dialog leaves its pixels on the bare root window (there is
  # no window manager to repaint it), so those pictures show the dialog alone.
  if [[ -n ${4:-} ]]; then import -window "$id" "$shots/$3.png"; else import -window root "$shots/$3.png"; fi
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key --clearmodifiers Escape
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 || { echo "$1: \"$2\" shown and closed"; return 0; }
    sleep 0.2
  done
  echo "$1: \"$2\" did not close"
  return 1
}

status=0
tour 57664 "Acerca de Quillmar" about || status=1
tour 5007 "Modificación de estilos" styles || status=1
tour 5008 "Modificación de estilos" extended_styles || status=1
tour 5009 "Modificación de estilos" class_styles || status=1
tour 5014 "Propiedades de la ventana" window_properties || status=1
# The fixture's modules and their version data, read while the dialog opens.
tour 5011 "Información sobre un proceso" process_info || status=1
# A module file chosen through the open-file dialog: the fixture itself.
tour 30068 "Información sobre un módulo" module_info "Z:${fixture//\//\\}" || status=1
tour 5002 "Lista de ventanas en el sistema" window_list || status=1
tour 5003 "Procesos en ejecución en el sistema" processes_list || status=1
tour 5004 "Procesos en ejecución en el sistema" processes_tree || status=1
# The fixture's own window and its two buttons.
run "$reader" command 5026
sleep 1
tour 5010 "Árbol de ventanas hijas" child_windows || status=1
# The menu editor on the fixture window. Wine reads no menu of another
# process (its menu bar answers ERROR_INVALID_MENU_HANDLE), so the editor
# says so over its empty tree; the message and then the editor must close.
menu_editor() {
  local id=""
  run "$reader" command 5012 || { echo "could not post 5012"; return 1; }
  window_until "Modificación del menú de una ventana" || { echo "5012: no menu editor"; return 1; }
  sleep 1.5
  import -window root "$shots/window_menu.png"
  # The message box ("Quillmar") takes Enter once it has the focus; there is
  # no window manager to give it.
  local message
  message=$(xdotool search --onlyvisible --name "^Quillmar\$" 2>/dev/null | head -n 1)
  [[ -n $message ]] || { echo "5012: no message for the unreadable menu"; return 1; }
  xdotool windowfocus --sync "$message" 2>/dev/null
  xdotool key --clearmodifiers Return
  for _ in $(seq 25); do
    xdotool search --onlyvisible --name "^Quillmar\$" >/dev/null 2>&1 || break
    sleep 0.2
  done
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key --clearmodifiers Escape
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^Modificación del menú de una ventana\$" >/dev/null 2>&1 ||
      { echo "5012: the menu editor shown and closed"; return 0; }
    sleep 0.2
  done
  echo "5012: the menu editor did not close"
  return 1
}
menu_editor || status=1
# The class icons: Wine answers GetClassLongPtr(GCL_HICON) with 0 for
# another process's window, so the capture moves from the fixture's window
# along the Z order to Quillmar's own frame, whose class carries the
# program's icons.
if run "$reader" capture-frame; then
  tour 5013 "Iconos de la WNDCLASS" class_icons || status=1
else
  echo "5013: the capture never reached Quillmar's frame"
  status=1
fi
# Modules chosen through the open-file dialog: a Wine DLL's headers, Wine's
# shell32 in the resource browser, and the fixtures' pages (the keys walk
# the tree from its root).
windows_path() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
fixtures=$(dirname "$fixture")/../../fixtures/x86_64
tour 30069 "Cabeceras de un módulo" module_headers "$(windows_path "$wine_dlls/comctl32.dll")" || status=1
tour 5030 "Recursos de un módulo" resources_shell32 "$(windows_path "$wine_dlls/shell32.dll")" || status=1
tour 5030 "Recursos de un módulo" resources_hex "$(windows_path "$fixtures/resources.dll")" "Down Down Right Down" || status=1
tour 5030 "Recursos de un módulo" resources_strings "$(windows_path "$fixtures/resources.dll")" "Down Down Down Down" || status=1
tour 5030 "Recursos de un módulo" resources_menu "$(windows_path "$fixtures/resources.dll")" "Down Down Down Right Down Down" || status=1
tour 5030 "Recursos de un módulo" resources_version "$(windows_path "$fixtures/version_two.exe")" "Down Right Down" || status=1
# The image page: the 640 x 480 bitmap (typed "640" finds it), a cursor
# image, and the picture of a dialog made from its template.
tour 5030 "Recursos de un módulo" resources_bitmap "$(windows_path "$fixtures/images.dll")" "Down Down Right 6 4 0" || status=1
tour 5030 "Recursos de un módulo" resources_cursor "$(windows_path "$fixtures/images.dll")" "Down Right Down" || status=1
tour 5030 "Recursos de un módulo" resources_dialog "$(windows_path "$fixtures/images.dll")" "Down Down Down Down Down Right Down Down" || status=1
tour 5030 "Recursos de un módulo" resources_icon_groups "$(windows_path "$fixtures/images.dll")" "Down Down Down Down Down Down Down" || status=1
exit $status
