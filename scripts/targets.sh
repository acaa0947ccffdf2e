# The two build targets, each named as its preset and built in build/<target>, and which of
# them this machine can run. Sourced by the scripts. ZORV_TARGETS (i686, x64 or both,
# blank-separated) forces the choice; by default x64 always runs, and i686 runs where the
# machine can run 32-bit programs.

zorv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

target_dir() { echo "build/$1"; }

# Runs a command in the Wine environment of a build folder (the variables of its wine-env.sh,
# WINE the loader), in its private prefix, made first; gives the command's status. A Wine server
# left from a command without this display, which would open no windows, is stopped first. The
# server and Wine's services start before the command, so that they do not inherit its output
# and keep whoever reads it waiting; the server is stopped after.
in_wine() {
  local dir=$1
  shift
  (
    source "$dir/wine-env.sh"
    bash "$zorv_root/tests/support/make-prefix.sh" "$dir/wine-env.sh"
    wineserver -k 2>/dev/null && wineserver -w
    wineserver -p || true
    "$WINE" wineboot >/dev/null 2>&1
    status=0
    "$@" || status=$?
    wineserver -k || true
    exit $status
  )
}

# Why the i686 build cannot run here; nothing when it can. Asks the 32-bit Wine loader itself,
# since some x86-64 kernels run 64-bit programs only.
i686_unavailable() {
  local loader=/usr/lib/wine/wine said
  if [ ! -e "$loader" ]; then
    echo "the 32-bit Wine loader $loader is not installed"
  elif ! said=$("$loader" --version 2>&1); then
    echo "this machine cannot run 32-bit programs ($loader --version: ${said##*: })"
  fi
}

# Installs what the build needs, then chooses the targets.
set_up() {
  bash "$zorv_root/scripts/install-deps.sh"
  choose_targets
}

# Sets run_targets to the targets whose programs run here, and i686_skipped to the reason
# when i686 is not among them; fails when a forced target cannot run.
choose_targets() {
  local why
  why=$(i686_unavailable)
  i686_skipped=""
  case " ${ZORV_TARGETS:-auto} " in
    " auto ")
      run_targets="x64"
      if [ -z "$why" ]; then run_targets="x64 i686"; else i686_skipped=$why; fi
      ;;
    *" i686 "*)
      if [ -n "$why" ]; then
        echo "ZORV_TARGETS asks for i686, but $why." >&2
        return 1
      fi
      run_targets=$ZORV_TARGETS
      ;;
    *)
      run_targets=$ZORV_TARGETS
      i686_skipped="ZORV_TARGETS=$ZORV_TARGETS leaves it out"
      ;;
  esac
  local target
  for target in $run_targets; do
    if [ "$target" != i686 ] && [ "$target" != x64 ]; then
      echo "ZORV_TARGETS: unknown target $target (i686 or x64)" >&2
      return 1
    fi
  done
}
