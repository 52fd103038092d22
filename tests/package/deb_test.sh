#!/usr/bin/env bash
# The Debian package as a player gets it: builds it with scripts/package, unpacks it
# with dpkg-deb into a temporary root, checks what it holds, then starts the unpacked
# game headless for a few frames, and has the unpacked game write a booklet. The game must find its data under the unpacked
# usr/share and, its own folder not being writable, keep its log and its saved game
# in the per-user folder under a temporary XDG_DATA_HOME. The temporary root is removed at the end.
# The exit status is the result.
set -euo pipefail
cd "$(dirname "$0")/../.."

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

deb="$(./scripts/package | tail -n 1)"
tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
root="$tmp/root"
dpkg-deb -x "$deb" "$root"

# --- What the package holds ---------------------------------------------------
game="$root/usr/games/veltrane-sudoku"
[ -x "$game" ] || fail "no executable usr/games/veltrane-sudoku"
expected=(
  usr/share/applications/org.quorvel.VeltraneSudoku.desktop
  usr/share/metainfo/org.quorvel.VeltraneSudoku.metainfo.xml
  usr/share/icons/hicolor/16x16/apps/org.quorvel.VeltraneSudoku.png
  usr/share/icons/hicolor/32x32/apps/org.quorvel.VeltraneSudoku.png
  usr/share/icons/hicolor/64x64/apps/org.quorvel.VeltraneSudoku.png
  usr/share/icons/hicolor/128x128/apps/org.quorvel.VeltraneSudoku.png
  usr/share/man/man6/veltrane-sudoku.6.gz
  usr/share/doc/veltrane-sudoku/copyright
  usr/share/doc/veltrane-sudoku/changelog.gz
  usr/share/doc/veltrane-sudoku/README.md
  usr/share/doc/veltrane-sudoku/FONT-LICENSE.txt
)
for file in data/*; do  # every data file of the game but the icons
  case "$(basename "$file")" in icon*.png) ;; *) expected+=("usr/share/veltrane-sudoku/$(basename "$file")") ;; esac
done
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "missing $file"
done
for file in usr/share/man/man6/veltrane-sudoku.6.gz usr/share/doc/veltrane-sudoku/changelog.gz; do
  gzip -t "$root/$file" 2>/dev/null || fail "$file is not gzip-compressed"
done
head -n 1 "$root/usr/share/doc/veltrane-sudoku/copyright" |
  grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in the machine-readable format"
grep -q '^License: bitstream-vera' "$root/usr/share/doc/veltrane-sudoku/copyright" ||
  fail "copyright does not name the font's licence"
# Everything under /usr, owned by root, 0755 for folders and the executable, 0644 else.
while read -r mode owner _ _ _ path _; do
  case "$path" in ./usr/*) ;; *) fail "$path lies outside /usr" ;; esac
  [ "$owner" = root/root ] || fail "$path is owned by $owner"
  case "$mode:$path" in
    drwxr-xr-x:* | -rwxr-xr-x:./usr/games/veltrane-sudoku | -rw-r--r--:*) ;;
    *) fail "$path has mode $mode" ;;
  esac
done < <(dpkg-deb -c "$deb")
readelf -S "$game" | grep -q '\.symtab' && fail "the executable is not stripped"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-2\.0-0' || fail "Depends lacks the SDL2 library"
dpkg-deb -f "$deb" Depends | grep -q 'libcairo2' || fail "Depends lacks the Cairo library"
dpkg-deb -f "$deb" Depends | grep -q 'libdbus-1-3' || fail "Depends lacks the D-Bus library"
version="$(dpkg-deb -f "$deb" Version)"
[ "$("$game" --version)" = "veltrane-sudoku $version" ] || fail "--version does not print $version"

# --- The unpacked game writes a booklet, without a window ------------------------
"$game" --booklet "$tmp/booklet.pdf" --count 3 --level medium > /dev/null || fail "--booklet failed"
pdfinfo "$tmp/booklet.pdf" | grep -q '^Pages: *4$' || fail "the booklet of 3 puzzles has not 4 pages"

# --- The unpacked game runs, finds its data and saves per user ----------------
# Root may write anywhere, so as root the game runs as the unprivileged "nobody";
# otherwise the unpacked program folder is made read-only like an installed one.
home="$tmp/home"
saves="$home/data/veltrane-sudoku"
mkdir -p "$saves" "$tmp/run"
# An unfinished game written with LF line ends: the game's own save writes CR LF.
{
  echo 16
  for grid in values givens; do
    for row in $(seq 16); do
      line=""
      for column in $(seq 16); do
        if [ "$row$column" = 11 ]; then line+=" 5"
        elif [ "$grid$row$column" = values47 ]; then line+=" 12"
        else line+=" 0"; fi
      done
      echo "$line"
    done
  done
} > "$saves/game.save"
seeded="$(cat "$saves/game.save")"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$home" "$tmp/run"
  run_as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$root/usr/games"
fi
# timeout passes SIGTERM on to the game and ends a game that hangs. --foreground: without
# it timeout sends the signal to the game and again to its process group, and the game
# treats a second stop signal as "stop now, without saving".
(
  cd "$home"  # not beside any data files
  exec timeout --foreground -s KILL 40 "${run_as[@]}" env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$tmp/run" "$game" 2> "$tmp/stderr"
) &
pid=$!
for _ in $(seq 750); do  # the log appears on start-up; up to 15 s
  [ -f "$saves/gk_sudoku.log" ] && break
  sleep 0.02
done
[ -f "$saves/gk_sudoku.log" ] || fail "the game wrote no log in $saves"
# The game (timeout's child) catches SIGTERM once its frame loop is about to run; a
# signal before that would end it outright, so wait for the handler (up to 30 s).
catches_term() {
  local child mask
  child=$(cat "/proc/$pid/task/$pid/children" 2> /dev/null) || return 1
  child=${child%% *}
  [ -n "$child" ] || return 1
  mask=$(sed -n 's/^SigCgt:[[:space:]]*//p' "/proc/$child/status" 2> /dev/null)
  [ -n "$mask" ] && (( (16#$mask >> 14) & 1 ))
}
for _ in $(seq 1500); do
  catches_term && break
  sleep 0.02
done
sleep 0.3  # a few frames
kill -TERM "$pid" 2> /dev/null || fail "the game ended before SIGTERM: $(cat "$tmp/stderr")"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status: $(cat "$tmp/stderr")"
grep -q "Can't load" "$tmp/stderr" && fail "the game did not find its data: $(cat "$tmp/stderr")"
# It only looked (the main menu): the saved game it found stays byte for byte.
[ "$(cat "$saves/game.save")" = "$seeded" ] || fail "the saved game in $saves changed"
grep -q $'\r' "$saves/game.save" && fail "a copy without changes of its own wrote its saved game"
for file in game.save gk_sudoku.log; do
  [ -e "$root/usr/games/$file" ] && fail "the game wrote $file into its program folder"
done

if [ "$failures" -ne 0 ]; then
  echo "deb_test: $failures failure(s)" >&2
  exit 1
fi
echo "deb_test: $deb passed"
